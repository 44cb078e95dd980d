// Keeps the record of the restore run under way: who ran it where and how, and each object's
// outcome as the run order meets it, with the whole name and message (the result list's own
// fields hold 255 characters).
#pragma once

#include <cstdint>
#include <string>

#include "model/RestoreSelection.h"
#include "report/RunReport.h"

class RunRecorder
{
  public:
    // Starts a new record now.
    void Begin(std::string server, std::string user, OnErrorMode mode);
    // The outcome of a step of the run: its object, the mark it was restored by and the version
    // asked for.
    void Record(const RestoreSelection::RunOrder::Step &step, int32_t status,
                const std::string &message, const std::string &note);
    // A parent the restore of `step`'s object added on the way: at that object's version, alone.
    void RecordParentAdded(const std::string &name, const RestoreSelection::RunOrder::Step &step,
                           const std::string &note);
    // The run ends now; only the first call counts (a run that ended at a failure stays ended
    // there).
    void End(bool ranToEnd);

    const RunReport &Report() const { return report_; }

  private:
    RunReport report_;
    bool ended_ = false;
};
