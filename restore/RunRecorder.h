// Keeps the record of the restore run under way: who ran it where and how, and each object's
// outcome as the run records it, with the whole name and message (the result list's own fields
// hold 255 characters).
#pragma once

#include <cstdint>
#include <string>

#include "report/RunReport.h"

class ObjectItem;

class RunRecorder
{
  public:
    // Starts a new record now.
    void Begin(std::string server, std::string user, OnErrorMode mode);
    // The object's outcome; its version and scope are read from the item, which must not have
    // been unmarked yet.
    void Record(const ObjectItem &item, int32_t status, const std::string &message,
                const std::string &note);
    // A parent the restore of `object` added on the way: at the object's version, alone.
    void RecordParentAdded(const std::string &name, const ObjectItem &object,
                           const std::string &note);
    // The run ends now; only the first call counts (a run that ended at a failure stays ended
    // there).
    void End(bool ranToEnd);

    const RunReport &Report() const { return report_; }

  private:
    RunReport report_;
    bool ended_ = false;
};
