// Answers requests from the test's script and logs them.
#include "tests/support/core/ScriptedServer.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numeric>
#include <random>
#include <utility>

#include "server/RecordFields.h"
#include "server/Replies.h"

namespace
{
template <std::size_t N> bool ZeroBehindText(const char (&field)[N])
{
    const char *end = static_cast<const char *>(std::memchr(field, '\0', N));
    return end == nullptr || std::all_of(end, field + N, [](char c) { return c == '\0'; });
}

// Copies text into a fixed field; text that fills the field is copied without its NUL.
template <std::size_t N> void FillField(char (&field)[N], const std::string &text)
{
    std::memcpy(field, text.data(), std::min(text.size(), N));
}

} // namespace

ScriptedChild Leaf(std::string name, bool present)
{
    return {std::move(name), LeafObjectKind, static_cast<uint8_t>(present ? 1 : 0)};
}

ScriptedChild Container(std::string name, bool present)
{
    return {std::move(name), ContainerObjectKind, static_cast<uint8_t>(present ? 1 : 0)};
}

void ScriptedServer::SetChildren(const std::string &container, std::vector<ScriptedChild> children)
{
    auto shared = std::make_shared<const std::vector<ScriptedChild>>(std::move(children));
    SetChildren(container, shared->size(),
                [shared](std::size_t index) { return (*shared)[index]; });
}

void ScriptedServer::SetChildren(const std::string &container, std::size_t count,
                                 ChildGenerator generate)
{
    listings_[container] = Listing{count, std::move(generate)};
}

void ScriptedServer::SetDefaultChildren(std::size_t count, ChildGenerator generate)
{
    defaultListing_ = Listing{count, std::move(generate)};
}

ScriptedServer::ChildGenerator ScriptedServer::ShuffledLeaves(std::size_t count, unsigned seed)
{
    auto order = std::make_shared<std::vector<std::size_t>>(count);
    std::iota(order->begin(), order->end(), std::size_t{0});
    std::shuffle(order->begin(), order->end(), std::mt19937(seed));
    const std::size_t width = std::to_string(count > 0 ? count - 1 : 0).size();
    return [order, width](std::size_t index) {
        char digits[24];
        const std::size_t value = (*order)[index];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        const std::size_t length = static_cast<std::size_t>(end - digits);
        std::string name = "Item-";
        name.append(width > length ? width - length : 0, '0').append(digits, length);
        return Leaf(std::move(name));
    };
}

void ScriptedServer::SetHistory(const std::string &object, std::vector<BackupTime> times)
{
    histories_[object] = std::move(times);
}

void ScriptedServer::SetRestoreOutcome(const std::string &object, int32_t status,
                                       std::string message)
{
    outcomes_[object] = Outcome{status, std::move(message)};
}

void ScriptedServer::SetOpenResult(const std::string &serverName, int32_t result)
{
    openResults_[serverName] = result;
}

void ScriptedServer::SetLoggedIn(bool loggedIn)
{
    loggedIn_ = loggedIn;
}

void ScriptedServer::SetAcceptedLogin(std::string userName, std::string password)
{
    anyLogin_ = false;
    acceptedLogin_ = {std::move(userName), std::move(password)};
}

void ScriptedServer::OnRequest(Hook hook)
{
    const std::lock_guard lock(logMutex_);
    hook_ = hook ? std::make_shared<const Hook>(std::move(hook)) : nullptr;
    watched_ = logging_ || hook_;
}

void ScriptedServer::SetLogging(bool on)
{
    const std::lock_guard lock(logMutex_);
    logging_ = on;
    watched_ = logging_ || hook_;
}

std::vector<LoggedRequest> ScriptedServer::Requests() const
{
    const std::lock_guard lock(logMutex_);
    return requests_;
}

std::vector<LoggedRequest> ScriptedServer::RequestsOf(RequestType type) const
{
    const std::lock_guard lock(logMutex_);
    std::vector<LoggedRequest> selected;
    std::copy_if(requests_.begin(), requests_.end(), std::back_inserter(selected),
                 [type](const LoggedRequest &request) { return request.type == type; });
    return selected;
}

void ScriptedServer::ClearLog()
{
    const std::lock_guard lock(logMutex_);
    requests_.clear();
    requestCount_ = 0;
    opened_.clear();
    logins_.clear();
}

