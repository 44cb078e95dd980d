// The "Restore" result list: its final and prompt forms, lines in the order they were added with
// their pictures, and its place relative to the main window; the prompt's question, the note on
// objects still marked, the selected line whole, Save... and Copy, and its layout at any size.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QImage>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest/QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "report/ReportTime.h"
#include "report/RunReport.h"
#include "report/RunReportJson.h"
#include "res/ResourceIds.h"
#include "restore/RestoreResultDialog.h"
#include "tests/mwlib/TempDir.h"
#include "tests/res/InstalledResources.h"
#include "tests/support/gui/ModalScript.h"
#include "tests/support/gui/PlacedWindow.h"
#include "tests/support/gui/TextFitChecks.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Clipboard.h"
#include "toolkit/DialogUnits.h"
#include "toolkit/MessageBox.h"

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

namespace
{

class ResultListTest : public RestoreResultDialogTest
{
  protected:
    static FixedText &Question(Dialog &d) { return *d.Find<FixedText>(ResId(kRestoreQuestion)); }
    static FixedText &StillMarked(Dialog &d)
    {
        return *d.Find<FixedText>(ResId(kRestoreStillMarked));
    }
    static MultiLineEdit &WholeLine(Dialog &d)
    {
        return *d.Find<MultiLineEdit>(ResId(kRestoreWholeLine));
    }
    static ListBox &Lines(Dialog &d) { return *d.Find<ListBox>(ResId(kRestoreResults)); }
    static PushButton &Save(Dialog &d) { return *d.Find<PushButton>(ResId(kRestoreSave)); }
    static PushButton &Copy(Dialog &d) { return *d.Find<PushButton>(ResId(kRestoreCopy)); }
    static Rectangle Place(const Window &control)
    {
        return Rectangle::FromPosSize(control.GetPosPixel(), control.GetSizePixel());
    }
    // Every shown control's place, for checks on the layout.
    static std::vector<Rectangle> ShownPlaces(Dialog &d)
    {
        std::vector<Rectangle> places;
        for (Window *control : std::initializer_list<Window *>{
                 &Question(d), &Lines(d), &StillMarked(d), &WholeLine(d), &Save(d), &Copy(d),
                 &Ok(d), &Cancel(d)}) {
            if (control->IsVisible()) {
                places.push_back(Place(*control));
            }
        }
        return places;
    }

    RunReport report = [] {
        RunReport r;
        r.started = 1714741330;
        r.ended = 1714741395;
        r.server = "FS1";
        r.user = "admin";
        r.objects = {MakeReportedObject("Printer.Marrowby", 0, false, 0, "", ""),
                     MakeReportedObject("Sales, East.Marrowby", 0, true, 5, "Locked \"now\"", "")};
        return r;
    }();
};

} // namespace

TEST_F(ResultListTest, OffersSaveAndCopyOnlyInTheFinalFormOfARunsRecord)
{
    const struct {
        bool finalForm;
        bool withReport;
        bool offered;
    } cases[] = {{true, true, true}, {true, false, false}, {false, false, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.finalForm) + std::to_string(c.withReport));
        RestoreResultDialog dialog(&mainWindow);
        dialog.SetPromptMode(c.finalForm);
        if (c.withReport) {
            dialog.SetReport(&report);
        }
        dialog.Show();
        EXPECT_EQ(Save(dialog).IsVisible(), c.offered);
        EXPECT_EQ(Copy(dialog).IsVisible(), c.offered);
        EXPECT_EQ(Save(dialog).GetText(), "&Save...");
        EXPECT_EQ(Copy(dialog).GetText(), "&Copy");
    }
}

TEST_F(ResultListTest, ThePromptAsksAboveTheListWhatItsButtonsAnswer)
{
    RestoreResultDialog dialog(&mainWindow);
    dialog.SetPromptMode(false);
    dialog.AddResultLine("L1.Locked.Marrowby - failed on Object 'busy'", false);
    dialog.AskAbout("L1.Locked.Marrowby");
    dialog.Show();
    EXPECT_TRUE(Question(dialog).IsVisible());
    EXPECT_EQ(Question(dialog).GetText(), "The restore of L1.Locked.Marrowby failed. Continue with "
                                          "the next object, or abort the run?");
    EXPECT_LT(Place(Question(dialog)).bottom, Place(Lines(dialog)).top);
    EXPECT_FALSE(StillMarked(dialog).IsVisible());
    ExpectTextsFit(dialog);

    dialog.SetPromptMode(true);
    EXPECT_FALSE(Question(dialog).IsVisible());
}

