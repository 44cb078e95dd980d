// One change report of a backup server, asked for a few records at a time: the caller takes a
// batch, lets the window paint (or the terminal show the progress), and asks for the next, or
// stops. Inside, the ListChanges records go out one per reply, each naming the id received last,
// until the record whose id is 0; an object's attribute names that fill several records are
// joined again, and records that only tell the progress are counted, not handed on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "server/ObjectChange.h"
#include "server/ServerClient.h"

class BackupServer;

// The two points a report compares: backup times, the later one possibly the live directory.
struct ChangePoints {
    BackupTime from = 0;
    BackupTime to = 0; // not read when toLive
    bool toLive = true;
};

class ChangeRun
{
  public:
    using ChangeSink = std::function<void(ObjectChange &&)>;

    // Nothing is sent yet.
    ChangeRun(BackupServer &server, std::string_view contextName, ChangePoints points,
              uint32_t flags = 0);

    // Asks for up to `most` further records and hands each changed object to `each` as it
    // comes whole; `stop` is asked after each record but the last, and true ends the report
    // there. False once the report has ended (End says how).
    bool Next(std::size_t most, const ChangeSink &each, const ServerClient::StopCheck &stop = {});
    bool Ended() const { return ended_; }

    RequestEnd End() const { return end_; }
    const std::string &Failure() const { return failure_; }
    std::size_t Found() const { return found_; }
    // How far the server is: objects looked at, and to look at (0: not known).
    uint32_t Examined() const { return examined_; }
    uint32_t Total() const { return total_; }

  private:
    void Finish(RequestEnd end, std::string failure = {});
    void Take(const ChangeRecord &record, const ChangeSink &each);

    BackupServer &server_;
    ChangeRequest request_{};
    bool ended_ = false;
    RequestEnd end_ = RequestEnd::Answered;
    std::string failure_;
    std::size_t found_ = 0;
    uint32_t examined_ = 0;
    uint32_t total_ = 0;
    ObjectChange gathering_; // the object whose attribute names go on in the next record
    bool gathers_ = false;
};