int32_t ScriptedServer::Open(const char *serverName)
{
    opened_.emplace_back(serverName != nullptr ? serverName : "");
    auto it = openResults_.find(opened_.back());
    return it == openResults_.end() ? 0 : it->second;
}

int32_t ScriptedServer::LoginCurrent(const LoginRecord &)
{
    return loggedIn_ ? 0 : 1;
}

int32_t ScriptedServer::Login(const char *userName, const char *password)
{
    logins_.emplace_back(userName != nullptr ? userName : "", password != nullptr ? password : "");
    return anyLogin_ || logins_.back() == acceptedLogin_ ? 0 : 1;
}

void *ScriptedServer::ListChildren(const ChildRequest &request, int32_t requestSize,
                                   int32_t &replySize)
{
    const std::string container = FieldText(request.containerName);
    // Large listings run with the log off and no hook: then only the count is kept, and the
    // request is not copied for the log (a benchmark counts the server's time as the tree's).
    if (Watched()) {
        Received({RequestType::ListChildren,
                  requestSize,
                  container,
                  request.lastId,
                  0,
                  0,
                  ZeroBehindText(request.containerName) && request.reserved1 == 0 &&
                      request.reserved2 == 0,
                  {}});
    } else {
        ++requestCount_;
    }
    if (!listingFailures_.empty()) {
        const auto failing = listingFailures_.find(container);
        if (failing != listingFailures_.end() && request.lastId >= 0 &&
            static_cast<std::size_t>(request.lastId) >= failing->second.first) {
            FailRequest(failing->second.second);
            return Counted(Replies::EndOfListing(replySize));
        }
    }
    const Listing &listing = ListingOf(container);
    if (request.lastId < 0 || static_cast<std::size_t>(request.lastId) >= listing.count) {
        if (auto note = listingNotes_.find(container); note != listingNotes_.end()) {
            pendingNote_ = note->second;
        }
        return Counted(Replies::EndOfListing(replySize));
    }
    const ScriptedChild child = listing.generate(static_cast<std::size_t>(request.lastId));
    ObjectRecord *record =
        Counted(Replies::Child(request.lastId + 1, "", child.kind, child.state, replySize));
    FillField(record->name, child.name); // as it stands, a faulty name included
    return record;
}

void ScriptedServer::SetListingFailure(const std::string &container, std::size_t after,
                                       std::string reason)
{
    if (reason.empty()) {
        listingFailures_.erase(container);
    } else {
        listingFailures_[container] = {after, std::move(reason)};
    }
}

void *ScriptedServer::GetHistory(const HistoryRequest &request, int32_t requestSize,
                                 int32_t &replySize)
{
    const std::string object = FieldText(request.objectName);
    Received({RequestType::GetHistory,
              requestSize,
              object,
              0,
              0,
              0,
              ZeroBehindText(request.objectName),
              {}});
    auto it = histories_.find(object);
    const std::vector<BackupTime> none;
    return Counted(Replies::History(it == histories_.end() ? none : it->second, replySize));
}

void *ScriptedServer::RestoreObject(const RestoreRequest &request, int32_t requestSize,
                                    int32_t &replySize)
{
    const std::string object = FieldText(request.objectName);
    Received({RequestType::RestoreObject,
              requestSize,
              object,
              0,
              request.version,
              request.flags,
              ZeroBehindText(request.objectName),
              {}});
    auto it = outcomes_.find(object);
    RestoreReply *reply = Counted(Replies::Restore(0, "", replySize));
    if (it != outcomes_.end()) {
        reply->status = it->second.status;
        FillField(reply->message, it->second.message); // a faulty message included
    }
    const auto report = reports_.find(object);
    lastReport_ = report != reports_.end() ? &report->second : nullptr;
    return reply;
}

void ScriptedServer::SetSearchResults(std::vector<ScriptedChild> matches)
{
    searchResults_ = std::move(matches);
}

void ScriptedServer::SetSearchFailure(std::size_t after, std::string reason)
{
    searchFailure_ = {after, std::move(reason)};
}

