// A restore outcome as the result list keeps it, and the line the result dialog shows for it.
#include <cstring>
#include <gtest/gtest.h>

#include "restore/RestoreResult.h"

TEST(RestoreResult, LineIsTheNameAloneForARestoredObject)
{
    RestoreResult result = MakeRestoreResult("Object-2.Contain-0.Marrowby", 0, "ignored");
    EXPECT_EQ(RestoreResultLine(result), "Object-2.Contain-0.Marrowby");
    EXPECT_EQ(result.message[0], '\0');
}

TEST(RestoreResult, LineNamesTheFailureAndTheServersMessage)
{
    RestoreResult result = MakeRestoreResult("Object-2.Contain-0.Marrowby", 5, "M");
    EXPECT_EQ(RestoreResultLine(result), "Object-2.Contain-0.Marrowby - failed on Object 'M'");
    EXPECT_EQ(RestoreResultLine(MakeRestoreResult("A", -1, "")), "A - failed on Object ''");
}

TEST(RestoreResult, IsZeroFilledBehindItsTexts)
{
    RestoreResult result = MakeRestoreResult("Abc", 0, "");
    for (size_t i = 3; i < sizeof result.name; ++i) {
        ASSERT_EQ(result.name[i], '\0') << i;
    }
    for (char c : result.message) {
        ASSERT_EQ(c, '\0');
    }
}

// A server may fill the message field to its end without a NUL; the line must stop there.
TEST(RestoreResult, LineReadsUnterminatedFieldsOnlyWithinThem)
{
    struct Guarded {
        RestoreResult result;
        char after[8];
    } guarded;
    std::memset(&guarded, 'z', sizeof guarded);
    std::memset(guarded.result.name, 'n', sizeof guarded.result.name);
    std::memset(guarded.result.message, 'm', sizeof guarded.result.message);
    guarded.result.status = 1;
    EXPECT_EQ(RestoreResultLine(guarded.result),
              std::string(256, 'n') + " - failed on Object '" + std::string(256, 'm') + "'");
}

TEST(RestoreResult, TextLongerThanItsFieldShowsItWasCut)
{
    const std::string fits(255, 'a');
    EXPECT_EQ(RestoreResultLine(MakeRestoreResult(fits, 0, "")), fits);

    RestoreResult cut = MakeRestoreResult(std::string(300, 'b'), 2, std::string(256, 'c'));
    EXPECT_EQ(RestoreResultLine(cut),
              std::string(252, 'b') + "... - failed on Object '" + std::string(252, 'c') + "...'");
}

TEST(RestoreResult, CutNeverSplitsACharacter)
{
    // 251 single bytes, then two-byte characters: byte 252 would be the middle of one.
    std::string name = std::string(251, 'x') + "\u00e9\u00e9\u00e9";
    RestoreResult cut = MakeRestoreResult(name, 0, "");
    EXPECT_EQ(RestoreResultLine(cut), std::string(251, 'x') + "...");
}

TEST(RestoreResult, NoteFollowsTheNameOfARestoredObjectOnly)
{
    EXPECT_EQ(RestoreResultLine(MakeRestoreResult("East.Sales.Marrowby", 0, "",
                                                  ParentAddedNote("Cid.East.Sales.Marrowby"))),
              "East.Sales.Marrowby - added as the parent of Cid.East.Sales.Marrowby");
    EXPECT_EQ(RestoreResultLine(MakeRestoreResult("Sales.Marrowby", 0, "", SubtreeNote(4, 1))),
              "Sales.Marrowby - with its subtree: 4 objects added, 1 changed");
    EXPECT_EQ(RestoreResultLine(MakeRestoreResult("Sales.Marrowby", 0, "", SubtreeNote(1, 0))),
              "Sales.Marrowby - with its subtree: 1 object added, 0 changed");
    // A failure line stays as it is; the note is not kept.
    RestoreResult failed = MakeRestoreResult("Sales.Marrowby", 5, "M", SubtreeNote(1, 0));
    EXPECT_EQ(RestoreResultLine(failed), "Sales.Marrowby - failed on Object 'M'");
    for (char c : failed.note) {
        ASSERT_EQ(c, '\0');
    }
    // A note longer than its field shows it was cut, like the other texts.
    const RestoreResult cut = MakeRestoreResult("A", 0, "", ParentAddedNote(std::string(300, 'c')));
    EXPECT_EQ(RestoreResultLine(cut),
              "A - added as the parent of " + std::string(252 - 23, 'c') + "...");
}
