// "TARVIK Release Notes": the notes from the string resource with their closing line break, the
// second character selected and OK in focus, centred over the main window.
#include <QApplication>
#include <QDialog>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/ReleaseNotesDialog.h"
#include "res/ResourceIds.h"
#include "tests/res/InstalledResources.h"
#include "tests/support/gui/PlacedWindow.h"
#include "toolkit/MultiLineEdit.h"
#include "toolkit/OKButton.h"

namespace
{

class ReleaseNotesDialogTest : public InstalledResources
{
  protected:
    static QPlainTextEdit *Notes(Dialog &dialog)
    {
        return static_cast<QPlainTextEdit *>(
            dialog.Find<MultiLineEdit>(ResId(kReleaseNotesText))->Widget());
    }

    PlacedWindow mainWindow{{100, 100}, {800, 600}};
};

} // namespace

TEST_F(ReleaseNotesDialogTest, ShowsTheNotesWithAnEmptyLastLineAndTheSecondCharacterSelected)
{
    ReleaseNotesDialog dialog(&mainWindow);
    EXPECT_EQ(dialog.GetText(), "TARVIK Release Notes");
    const QTextDocument *document = Notes(dialog)->document();
    ASSERT_EQ(document->blockCount(), 2);
    EXPECT_EQ(document->firstBlock().text(), "TARVIK V1.0 (Pre-release 2)");
    EXPECT_EQ(document->lastBlock().text(), "");

    auto &notes = *dialog.Find<MultiLineEdit>(ResId(kReleaseNotesText));
    EXPECT_EQ(notes.SelectionStart(), 1);
    EXPECT_EQ(notes.SelectionEnd(), 2);
    EXPECT_EQ(Notes(dialog)->textCursor().selectedText(), "A");
}

TEST_F(ReleaseNotesDialogTest, OkHasTheFocusWhenShown)
{
    ReleaseNotesDialog dialog(&mainWindow);
    QWidget *ok = dialog.Find<OKButton>(ResId(kOKButton))->Widget();
    QWidget *focused = nullptr;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.QtDialog()));
        focused = QApplication::focusWidget();
        dialog.Find<OKButton>(ResId(kOKButton))->Click();
    });
    EXPECT_EQ(dialog.Execute(), 1);
    EXPECT_EQ(focused, ok);
}

TEST_F(ReleaseNotesDialogTest, StandsCentredOverTheMainWindow)
{
    for (Size outer : {Size{800, 600}, Size{51, 31}}) {
        mainWindow.SetSizePixel(outer);
        ReleaseNotesDialog dialog(&mainWindow);
        Size own = dialog.GetSizePixel();
        EXPECT_EQ(dialog.GetPosPixel(), (Point{100 + (outer.width - own.width) / 2,
                                               100 + (outer.height - own.height) / 2}));
    }
}

TEST_F(ReleaseNotesDialogTest, TheNotesCannotBeEditedButCanBeSelected)
{
    ReleaseNotesDialog dialog(&mainWindow);
    QPlainTextEdit *notes = Notes(dialog);
    const QString before = notes->toPlainText();
    QTest::keyClicks(notes, "typed");
    QTest::keyClick(notes, Qt::Key_Delete);
    QTest::keyClick(notes, Qt::Key_Backspace);
    EXPECT_EQ(notes->toPlainText(), before);
    QTest::keyClick(notes, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(notes->textCursor().selectedText().size(), before.size());
}
