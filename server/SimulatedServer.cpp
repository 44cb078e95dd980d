// The simulated server's generated children, fixed version dates and successful restores.
#include "server/SimulatedServer.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "server/Replies.h"

namespace
{
struct ChildClass {
    const char *name;
    uint8_t kind;
    uint8_t state;
};

// Leaf or container with equal chance; deleted with chance one in three.
constexpr ChildClass classTable[6] = {
    {"Object", LeafObjectKind, 1},       {"Object", LeafObjectKind, 2},
    {"Object", LeafObjectKind, 0},       {"Contain", ContainerObjectKind, 1},
    {"Contain", ContainerObjectKind, 2}, {"Contain", ContainerObjectKind, 0},
};

int childCursor = 0;
int childLimit = 0;

std::tm LocalTime(int year, int month, int day, int hour, int minute, int second, int daylight)
{
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    time.tm_isdst = daylight;
    return time;
}

// mktime normalises these rows in place on first use; later requests see the normalised rows and
// so yield the same times, and a longer history begins with the entries of a shorter one.
std::tm versionTable[10] = {
    LocalTime(1987, 2, 2, 2, 2, 2, 4),  LocalTime(1994, 9, 9, 9, 9, 9, -3),
    LocalTime(1988, 3, 3, 3, 3, 3, 3),  LocalTime(1986, 1, 1, 1, 1, 1, 5),
    LocalTime(1990, 5, 5, 5, 5, 5, 1),  LocalTime(1991, 6, 6, 6, 6, 6, 0),
    LocalTime(1992, 7, 7, 7, 7, 7, -1), LocalTime(1989, 4, 4, 4, 4, 4, 2),
    LocalTime(1993, 8, 8, 8, 8, 8, -2), LocalTime(1995, 10, 10, 10, 10, 10, -4),
};
} // namespace

SimulatedServer::SimulatedServer()
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

int32_t SimulatedServer::Open(const char *)
{
    return 0;
}

int32_t SimulatedServer::LoginCurrent(const LoginRecord &)
{
    return 0;
}

int32_t SimulatedServer::Login(const char *, const char *)
{
    return 0;
}

void *SimulatedServer::ListChildren(const ChildRequest &, int32_t, int32_t &replySize)
{
    childLimit = 6;
    if (childCursor >= childLimit) {
        childCursor = 0;
        return Replies::EndOfListing(replySize);
    }
    const ChildClass &row = classTable[std::rand() % 6];
    char name[NameFieldSize];
    std::snprintf(name, sizeof name, "%s-%d", row.name, childCursor);
    ObjectRecord *record = Replies::Child(childCursor + 1, name, row.kind, row.state, replySize);
    ++childCursor;
    return record;
}

void *SimulatedServer::GetHistory(const HistoryRequest &, int32_t, int32_t &replySize)
{
    const int count = std::rand() % 10 + 1;
    BackupTime times[10];
    for (int i = 0; i < count; ++i) {
        times[i] = static_cast<BackupTime>(std::mktime(&versionTable[i]));
    }
    return Replies::History(std::span(times, static_cast<std::size_t>(count)), replySize);
}

void *SimulatedServer::RestoreObject(const RestoreRequest &, int32_t, int32_t &replySize)
{
    return Replies::Restore(0, "", replySize);
}

void SimulatedServer::ResetChildCursor()
{
    childCursor = 0;
}
