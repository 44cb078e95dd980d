// The "Restore" result list: its final and prompt forms, lines in the order they were added with
// their pictures, and its place relative to the main window.
#include <QAccessible>
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QListWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include "res/ResourceIds.h"
#include "restore/RestoreResultDialog.h"
#include "tests/res/InstalledResources.h"
#include "tests/support/gui/PlacedWindow.h"
#include "tests/support/gui/TextFitChecks.h"
#include "toolkit/Bitmap.h"
#include "toolkit/DialogUnits.h"

namespace
{

QImage Comparable(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

class RestoreResultDialogTest : public InstalledResources
{
  protected:
    static OKButton &Ok(Dialog &dialog) { return *dialog.Find<OKButton>(ResId(kOKButton)); }
    static CancelButton &Cancel(Dialog &dialog)
    {
        return *dialog.Find<CancelButton>(ResId(kCancelButton));
    }
    static QListWidget &List(Dialog &dialog)
    {
        return *static_cast<QListWidget *>(dialog.Find<ListBox>(ResId(kRestoreResults))->Widget());
    }
    static QImage PictureOf(Dialog &dialog, int row)
    {
        return Comparable(List(dialog).item(row)->icon().pixmap(QSize(12, 12)));
    }

    PlacedWindow mainWindow{{200, 150}, {700, 500}};
};

} // namespace

TEST_F(RestoreResultDialogTest, FinalFormShowsOnlyOkWithItsOwnText)
{
    RestoreResultDialog dialog(&mainWindow);
    dialog.SetPromptMode(true);
    dialog.Show();
    EXPECT_EQ(dialog.GetText(), "Restore");
    EXPECT_TRUE(Ok(dialog).IsVisible());
    EXPECT_EQ(Ok(dialog).GetText(), "OK");
    EXPECT_FALSE(Cancel(dialog).IsVisible());
}

TEST_F(RestoreResultDialogTest, PromptFormAsksContinueOrAbort)
{
    RestoreResultDialog dialog(&mainWindow);
    dialog.SetPromptMode(false);
    dialog.Show();
    EXPECT_TRUE(Ok(dialog).IsVisible());
    EXPECT_TRUE(Cancel(dialog).IsVisible());
    EXPECT_EQ(Ok(dialog).GetText(), "Continue");
    EXPECT_EQ(Cancel(dialog).GetText(), "Abort");
}

// The real modal loop, closed from inside by a click on "Continue" or "Abort".
TEST_F(RestoreResultDialogTest, ContinueAndAbortEndThePromptWithOneAndZero)
{
    for (bool pressContinue : {true, false}) {
        RestoreResultDialog dialog(&mainWindow);
        dialog.SetPromptMode(false);
        QTimer::singleShot(0, [&] {
            ASSERT_TRUE(dialog.IsInExecute());
            (pressContinue ? Ok(dialog) : Cancel(dialog)).Click();
        });
        EXPECT_EQ(dialog.Execute(), pressContinue ? 1 : 0);
    }
}

TEST_F(RestoreResultDialogTest, AppendsLinesInOrderWithTheirPicturesUnsorted)
{
    const QImage good = Comparable(Bitmap(ResId(kBitmapRestGood)).Pixmap());
    const QImage fail = Comparable(Bitmap(ResId(kBitmapRestFail)).Pixmap());
    ASSERT_EQ(good.size(), QSize(12, 12));
    ASSERT_EQ(fail.size(), QSize(12, 12));
    ASSERT_NE(good, fail);

    RestoreResultDialog dialog(&mainWindow);
    dialog.SetPromptMode(true);
    dialog.AddResultLine("Zeta.Marrowby", true);
    dialog.AddResultLine("Alpha.Marrowby - failed on Object 'M'", false);
    dialog.AddResultLine("Mid.Marrowby", true);

    QListWidget &list = List(dialog);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.item(0)->text(), "Zeta.Marrowby");
    EXPECT_EQ(list.item(1)->text(), "Alpha.Marrowby - failed on Object 'M'");
    EXPECT_EQ(list.item(2)->text(), "Mid.Marrowby");
    EXPECT_EQ(PictureOf(dialog, 0), good);
    EXPECT_EQ(PictureOf(dialog, 1), fail);
    EXPECT_EQ(PictureOf(dialog, 2), good);
}

TEST_F(RestoreResultDialogTest, KeepsItsResourcePlaceRelativeToTheParent)
{
    RestoreResultDialog dialog(&mainWindow);
    Point origin = mainWindow.ScreenPos();
    Point offset = DialogUnits().ToPixel(60, 11);
    EXPECT_EQ(dialog.GetPosPixel(), (Point{origin.x + offset.x, origin.y + offset.y}));
}

TEST_F(RestoreResultDialogTest, ShowsContinueAndAbortWhole)
{
    RestoreResultDialog dialog(&mainWindow);
    dialog.SetPromptMode(false);
    ExpectTextsFit(dialog);
}

// A screen reader hears whether each object was restored, not only the picture beside it.
TEST_F(RestoreResultDialogTest, AssistiveToolsReadEachLineAsRestoredOrFailedWithTheReason)
{
    RestoreResultDialog dialog(&mainWindow);
    dialog.SetPromptMode(true);
    dialog.AddResultLine("Zeta.Marrowby", true);
    dialog.AddResultLine("Alpha.Marrowby - failed on Object 'Locked by the server'", false);
    dialog.Show();
    QApplication::processEvents();

    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&List(dialog));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->childCount(), 2);
    EXPECT_EQ(list->child(0)->text(QAccessible::Name).toStdString(), "restored: Zeta.Marrowby");
    EXPECT_EQ(list->child(1)->text(QAccessible::Name).toStdString(),
              "Alpha.Marrowby - failed on Object 'Locked by the server'");
    EXPECT_EQ(List(dialog).item(0)->text(), "Zeta.Marrowby"); // on screen as before
}
