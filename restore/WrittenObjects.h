// After an object's restore: the loaded objects that the restore put back into the directory are
// drawn present from then on (the object itself, parents added on the way, objects of its
// subtree), so that the tree shows what the directory now holds.
#pragma once

#include <cstdint>

#include "server/RestoreReport.h"

class ObjectItem;

class WrittenObjects
{
  public:
    // status: the restore's status (0 = the object is in the directory now).
    static void ShowPresent(ObjectItem &object, int32_t status, const RestoreReport &written);
};
