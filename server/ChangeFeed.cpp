// A report's changes, record by record.
#include "server/ChangeFeed.h"

#include <cstdlib>
#include <cstring>

#include "server/RecordFields.h"
#include "server/Replies.h"

namespace
{
constexpr std::size_t kPieceSize = sizeof(ChangeRecord::attributes) - 1;

bool SameReport(const ChangeRequest &a, const ChangeRequest &b)
{
    return std::strncmp(a.contextName, b.contextName, NameFieldSize) == 0 && a.from == b.from &&
           ((a.flags & ChangesToLive) != 0 ? (b.flags & ChangesToLive) != 0
                                           : (b.flags & ChangesToLive) == 0 && a.to == b.to);
}
} // namespace

ChangeFeed::ChangeFeed(const ChangeRequest &request, std::unique_ptr<ChangeSource> source,
                       LeftOut leftOut)
    : request_(request), source_(std::move(source)), leftOut_(std::move(leftOut))
{
}

bool ChangeFeed::Continues(const ChangeRequest &request) const
{
    return !ended_ && request.lastId != 0 && request.lastId == handedOut_ &&
           SameReport(request, request_);
}

void ChangeFeed::Skip(int32_t records)
{
    std::string fault;
    while (!ended_ && handedOut_ < records) {
        int32_t size = 0;
        std::free(Reply(size, fault));
    }
}

std::vector<std::string> ChangeFeed::Pieces(const std::vector<std::string> &attributes)
{
    std::vector<std::string> pieces(1);
    for (const std::string &name : attributes) {
        std::string &last = pieces.back();
        if (!last.empty() && last.size() + 1 + name.size() > kPieceSize) {
            pieces.emplace_back();
        }
        pieces.back() += (pieces.back().empty() ? "" : " ") + name;
    }
    return pieces;
}

bool ChangeFeed::Fits(const ObjectChange &change) const
{
    return change.fullName.size() < NameFieldSize && change.oldName.size() < NameFieldSize;
}

void *ChangeFeed::Reply(int32_t &replySize, std::string &fault)
{
    while (ready_.empty() && !source_->Done()) {
        std::vector<ObjectChange> found;
        if (!source_->Next(found, fault)) {
            ended_ = true;
            return Replies::EndOfChanges(0, source_->Examined(), source_->Total(), replySize);
        }
        for (ObjectChange &change : found) {
            if (Fits(change)) {
                ready_.push_back(std::move(change));
            } else if (leftOut_) {
                leftOut_(change.fullName.size() >= NameFieldSize ? change.fullName
                                                                 : change.oldName);
            }
        }
        if (ready_.empty() && !source_->Done()) {
            return Replies::ChangeProgress(++handedOut_, source_->Examined(), source_->Total(),
                                           replySize);
        }
    }
    if (ready_.empty()) {
        ended_ = true;
        return Replies::EndOfChanges(0, source_->Examined(), source_->Total(), replySize);
    }
    return NextPiece(replySize);
}

void *ChangeFeed::NextPiece(int32_t &replySize)
{
    if (pieces_.empty()) {
        pieces_ = Pieces(ready_.front().attributes);
        piece_ = 0;
    }
    const bool more = piece_ + 1 < pieces_.size();
    void *record = Replies::Change(++handedOut_, ready_.front(), pieces_[piece_], more,
                                   source_->Examined(), source_->Total(), replySize);
    if (more) {
        ++piece_;
    } else {
        pieces_.clear();
        ready_.pop_front();
    }
    return record;
}