TEST_F(ResultListTest, SaysBelowTheListHowManyObjectsAreStillMarked)
{
    const struct {
        std::size_t count;
        std::string text;
    } cases[] = {
        {0, ""},
        {1, "1 object was not restored and is still marked."},
        {3, "3 objects were not restored and are still marked."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.count);
        RestoreResultDialog dialog(&mainWindow);
        dialog.SetPromptMode(true);
        dialog.AddResultLine("A.Marrowby - failed on Object 'x'", false);
        dialog.SetStillMarked(c.count);
        dialog.Show();
        EXPECT_EQ(StillMarked(dialog).IsVisible(), c.count > 0);
        EXPECT_EQ(StillMarked(dialog).GetText(), c.text);
        if (c.count > 0) {
            EXPECT_LT(Place(Lines(dialog)).bottom, Place(StillMarked(dialog)).top);
            EXPECT_LT(Place(StillMarked(dialog)).bottom, Place(WholeLine(dialog)).top);
            ExpectTextsFit(dialog);
        }
    }
}

TEST_F(ResultListTest, TheSelectedLineStandsWholeBelowTheListAndEveryLineHasItsWholeTextAsTip)
{
    const std::string failure = "L1.Locked.Marrowby - failed on Object 'Object \"cn=L1,ou=Locked,"
                                "o=Marrowby\" cannot be added: insufficient access rights to the "
                                "parent entry, as the server's own words say at some length'";
    RestoreResultDialog dialog(&mainWindow);
    dialog.SetPromptMode(false);
    dialog.AddResultLine("First.Marrowby", true);
    dialog.AddResultLine(failure, false);
    dialog.AddResultLine("Third.Marrowby", true);
    dialog.Show();
    // The failure was selected when it came, so its reason reads at once.
    EXPECT_EQ(Lines(dialog).GetSelectEntryPos(), 1);
    EXPECT_EQ(WholeLine(dialog).GetText(), failure);
    EXPECT_TRUE(WholeLine(dialog).IsReadOnly());
    EXPECT_EQ(List(dialog).item(1)->toolTip().toStdString(), failure);
    EXPECT_EQ(List(dialog).item(0)->toolTip().toStdString(), "First.Marrowby");

    QTest::mouseClick(List(dialog).viewport(), Qt::LeftButton, {},
                      List(dialog).visualItemRect(List(dialog).item(2)).center());
    EXPECT_EQ(WholeLine(dialog).GetText(), "Third.Marrowby");
    // Wrapping, not a horizontal scroll bar, shows the whole reason.
    auto *area = static_cast<QPlainTextEdit *>(WholeLine(dialog).Widget());
    EXPECT_EQ(area->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

TEST_F(ResultListTest, StartsAtItsResourcePlacesAndTheListTakesWhatTheDialogGrows)
{
    RestoreResultDialog dialog(&mainWindow);
    dialog.SetPromptMode(false);
    dialog.AddResultLine("A.Marrowby - failed on Object 'x'", false);
    dialog.AskAbout("A.Marrowby");
    dialog.Show();
    const Size start = dialog.StartSize();
    EXPECT_EQ(dialog.GetSizePixel(), start);
    for (Control *control : std::initializer_list<Control *>{&Question(dialog), &WholeLine(dialog),
                                                             &Ok(dialog), &Cancel(dialog)}) {
        EXPECT_EQ(Place(*control), control->ResourceRect());
    }
    // The prompt has no note on marks: the list reaches down to its line.
    Rectangle expectedList = Lines(dialog).ResourceRect();
    expectedList.bottom = StillMarked(dialog).ResourceRect().bottom;
    EXPECT_EQ(Place(Lines(dialog)), expectedList);

    const Rectangle list = Place(Lines(dialog));
    const Rectangle whole = Place(WholeLine(dialog));
    const Rectangle ok = Place(Ok(dialog));
    dialog.SetSizePixel({start.width + 300, start.height + 240});
    QApplication::processEvents();
    EXPECT_EQ(dialog.GetSizePixel(), (Size{start.width + 300, start.height + 240}));
    EXPECT_EQ(Place(Lines(dialog)).Width(), list.Width() + 300);
    EXPECT_EQ(Place(Lines(dialog)).Height(), list.Height() + 160); // two thirds of the growth
    EXPECT_EQ(Place(WholeLine(dialog)).Height(), whole.Height() + 80);
    EXPECT_EQ(Place(WholeLine(dialog)).Width(), whole.Width() + 300);
    EXPECT_EQ(Place(Ok(dialog)).left, ok.left + 300);
    EXPECT_EQ(Place(Ok(dialog)).top, ok.top + 240);
    const std::vector<Rectangle> places = ShownPlaces(dialog);
    for (std::size_t i = 0; i < places.size(); ++i) {
        for (std::size_t j = i + 1; j < places.size(); ++j) {
            EXPECT_FALSE(places[i].Overlaps(places[j])) << i << " and " << j;
        }
    }

    // Never smaller than it started.
    dialog.SetSizePixel({start.width - 50, start.height - 50});
    QApplication::processEvents();
    EXPECT_EQ(dialog.GetSizePixel(), start);
}

// The final form has no Abort under OK: its buttons stand in Abort's row at the bottom, and the
// list and what stands below it move down as far, so no empty band is left under the buttons.
TEST_F(ResultListTest, TheFinalFormsListStartsAtTheTopAndTakesTheNotesLineWhenThereIsNone)
{
    for (std::size_t stillMarked : {0u, 2u}) {
        SCOPED_TRACE(stillMarked);
        RestoreResultDialog dialog(&mainWindow);
        dialog.SetPromptMode(true);
        dialog.SetStillMarked(stillMarked);
        dialog.SetReport(&report);
        dialog.Show();
        const int lowered = Cancel(dialog).ResourceRect().top - Ok(dialog).ResourceRect().top;
        for (Control *button :
             std::initializer_list<Control *>{&Save(dialog), &Copy(dialog), &Ok(dialog)}) {
            EXPECT_EQ(Place(*button).bottom, Cancel(dialog).ResourceRect().bottom);
        }
        EXPECT_EQ(Place(WholeLine(dialog)).top, WholeLine(dialog).ResourceRect().top + lowered);
        const Rectangle list = Place(Lines(dialog));
        EXPECT_EQ(list.top, DialogUnits().ToPixelY(5));
        const Rectangle note = StillMarked(dialog).ResourceRect();
        EXPECT_EQ(list.bottom,
                  (stillMarked ? Lines(dialog).ResourceRect().bottom : note.bottom) + lowered);
        const std::vector<Rectangle> places = ShownPlaces(dialog);
        for (std::size_t i = 0; i < places.size(); ++i) {
            for (std::size_t j = i + 1; j < places.size(); ++j) {
                EXPECT_FALSE(places[i].Overlaps(places[j])) << i << " and " << j;
            }
        }
    }
}

// A name that fills several lines: the question wraps and the list moves down for it.
TEST_F(ResultListTest, ALongQuestionWrapsAndPushesTheListDown)
{
    std::string name;
    for (int level = 0; level < 12; ++level) {
        name += "Department-" + std::to_string(level) + ".";
    }
    name += "Marrowby";
    RestoreResultDialog dialog(&mainWindow);
    dialog.SetPromptMode(false);
    dialog.AskAbout(name);
    dialog.Show();
    EXPECT_GT(Place(Question(dialog)).Height(), Question(dialog).ResourceRect().Height());
    EXPECT_LT(Place(Question(dialog)).bottom, Place(Lines(dialog)).top);
    EXPECT_GT(Place(Lines(dialog)).Height(), 0);
}

TEST_F(ResultListTest, SaveWritesTheChosenFileAndCopyPutsTheRunOnTheClipboard)
{
    TempDir folder;
    RestoreResultDialog dialog(&mainWindow);
    dialog.SetPromptMode(true);
    dialog.SetReport(&report);
    ModalScript script;
    script.ExpectSaveFileDialog(folder.Path("run.json"));
    script.ExpectSaveFileDialog(""); // cancelled: nothing is written
    EXPECT_EQ(dialog.DoneText(), "");
    Save(dialog).Click();
    EXPECT_EQ(dialog.DoneText(), "Saved 2 lines to " + folder.Path("run.json"));
    Save(dialog).Click();
    EXPECT_EQ(dialog.DoneText(), "Saved 2 lines to " + folder.Path("run.json"))
        << "a cancelled Save says nothing new";
    ASSERT_EQ(script.Steps().size(), 2u);
    EXPECT_EQ(std::filesystem::path(script.Steps()[0].text).filename(),
              "restore-run-" + IsoTime(report.started).substr(0, 10) + "-" +
                  IsoTime(report.started).substr(11, 2) + IsoTime(report.started).substr(14, 2) +
                  IsoTime(report.started).substr(17, 2) + ".csv");
    std::ifstream in(folder.Path("run.json"));
    std::stringstream saved;
    saved << in.rdbuf();
    std::optional<RunReport> read = RunReportFromJson(saved.str());
    ASSERT_TRUE(read.has_value()) << saved.str();
    EXPECT_EQ(read->objects.size(), 2u);
    EXPECT_EQ(read->objects[1].message, "Locked \"now\"");

    QApplication::clipboard()->clear();
    Copy(dialog).Click();
    EXPECT_EQ(dialog.DoneText(), "Copied 2 lines to the clipboard");
    const std::string copied = Clipboard::GetText();
    EXPECT_EQ(copied.substr(0, copied.find('\n')),
              "Started\tEnded\tServer\tUser\tOn error\tRun\tObject\tVersion\tScope\tOutcome\t"
              "Message\tNote");
    EXPECT_EQ(std::count(copied.begin(), copied.end(), '\n'), 3);
    EXPECT_NE(copied.find("\tSales, East.Marrowby\tmost recent\twith its subtree\tfailed\tLocked "
                          "\"now\"\t"),
              std::string::npos)
        << copied;
}

// The error names the file and the reason, and the list stays open for another try.
TEST_F(ResultListTest, AFileThatCannotBeWrittenGivesAnErrorAndTheListStaysOpen)
{
    TempDir folder;
    folder.Write("plain-file", "x");
    const std::string path = folder.Path("plain-file/run.csv");
    RestoreResultDialog dialog(&mainWindow);
    dialog.SetPromptMode(true);
    dialog.SetReport(&report);
    dialog.Show();
    ModalScript script;
    script.ExpectSaveFileDialog(path);
    script.ExpectBox(ModalKind::ErrorBox,
                     "Unable to save the results to " + path + ":\nNot a directory", RET_OK);
    Save(dialog).Click();
    EXPECT_TRUE(dialog.IsVisible());
    EXPECT_EQ(dialog.DoneText(), "") << "a failed Save is not said to have saved";
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_EQ(script.Steps().back().parent, &dialog);
}

// Copy used, with the mouse or its key, leaves Return with OK: it ends the list instead of copying
// again.
TEST_F(ResultListTest, ReturnAfterCopyIsOkAndTheNoteTakesALineOfItsOwn)
{
    RestoreResultDialog dialog(&mainWindow);
    dialog.SetPromptMode(true);
    dialog.SetReport(&report);
    const Rectangle wholeLine = Place(WholeLine(dialog));
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(Copy(dialog).Button(), Qt::LeftButton);
        Copy(dialog).GrabFocus(); // as its key Alt+C leaves it
        EXPECT_TRUE(dialog.IsInExecute());
        const Rectangle note = Place(*dialog.Find<FixedText>(ResId(kRestoreDone)));
        EXPECT_TRUE(dialog.Find<FixedText>(ResId(kRestoreDone))->IsVisible());
        EXPECT_LT(Place(WholeLine(dialog)).bottom, note.top) << "the whole line gives way";
        EXPECT_EQ(Place(WholeLine(dialog)).top, wholeLine.top);
        EXPECT_LT(note.bottom, Place(Copy(dialog)).top);
        QTest::keyClick(Copy(dialog).Button(), Qt::Key_Return);
    });
    // Should Return have copied again, the list would stay: it is ended as a failure instead.
    QTimer::singleShot(5000, [&] {
        if (dialog.IsInExecute()) {
            dialog.EndDialog(7);
        }
    });
    EXPECT_EQ(dialog.Execute(), 1);
    EXPECT_EQ(dialog.DoneText(), "Copied 2 lines to the clipboard");
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
