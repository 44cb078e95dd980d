// The controls a result list is made of: a list whose entries show their whole text as tips and
// report selection and double clicks, a read-only edit whose text can be selected and copied, a
// text that wraps, a push button that leaves its dialog open, and a dialog the user can enlarge
// but not shrink below its resource's size.
#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "tests/toolkit/ToolkitFixtures.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Clipboard.h"
#include "toolkit/DialogUnits.h"
#include "toolkit/FixedText.h"
#include "toolkit/ListBox.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/MultiLineEdit.h"
#include "toolkit/OKButton.h"
#include "toolkit/PushButton.h"

namespace
{

class ListDialog : public ModalDialog
{
  public:
    ListDialog()
        : ModalDialog(nullptr, ResId(kTestListDialog)), list(this, ResId(1)), text(this, ResId(1)),
          edit(this, ResId(1)), copy(this, ResId(1)), ok(this, ResId(1))
    {
    }
    void Resize() override { ++resizes; }

    ListBox list;
    FixedText text;
    MultiLineEdit edit;
    PushButton copy;
    OKButton ok;
    int resizes = 0;
};

QListWidget &Widget(ListBox &box)
{
    return *static_cast<QListWidget *>(box.Widget());
}

class ListDialogTest : public testing::Test
{
  protected:
    InstalledTestResources resources;
    ListDialog dialog;
};

} // namespace

TEST_F(ListDialogTest, EntriesShowTheirWholeTextAsTipAndReportSelectionAndDoubleClicks)
{
    const std::string longLine = "A.Marrowby - failed on Object '" + std::string(400, 'x') + "'";
    dialog.list.InsertEntry("first");
    dialog.list.InsertEntry(longLine, Bitmap());
    EXPECT_EQ(Widget(dialog.list).item(1)->toolTip().toStdString(), longLine);
    EXPECT_EQ(dialog.list.GetSelectEntryPos(), ListBox::kNoSelection);

    std::vector<int> selected;
    int doubleClicks = 0;
    dialog.list.SetSelectHdl([&](ListBox &box) {
        selected.push_back(box.GetSelectEntryPos());
        return 1L;
    });
    dialog.list.SetDoubleClickHdl([&](ListBox &) { return long(++doubleClicks); });
    dialog.list.SelectEntryPos(1);
    dialog.Show();
    QListWidget &list = Widget(dialog.list);
    const QPoint first = list.visualItemRect(list.item(0)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(selected, (std::vector<int>{1, 0}));
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(dialog.list.GetEntry(dialog.list.GetSelectEntryPos()), "first");
}

TEST_F(ListDialogTest, AReadOnlyEditKeepsItsTextButLetsTheKeyboardSelectAndCopyIt)
{
    dialog.edit.SetReadOnly();
    dialog.edit.SetText("the server's whole reason");
    dialog.Show();
    auto *edit = static_cast<QPlainTextEdit *>(dialog.edit.Widget());
    edit->setFocus();
    QTest::keyClicks(edit, "typed");
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(dialog.edit.GetText(), "the server's whole reason");
    EXPECT_TRUE(dialog.edit.IsReadOnly());

    QApplication::clipboard()->clear();
    QTest::keyClick(edit, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard::GetText(), "the server's whole reason");
}

TEST_F(ListDialogTest, AWrappingTextGrowsDownwardAsItsWidthShrinks)
{
    dialog.text.SetText("The restore of a rather long object name failed. Continue with the next "
                        "object, or abort the run?");
    const int oneLine = dialog.text.HeightFor(10000);
    dialog.text.SetWrapping();
    EXPECT_EQ(dialog.text.HeightFor(10000), oneLine);
    EXPECT_GE(dialog.text.HeightFor(120), 3 * oneLine);
    EXPECT_GT(dialog.text.HeightFor(120), dialog.text.HeightFor(300));
}

TEST_F(ListDialogTest, APushButtonCallsItsHandlerAndLeavesTheDialogOpen)
{
    int clicks = 0;
    dialog.copy.SetClickHdl([&](Control &) { return long(++clicks); });
    EXPECT_EQ(dialog.copy.GetText(), "&Copy");
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(dialog.copy.Button(), Qt::LeftButton);
        EXPECT_TRUE(dialog.IsInExecute());
        dialog.ok.Click();
    });
    EXPECT_EQ(dialog.Execute(), 1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ListDialogTest, AResizableDialogGrowsFromItsResourceSizeButNeverBelowIt)
{
    DialogUnits units;
    const Size start = units.ToPixelSize(160, 120);
    EXPECT_EQ(dialog.StartSize(), start);
    dialog.Show();
    dialog.SetSizePixel({start.width + 100, start.height + 50});
    QApplication::processEvents();
    EXPECT_EQ(dialog.GetSizePixel(), start) << "a dialog is of fixed size until made resizable";

    dialog.SetResizable();
    dialog.resizes = 0;
    dialog.SetSizePixel({start.width + 100, start.height + 50});
    QApplication::processEvents();
    EXPECT_EQ(dialog.GetSizePixel(), (Size{start.width + 100, start.height + 50}));
    EXPECT_GE(dialog.resizes, 1);
    dialog.SetSizePixel({start.width - 40, start.height - 30});
    QApplication::processEvents();
    EXPECT_EQ(dialog.GetSizePixel(), start);
}

TEST_F(ListDialogTest, ControlsArePlacedRelativeToTheirResourcePlace)
{
    DialogUnits units;
    const Rectangle edit = dialog.edit.ResourceRect();
    EXPECT_EQ(edit, Rectangle::FromPosSize(units.ToPixel(5, 70), units.ToPixelSize(150, 30)));
    dialog.edit.PlaceFromResource({3, 40}, {100, 20});
    EXPECT_EQ(dialog.edit.GetPosPixel(), (Point{edit.left + 3, edit.top + 40}));
    EXPECT_EQ(dialog.edit.GetSizePixel(), (Size{edit.Width() + 100, edit.Height() + 20}));
}
