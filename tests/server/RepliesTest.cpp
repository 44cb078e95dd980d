// The replies every backend makes: sizes, zero-filled bytes, names never cut, messages cut
// between characters.
#include <gmock/gmock.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "server/RecordFields.h"
#include "server/Replies.h"

namespace
{
struct Free {
    void operator()(void *reply) const { std::free(reply); }
};
template <typename Record> using Owned = std::unique_ptr<Record, Free>;

bool AllZero(const char *from, const char *to)
{
    return std::all_of(from, to, [](char c) { return c == '\0'; });
}

TEST(Replies, ChildRecordsCarryTheirFieldsAndNothingBehindTheName)
{
    int32_t size = 0;
    Owned<ObjectRecord> child(Replies::Child(3, "Contain-2", ContainerObjectKind, 2, size));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(size, 264);
    EXPECT_EQ(child->id, 3);
    EXPECT_EQ(FieldText(child->name), "Contain-2");
    EXPECT_TRUE(AllZero(child->name + 9, child->name + NameFieldSize));
    EXPECT_EQ(child->kind, ContainerObjectKind);
    EXPECT_EQ(child->state, 2);

    Owned<ObjectRecord> end(Replies::EndOfListing(size));
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(size, 264);
    EXPECT_EQ(end->id, 0);
}

TEST(Replies, AChildNameIsNeverCut)
{
    int32_t size = -1;
    Owned<ObjectRecord> fits(Replies::Child(1, std::string(255, 'a'), LeafObjectKind, 1, size));
    ASSERT_NE(fits, nullptr);
    EXPECT_EQ(FieldText(fits->name), std::string(255, 'a'));
    EXPECT_EQ(Replies::Child(1, std::string(256, 'a'), LeafObjectKind, 1, size), nullptr);
}

TEST(Replies, HistoryHoldsEveryTimeInOrder)
{
    const std::vector<BackupTime> times = {7, 0xFFFFFFFFu, 3};
    int32_t size = 0;
    Owned<HistoryReply> history(Replies::History(times, size));
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(size, 16);
    EXPECT_EQ(history->count, 3);
    for (std::size_t i = 0; i < times.size(); ++i) {
        EXPECT_EQ(HistoryTime(*history, i), times[i]);
    }
    Owned<HistoryReply> none(Replies::History({}, size));
    EXPECT_EQ(size, 4);
    EXPECT_EQ(none->count, 0);
}

TEST(Replies, ARestoreMessageKeepsItsFirstWholeCharacters)
{
    struct Case {
        std::string message;
        std::string kept;
    };
    const std::string ascii255(255, 'm');
    const Case cases[] = {
        {"", ""},
        {"Object is locked", "Object is locked"},
        {ascii255 + "tail", ascii255},
        {std::string(254, 'm') + "\xC3\xA9", std::string(254, 'm')}, // é would straddle the NUL
    };
    for (const Case &c : cases) {
        int32_t size = 0;
        Owned<RestoreReply> reply(Replies::Restore(5, c.message, size));
        ASSERT_NE(reply, nullptr);
        EXPECT_EQ(size, 260);
        EXPECT_EQ(reply->status, 5);
        EXPECT_EQ(FieldText(reply->message), c.kept);
    }
}
} // namespace
