// One search of a backup server, asked for a few matches at a time: the caller takes a batch,
// lets the window paint, and asks for the next, or stops. Inside, the SearchObjects records go
// out one per match, each naming the id received last, until the record whose id is 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "server/ServerClient.h"

class BackupServer;

class SearchRun
{
  public:
    using MatchSink = std::function<void(FoundObject &&)>;

    // Nothing is sent yet. flags: SearchDeletedOnly or 0.
    SearchRun(BackupServer &server, std::string_view contextName, std::string_view pattern,
              uint32_t flags);

    // Asks for up to `most` further matches and hands each to `each` as it comes; `stop` is
    // asked after each match but the last, and true ends the search there. False once the
    // search has ended (End says how).
    bool Next(std::size_t most, const MatchSink &each, const ServerClient::StopCheck &stop = {});
    bool Ended() const { return ended_; }

    RequestEnd End() const { return end_; }
    const std::string &Failure() const { return failure_; }
    std::size_t Found() const { return found_; }

  private:
    void Finish(RequestEnd end, std::string failure = {});

    BackupServer &server_;
    SearchRequest request_{};
    bool ended_ = false;
    RequestEnd end_ = RequestEnd::Answered;
    std::string failure_;
    std::size_t found_ = 0;
};
