// One row of the history view: a backed-up version of an object, shown as its local date and
// time. The history view makes the ticked row's time the object's chosen version.
#pragma once

#include "model/DisplayItem.h"
#include "model/NodeRef.h"
#include "server/ServerRecords.h"

class ObjectItem;

class VersionItem : public DisplayItem
{
  public:
    // The row keeps its owner's node alive: the history view may go on showing the versions of
    // an object whose container was closed.
    VersionItem(ObjectItem &owner, BackupTime time);

    std::string Text() const override;

    ObjectItem &Owner() const { return *owner_; }
    BackupTime Time() const { return time_; }

  private:
    ObjectItem *owner_;
    NodeRef ownerNode_;
    BackupTime time_;
};
