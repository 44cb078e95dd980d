// After an object's restore: the loaded objects that the restore put back into the directory are
// drawn present from then on (the object itself, parents added on the way, objects of its
// subtree), so that the tree shows what the directory now holds.
#pragma once

#include <cstdint>
#include <optional>

#include "server/RestoreReport.h"

class ObjectItem;

class WrittenObjects
{
  public:
    // status: the restore's status (0 = the object is in the directory now); written: what the
    // server says the restore wrote, nothing when it does not say. withSubtree: the object was
    // restored with its subtree.
    static void ShowPresent(ObjectItem &object, int32_t status,
                            const std::optional<RestoreReport> &written, bool withSubtree);

  private:
    // The server named what it added: those of the loaded objects, and the object when it is
    // back, are present.
    static void ShowReported(ObjectItem &object, int32_t status, const RestoreReport &written);
    // The server did not say: an object restored without error is present, and so is every
    // loaded object below it when it was restored with its subtree.
    static void ShowRestored(ObjectItem &object, int32_t status, bool withSubtree);
};