void *ScriptedServer::SearchObjects(const SearchRequest &request, int32_t requestSize,
                                    int32_t &replySize)
{
    Received({RequestType::SearchObjects, requestSize, FieldText(request.contextName),
              request.lastId, 0, request.flags,
              ZeroBehindText(request.contextName) && ZeroBehindText(request.pattern),
              FieldText(request.pattern)});
    if (cannotSearch_) {
        return Counted(Replies::EndOfSearch(SearchUnsupported, replySize));
    }
    const std::size_t index = static_cast<std::size_t>(std::max(request.lastId, 0));
    if (!searchFailure_.second.empty() && index >= searchFailure_.first) {
        FailRequest(searchFailure_.second);
        return Counted(Replies::EndOfSearch(0, replySize));
    }
    if ((request.flags & SearchProbe) != 0 || request.lastId < 0 ||
        index >= searchResults_.size()) {
        return Counted(Replies::EndOfSearch(0, replySize));
    }
    const ScriptedChild &match = searchResults_[index];
    SearchMatch *record = Counted(
        Replies::Match(static_cast<int32_t>(index + 1), "", match.kind, match.state, replySize));
    FillField(record->fullName, match.name); // as it stands, a faulty name included
    return record;
}

void *ScriptedServer::DescribeObject(const DescribeRequest &request, int32_t requestSize,
                                     int32_t &replySize)
{
    const std::string object = FieldText(request.objectName);
    Received({RequestType::DescribeObject, requestSize, object, request.lastId, request.version,
              request.flags, ZeroBehindText(request.objectName), ""});
    if (!describes_) {
        return Counted(static_cast<AttributeRecord *>(
            ServerBackend::DescribeObject(request, requestSize, replySize)));
    }
    const auto writes = writes_.find(object);
    if ((request.flags & DescribeWrites) != 0 && writes != writes_.end()) {
        return Counted(
            static_cast<AttributeRecord *>(writes->second.Reply(request.lastId, replySize)));
    }
    const auto it = descriptions_.find(object);
    if (it == descriptions_.end()) {
        return Counted(Replies::EndOfDescription(1, 0, "Unknown object: " + object, replySize));
    }
    return Counted(static_cast<AttributeRecord *>(it->second.Reply(request.lastId, replySize)));
}

void ScriptedServer::SetDescription(const std::string &object, const ObjectDescription &description)
{
    describes_ = true;
    descriptions_.insert_or_assign(object, DescriptionPieces(description));
    described_.insert_or_assign(object, description);
    writes_.erase(object);
}

void ScriptedServer::SetWrittenEntries(const std::string &object, std::vector<WrittenEntry> entries)
{
    writes_.insert_or_assign(object, DescriptionPieces(described_[object], entries));
}

void ScriptedServer::SetDescriptionFailure(const std::string &object, int32_t status,
                                           std::string reason)
{
    describes_ = true;
    descriptions_.insert_or_assign(object, DescriptionPieces::Failure(status, std::move(reason)));
}

void ScriptedServer::SetListingNote(const std::string &container, std::string note)
{
    listingNotes_[container] = std::move(note);
}

void ScriptedServer::SetRestoreReport(const std::string &object, RestoreReport report)
{
    reports_[object] = std::move(report);
}

std::string ScriptedServer::TakeListingNote()
{
    return std::exchange(pendingNote_, std::string());
}

const RestoreReport *ScriptedServer::LastRestoreReport() const
{
    return lastReport_;
}

void ScriptedServer::FreeReply(void *reply)
{
    if (reply != nullptr) {
        --outstanding_;
    }
    std::free(reply);
}

void ScriptedServer::Received(const LoggedRequest &request)
{
    ++requestCount_;
    std::shared_ptr<const Hook> hook;
    {
        const std::lock_guard lock(logMutex_);
        if (logging_) {
            requests_.push_back(request);
        }
        hook = hook_;
    }
    if (hook) {
        (*hook)(request); // without the lock: a hook may wait for the test, which reads the log
    }
}

template <typename Record> Record *ScriptedServer::Counted(Record *reply)
{
    if (reply == nullptr) {
        std::abort(); // a test fixture out of memory has nothing sensible left to do
    }
    ++outstanding_;
    return reply;
}

const ScriptedServer::Listing &ScriptedServer::ListingOf(const std::string &container) const
{
    auto it = listings_.find(container);
    return it == listings_.end() ? defaultListing_ : it->second;
}
