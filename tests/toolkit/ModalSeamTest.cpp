// The scripted modal seam: message boxes are recorded with kind, text and parent, answered by the
// script, and a step the script did not expect fails the test.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "tests/support/gui/ModalScript.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Window.h"

TEST(ModalSeam, MessageBoxesAreRecordedAndAnswered)
{
    Window parent(nullptr);
    ModalScript script;
    script.ExpectBox(ModalKind::QueryBox, "Sure?", RET_NO)
        .ExpectBox(ModalKind::ErrorBox, "Broken", RET_OK);
    EXPECT_EQ(QueryBox(&parent, WB_YES_NO, "Sure?").Execute(), RET_NO);
    EXPECT_EQ(ErrorBox(nullptr, WB_OK, "Broken").Execute(), RET_OK);
    ASSERT_EQ(script.Steps().size(), 2u);
    EXPECT_EQ(script.Steps()[0].parent, &parent);
    EXPECT_EQ(script.Steps()[1].parent, nullptr);
    EXPECT_EQ(script.Pending(), 0u);
}

TEST(ModalSeam, UnexpectedStepFailsTheTestAndIsAnsweredWithZero)
{
    short answer = -1;
    EXPECT_NONFATAL_FAILURE(
        {
            ModalScript script;
            answer = InfoBox(nullptr, "Surprise").Execute();
        },
        "unexpected information box");
    EXPECT_EQ(answer, 0);
}

TEST(ModalSeam, WrongTextOrAStepNeverShownFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ModalScript script;
            script.ExpectBox(ModalKind::WarningBox, "Expected text", RET_OK);
            WarningBox(nullptr, WB_OK, "Other text").Execute();
        },
        "got warning box \"Other text\"");
    EXPECT_NONFATAL_FAILURE(
        {
            ModalScript script;
            script.ExpectBox(ModalKind::InfoBox, "Never", RET_OK);
        },
        "never shown");
}

TEST(ModalSeam, WithoutScriptTheRealLoopRuns)
{
    EXPECT_FALSE(ModalSeam::HasScript());
    int calls = 0;
    int result =
        ModalSeam::Execute({ModalKind::InfoBox, "", "x", nullptr, nullptr, 0, nullptr}, [&] {
            ++calls;
            return 7;
        });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(result, 7);
}
