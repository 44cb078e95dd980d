// Which rows of a change report a restore takes, and how, at the earlier point's version: a
// deleted object is put back (a container alone when the deleted objects below it are rows too,
// else with its subtree, which a restore takes at its most recent version); a modified one gets
// its earlier attributes back (a container alone, its children being rows of their own); a moved or
// renamed one comes back under its old name, alone, only where no object holds that name now; an
// added one is listed for information only, since a restore never deletes.
#pragma once

#include <string>
#include <vector>

#include "server/ObjectChange.h"

struct ChangeMark {
    std::string object;   // the full name to restore
    bool subtree = false; // a container with everything below it, at its most recent version
    const ObjectChange *row = nullptr;
    // ### Marks that carry a set of attributes are not there yet: a modified object is marked
    // whole, where its changed attributes (row->attributes) would be the set.
};

struct UnmarkedChange {
    const ObjectChange *row = nullptr;
    std::string reason;
};

class ChangeMarks
{
  public:
    static constexpr const char *kAddedOnly =
        "Added since: listed for information only, a restore deletes nothing.";
    static constexpr const char *kOldNameTaken =
        "Its old name is held by another object now: it cannot be restored there.";

    // The marks for these rows, in their order; the rows that give none go to `unmarked`.
    static std::vector<ChangeMark> Of(const std::vector<const ObjectChange *> &rows,
                                      std::vector<UnmarkedChange> &unmarked);
    // A mark as a line of an object list: OBJECT@VERSION, OBJECT/@VERSION for a container alone,
    // OBJECT alone for a subtree (at its most recent version).
    static std::string ObjectLine(const ChangeMark &mark, const std::string &version);
};
