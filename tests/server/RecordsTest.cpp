// The server records' byte layout and the reading and writing of their fields.
#include <gmock/gmock.h>

#include <cstring>
#include <string>
#include <string_view>

#include "server/RecordFields.h"

namespace
{
template <typename Record> const unsigned char *Bytes(const Record &record)
{
    return reinterpret_cast<const unsigned char *>(&record);
}

TEST(RecordsTest, IntegersAreLittleEndianAtTheirOffsets)
{
    ChildRequest child{};
    child.lastId = 0x01020304;
    EXPECT_EQ(Bytes(child)[256], 0x04);
    EXPECT_EQ(Bytes(child)[259], 0x01);

    RestoreRequest restore{};
    restore.version = 0xA1B2C3D4;
    restore.flags = RestoreWithSubtree;
    EXPECT_EQ(Bytes(restore)[256], 0xD4);
    EXPECT_EQ(Bytes(restore)[259], 0xA1);
    EXPECT_EQ(Bytes(restore)[260], 0x01);

    unsigned char history[HistoryReplySize(2)] = {};
    auto &reply = *reinterpret_cast<HistoryReply *>(history);
    reply.count = 2;
    SetHistoryTime(reply, 1, 0x11223344);
    EXPECT_EQ(history[0], 2);
    EXPECT_EQ(history[8], 0x44);
    EXPECT_EQ(history[11], 0x11);
    EXPECT_EQ(HistoryTime(reply, 1), 0x11223344u);
}

TEST(RecordsTest, FieldTextStopsAtTheEndOfAFieldWithoutNul)
{
    ObjectRecord record{};
    std::memset(record.name, 'x', sizeof record.name);
    record.kind = 'K'; // right behind the field: must not be read as part of the name
    EXPECT_EQ(FieldText(record.name), std::string(256, 'x'));

    std::strcpy(record.name, "Contain-1");
    EXPECT_EQ(FieldText(record.name), "Contain-1");
}

TEST(RecordsTest, CopyToFieldNeverCutsAName)
{
    ChildRequest request{};
    EXPECT_TRUE(CopyToField(request.containerName, std::string(255, 'a')));
    EXPECT_EQ(request.containerName[255], '\0');

    ChildRequest untouched{};
    EXPECT_FALSE(CopyToField(untouched.containerName, std::string(256, 'b')));
    EXPECT_EQ(untouched.containerName[0], '\0');
}

// An empty view may point nowhere; copying it must not hand memcpy a null pointer (UBSan).
TEST(RecordsTest, AnEmptyTextThatPointsNowhereFillsTheFieldWithItsNul)
{
    RestoreReply reply{};
    std::memset(reply.message, 'x', sizeof reply.message);
    CopyCutToField(reply.message, std::string_view());
    EXPECT_EQ(FieldText(reply.message), "");

    ChildRequest request{};
    std::memset(request.containerName, 'x', sizeof request.containerName);
    EXPECT_TRUE(CopyToField(request.containerName, std::string_view()));
    EXPECT_EQ(FieldText(request.containerName), "");
}
} // namespace
