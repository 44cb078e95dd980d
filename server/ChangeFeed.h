// Hands a report's changes out as records, one per request, as a backend's ChangeSource finds
// them: the attribute names of an object too long for one record go on in the next ones, and a
// part that found nothing still gives a record (NoChange) that tells how far the report is.
// An object whose full name does not fit a record is left out (it could never be asked about),
// and said.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "server/ChangeSource.h"
#include "server/ServerRecords.h"

class ChangeFeed
{
  public:
    using LeftOut = std::function<void(const std::string &fullName)>;

    ChangeFeed(const ChangeRequest &request, std::unique_ptr<ChangeSource> source, LeftOut leftOut);

    // Whether a request goes on with this report: the same one, naming the record given last.
    bool Continues(const ChangeRequest &request) const;
    // Passes over the records a report asked for again has handed out already.
    void Skip(int32_t records);
    // The next record; the end record once the source is done or failed (with the reason in
    // `fault`).
    void *Reply(int32_t &replySize, std::string &fault);
    bool Ended() const { return ended_; }

    // The attribute names of one record each, a blank between, in the order given.
    static std::vector<std::string> Pieces(const std::vector<std::string> &attributes);

  private:
    void *NextPiece(int32_t &replySize);
    bool Fits(const ObjectChange &change) const;

    ChangeRequest request_;
    std::unique_ptr<ChangeSource> source_;
    LeftOut leftOut_;
    std::deque<ObjectChange> ready_;
    std::vector<std::string> pieces_; // of ready_.front(), not handed out yet
    std::size_t piece_ = 0;
    int32_t handedOut_ = 0;
    bool ended_ = false;
};
