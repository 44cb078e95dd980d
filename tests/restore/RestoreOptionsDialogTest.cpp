// The "Restore Objects" dialog: counts, the on-error choice with real clicks, the scripted run
// and its place over the main window.
#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <climits>
#include <gtest/gtest.h>

#include "res/ResourceIds.h"
#include "restore/RestoreOptionsDialog.h"
#include "tests/res/InstalledResources.h"
#include "tests/support/gui/ModalScript.h"
#include "tests/support/gui/PlacedWindow.h"
#include "tests/support/gui/TextFitChecks.h"
#include "toolkit/CancelButton.h"
#include "toolkit/FixedText.h"
#include "toolkit/OKButton.h"
#include "toolkit/RadioButton.h"

namespace
{

class RestoreOptionsDialogTest : public InstalledResources
{
  protected:
    static RadioButton &Choice(Dialog &dialog, uint16_t id)
    {
        return *dialog.Find<RadioButton>(ResId(id));
    }
    static std::string Text(Dialog &dialog, uint16_t fixedTextId)
    {
        return dialog.Find<FixedText>(ResId(fixedTextId))->GetText();
    }
    static std::vector<bool> ChoicesOn(Dialog &dialog)
    {
        return {Choice(dialog, kRestoreObjectsContinue).IsChecked(),
                Choice(dialog, kRestoreObjectsAskUser).IsChecked(),
                Choice(dialog, kRestoreObjectsEnd).IsChecked()};
    }
    static void ClickChoice(Dialog &dialog, uint16_t id)
    {
        QWidget *button = Choice(dialog, id).Widget();
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    PlacedWindow mainWindow{{200, 150}, {700, 500}};
};

} // namespace

TEST_F(RestoreOptionsDialogTest, OpensWithContinueOnAndTheResourceTexts)
{
    RestoreOptionsDialog dialog(&mainWindow);
    EXPECT_EQ(dialog.GetText(), "Restore Objects");
    EXPECT_EQ(ChoicesOn(dialog), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(dialog.GetOnErrorMode(), OnError::Continue);
    EXPECT_EQ(Choice(dialog, kRestoreObjectsAskUser).GetText(), "Ask User");
    EXPECT_EQ(Text(dialog, kRestoreObjectsContainersLabel), "Containers:");
    EXPECT_EQ(Text(dialog, kRestoreObjectsLeavesLabel), "Leaf objects:");
    EXPECT_EQ(dialog.Find<OKButton>(ResId(kOKButton))->GetText(), "OK");
    EXPECT_EQ(dialog.Find<CancelButton>(ResId(kCancelButton))->GetText(), "Cancel");
}

TEST_F(RestoreOptionsDialogTest, ShowsTheCountsAsPlainDecimalNumbers)
{
    struct Case {
        int32_t containers;
        int32_t leaves;
        const char *containersText;
        const char *leavesText;
    };
    const Case cases[] = {
        {0, 3, "0", "3"},
        {12345, 0, "12345", "0"},
        {INT32_MAX, 10000, "2147483647", "10000"},
    };
    for (const Case &c : cases) {
        RestoreOptionsDialog dialog(&mainWindow);
        dialog.SetCounts(c.containers, c.leaves);
        EXPECT_EQ(Text(dialog, kRestoreObjectsContainers), c.containersText);
        EXPECT_EQ(Text(dialog, kRestoreObjectsLeaves), c.leavesText);
    }
}

TEST_F(RestoreOptionsDialogTest, ClickingEndThenAskUserLeavesOnlyAskUserOn)
{
    RestoreOptionsDialog dialog(&mainWindow);
    dialog.Show();
    ClickChoice(dialog, kRestoreObjectsEnd);
    EXPECT_EQ(ChoicesOn(dialog), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(dialog.GetOnErrorMode(), OnError::End);
    ClickChoice(dialog, kRestoreObjectsAskUser);
    EXPECT_EQ(ChoicesOn(dialog), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(dialog.GetOnErrorMode(), OnError::Ask);
}

// The buttons do not group themselves; a second click on the chosen one must not turn it off.
TEST_F(RestoreOptionsDialogTest, ClickingTheChosenButtonAgainKeepsItOn)
{
    RestoreOptionsDialog dialog(&mainWindow);
    dialog.Show();
    ClickChoice(dialog, kRestoreObjectsContinue);
    ClickChoice(dialog, kRestoreObjectsContinue);
    EXPECT_EQ(ChoicesOn(dialog), (std::vector<bool>{true, false, false}));
}

TEST_F(RestoreOptionsDialogTest, ReadsEachChoiceAndContinueWhenNoneIsOn)
{
    struct Case {
        bool continueOn, askUserOn, endOn;
        OnError expected;
    };
    const Case cases[] = {
        {true, false, false, OnError::Continue}, {false, true, false, OnError::Ask},
        {false, false, true, OnError::End},      {false, false, false, OnError::Continue},
        {true, true, true, OnError::Ask},        {true, false, true, OnError::Continue},
    };
    RestoreOptionsDialog dialog(&mainWindow);
    for (const Case &c : cases) {
        Choice(dialog, kRestoreObjectsContinue).Check(c.continueOn);
        Choice(dialog, kRestoreObjectsAskUser).Check(c.askUserOn);
        Choice(dialog, kRestoreObjectsEnd).Check(c.endOn);
        EXPECT_EQ(dialog.GetOnErrorMode(), c.expected) << c.continueOn << c.askUserOn << c.endOn;
    }
}

TEST_F(RestoreOptionsDialogTest, ScriptedRunReturnsOkAndTheChoiceClickedInside)
{
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 1, [&](ModalDialog &shown) {
        EXPECT_EQ(Text(shown, kRestoreObjectsLeaves), "3");
        shown.Show();
        ClickChoice(shown, kRestoreObjectsEnd);
    });
    RestoreOptionsDialog dialog(&mainWindow);
    dialog.SetCounts(0, 3);
    EXPECT_EQ(dialog.Execute(), 1);
    EXPECT_EQ(dialog.GetOnErrorMode(), OnError::End);
    ASSERT_EQ(script.Steps().size(), 1u);
    EXPECT_EQ(script.Steps()[0].parent, &mainWindow);
}

TEST_F(RestoreOptionsDialogTest, StandsCentredOverItsParent)
{
    RestoreOptionsDialog dialog(&mainWindow);
    Size own = dialog.GetSizePixel();
    EXPECT_EQ(dialog.GetPosPixel(),
              (Point{200 + (700 - own.width) / 2, 150 + (500 - own.height) / 2}));
}

TEST_F(RestoreOptionsDialogTest, StandsAboveAndLeftOfASmallerParent)
{
    PlacedWindow small({400, 300}, {41, 21});
    RestoreOptionsDialog dialog(&small);
    Size own = dialog.GetSizePixel();
    ASSERT_GT(own.width, 41);
    ASSERT_GT(own.height, 21);
    Point pos = dialog.GetPosPixel();
    EXPECT_EQ(pos, (Point{400 + (41 - own.width) / 2, 300 + (21 - own.height) / 2}));
    EXPECT_LT(pos.x, 400);
    EXPECT_LT(pos.y, 300);
}

TEST_F(RestoreOptionsDialogTest, ShowsEveryTextWholeAndTheCountsApartFromTheirLabels)
{
    RestoreOptionsDialog dialog(&mainWindow);
    dialog.SetCounts(INT32_MAX, INT32_MAX);
    ExpectTextsFit(dialog);
    const QWidget *label = dialog.Find<FixedText>(ResId(kRestoreObjectsLeavesLabel))->Widget();
    const QWidget *count = dialog.Find<FixedText>(ResId(kRestoreObjectsLeaves))->Widget();
    EXPECT_GT(count->x(), label->geometry().right() + 1);
}

// As in any group of radio buttons, the arrow keys choose within the group, round its ends,
// and the keyboard stays in it.
TEST_F(RestoreOptionsDialogTest, ArrowKeysChooseWithinTheOnErrorGroup)
{
    RestoreOptionsDialog dialog(&mainWindow);
    dialog.Show();
    struct Step {
        uint16_t from;
        Qt::Key key;
        uint16_t chosen;
        OnError mode;
    };
    const Step steps[] = {
        {kRestoreObjectsContinue, Qt::Key_Down, kRestoreObjectsAskUser, OnError::Ask},
        {kRestoreObjectsAskUser, Qt::Key_Right, kRestoreObjectsEnd, OnError::End},
        {kRestoreObjectsEnd, Qt::Key_Down, kRestoreObjectsContinue, OnError::Continue},
        {kRestoreObjectsContinue, Qt::Key_Up, kRestoreObjectsEnd, OnError::End},
        {kRestoreObjectsEnd, Qt::Key_Left, kRestoreObjectsAskUser, OnError::Ask},
    };
    for (const Step &step : steps) {
        Choice(dialog, step.from).Widget()->setFocus();
        QTest::keyClick(Choice(dialog, step.from).Widget(), step.key);
        EXPECT_EQ(dialog.GetOnErrorMode(), step.mode) << step.from << " " << step.key;
        EXPECT_TRUE(Choice(dialog, step.chosen).IsChecked());
        EXPECT_EQ(dialog.QtDialog()->focusWidget(), Choice(dialog, step.chosen).Widget());
        const std::vector<bool> on = ChoicesOn(dialog);
        EXPECT_EQ(std::count(on.begin(), on.end(), true), 1);
    }
}
