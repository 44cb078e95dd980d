// What the window keeps of every restore run: the record in the journal of past runs (who ran it
// where, how it ended, each object's outcome), the prompt's question and the note on objects
// still marked, and Past Runs, which lists the journal's runs and shows each one's list again.
#include <QTreeWidget>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "report/ResultLine.h"
#include "report/RunJournal.h"
#include "restore/PastRunsDialog.h"
#include "restore/RestoreResultDialog.h"
#include "restore/RestoreRun.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/mwlib/TempDir.h"
#include "tests/support/core/ScopedEnvironment.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/FixedText.h"
#include "toolkit/International.h"
#include "toolkit/ListBox.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/PushButton.h"
#include "toolkit/RadioButton.h"
#include "toolkit/ResultTable.h"

namespace
{

// A data folder of the test's own: the window's journal is in it.
struct DataFolder {
    TempDir folder;
    ScopedEnvironment xdg{"XDG_DATA_HOME", folder.Path("").c_str()};
    RunJournal journal{folder.Path("tarvik/runs.jsonl")};
};

// What one result list showed.
struct ShownList {
    std::vector<std::string> lines;
    std::string question;    // empty when hidden
    std::string stillMarked; // empty when hidden
    bool saveOffered = false;
};

// The Past Runs table's rows as shown, cell by cell.
std::vector<std::vector<std::string>> Rows(ModalDialog &dialog)
{
    ResultTable *table = dialog.Find<ResultTable>(ResId(kPastRunsList));
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < table->RowCount(); ++row) {
        rows.emplace_back();
        for (int column = 0; column <= PastRunsDialog::EndedColumn; ++column) {
            rows.back().push_back(table->CellText(row, column));
        }
    }
    return rows;
}

ModalScript::Action Read(std::vector<ShownList> &seen)
{
    return [&seen](ModalDialog &dialog) {
        ShownList list;
        ListBox *box = dialog.Find<ListBox>(ResId(kRestoreResults));
        for (int i = 0; i < box->GetEntryCount(); ++i) {
            list.lines.push_back(box->GetEntry(i));
        }
        auto *question = dialog.Find<FixedText>(ResId(kRestoreQuestion));
        auto *note = dialog.Find<FixedText>(ResId(kRestoreStillMarked));
        list.question = question->Widget()->isHidden() ? "" : question->GetText();
        list.stillMarked = note->Widget()->isHidden() ? "" : note->GetText();
        list.saveOffered = !dialog.Find<PushButton>(ResId(kRestoreSave))->Widget()->isHidden();
        seen.push_back(list);
    };
}

ModalScript::Action Choose(uint16_t radio)
{
    return [radio](ModalDialog &dialog) { dialog.Find<RadioButton>(ResId(radio))->Click(); };
}

// Rows after opening Sales: 0 Marrowby, 1 Admin, 2 Printer, 3 Sales, 4 Ann, 5 Bob, 6 East.
void MarkPrinterAnnAndBob(MainWindowFixture &f)
{
    f.DoubleClick(3);
    f.ClickBox(2);
    f.ClickBox(4);
    f.ClickBox(5);
}

std::vector<RunReport> JournalRuns(const RunJournal &journal)
{
    std::vector<RunReport> runs;
    for (const JournalEntry &entry : journal.List().entries) {
        std::string error;
        std::optional<RunReport> run = journal.Read(entry, error);
        EXPECT_TRUE(run.has_value()) << error;
        if (run) {
            runs.push_back(*run);
        }
    }
    return runs;
}

} // namespace

TEST(RunRecord, EveryRunGoesToTheJournalWithWhoRanItWhereAndEachOutcome)
{
    DataFolder data;
    MainWindowFixture f;
    f.script.SetRestoreOutcome("Printer.Marrowby", 5, "Disk full, \"really\"");
    f.DoubleClick(3);
    f.ClickBox(2); // Printer
    f.ClickBox(3); // Sales with its subtree
    f.ItemAt(3)->SetChosenVersion(1700000000);
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1);
    const int64_t before = std::time(nullptr);
    f.menuBar.Select(kMenuItemRestore);
    const int64_t after = std::time(nullptr);

    const std::vector<RunReport> runs = JournalRuns(data.journal);
    ASSERT_EQ(runs.size(), 1u);
    const RunReport &run = runs[0];
    EXPECT_GE(run.started, before);
    EXPECT_LE(run.started, run.ended);
    EXPECT_LE(run.ended, after);
    EXPECT_EQ(run.server, "FS1");
    EXPECT_EQ(run.user, ServerLogin::DefaultUser);
    EXPECT_EQ(run.onError, OnErrorContinue);
    EXPECT_TRUE(run.ranToEnd);
    ASSERT_EQ(run.objects.size(), 2u);
    EXPECT_EQ(run.objects[0].name, "Printer.Marrowby");
    EXPECT_EQ(run.objects[0].status, 5);
    EXPECT_EQ(run.objects[0].message, "Disk full, \"really\"");
    EXPECT_FALSE(run.objects[0].withSubtree); // a leaf is restored alone
    EXPECT_EQ(run.objects[0].version, 0u);
    EXPECT_EQ(run.objects[1].name, "Sales.Marrowby");
    EXPECT_TRUE(run.objects[1].Restored());
    EXPECT_TRUE(run.objects[1].withSubtree);
    EXPECT_EQ(run.objects[1].version, 1700000000u);
}

TEST(RunRecord, AStoppedRunIsKeptAsStopped)
{
    const struct {
        uint16_t choice;
        int promptAnswer; // -1: no prompt
        bool finalList;
    } cases[] = {
        {kRestoreObjectsEnd, -1, true},      // "End" shows the list and stops
        {kRestoreObjectsAskUser, 0, false},  // "Abort" at the prompt
        {kRestoreObjectsAskUser, 1, true},   // "Continue" goes to the end
        {kRestoreObjectsContinue, -1, true}, // never asks
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.choice * 10 + c.promptAnswer);
        DataFolder data;
        MainWindowFixture f;
        f.script.SetRestoreOutcome("Printer.Marrowby", 5, "Disk full");
        MarkPrinterAnnAndBob(f);
        ModalScript script;
        std::vector<ShownList> lists;
        script.ExpectDialog(kDialogRestoreObjects, 1, Choose(c.choice));
        if (c.promptAnswer >= 0) {
            script.ExpectDialog(kDialogRestore, c.promptAnswer, Read(lists));
        }
        if (c.finalList) {
            script.ExpectDialog(kDialogRestore, 1, Read(lists));
        }
        f.menuBar.Select(kMenuItemRestore);

        const bool stopped = c.choice == kRestoreObjectsEnd || c.promptAnswer == 0;
        const std::vector<RunReport> runs = JournalRuns(data.journal);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].ranToEnd, !stopped);
        EXPECT_EQ(runs[0].objects.size(), stopped ? 1u : 3u);
        if (c.promptAnswer >= 0) {
            EXPECT_EQ(lists.front().question, "The restore of Printer.Marrowby failed. Continue "
                                              "with the next object, or abort the run?");
            EXPECT_FALSE(lists.front().saveOffered);
        }
        if (c.finalList) {
            EXPECT_EQ(lists.back().question, "");
            EXPECT_TRUE(lists.back().saveOffered);
        }
    }
}

TEST(RunRecord, TheFinalListSaysHowManyObjectsAreStillMarked)
{
    const struct {
        std::vector<std::string> failing;
        uint16_t choice;
        std::string note;
    } cases[] = {
        {{}, kRestoreObjectsContinue, ""},
        {{"Ann.Sales.Marrowby"},
         kRestoreObjectsContinue,
         "1 object was not restored and is still marked."},
        {{"Printer.Marrowby", "Ann.Sales.Marrowby", "Bob.Sales.Marrowby"},
         kRestoreObjectsContinue,
         "3 objects were not restored and are still marked."},
        // "End" stops at the first failure: the two not reached keep their marks too.
        {{"Printer.Marrowby"},
         kRestoreObjectsEnd,
         "3 objects were not restored and are still marked."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.note);
        DataFolder data;
        MainWindowFixture f;
        for (const std::string &name : c.failing) {
            f.script.SetRestoreOutcome(name, 7, "Locked");
        }
        MarkPrinterAnnAndBob(f);
        ModalScript script;
        std::vector<ShownList> lists;
        script.ExpectDialog(kDialogRestoreObjects, 1, Choose(c.choice));
        script.ExpectDialog(kDialogRestore, 1, Read(lists));
        f.menuBar.Select(kMenuItemRestore);
        ASSERT_EQ(lists.size(), 1u);
        EXPECT_EQ(lists[0].stillMarked, c.note);
    }
}

TEST(RunRecord, AJournalThatCannotBeWrittenIsToldAndTheListStillShows)
{
    TempDir folder;
    folder.Write("tarvik", "a file where the program's folder should be");
    ScopedEnvironment xdg("XDG_DATA_HOME", folder.Path("").c_str());
    MainWindowFixture f;
    f.ClickBox(2);
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectBox(ModalKind::WarningBox,
                     "This run could not be added to the journal of past runs " +
                         folder.Path("tarvik/runs.jsonl") + ":\nNot a directory",
                     RET_OK);
    script.ExpectDialog(kDialogRestore, 1);
    f.menuBar.Select(kMenuItemRestore);
}

// The list a past run opens reads as the run's own list did.
TEST(RunRecord, PastRunsShowsTheSameLinesTheRunShowed)
{
    DataFolder data;
    MainWindowFixture f;
    f.script.SetRestoreOutcome("Ann.Sales.Marrowby", 6, "Locked, by 'someone'");
    RestoreReport wrote;
    wrote.parentsAdded = {"Sales.Marrowby"};
    f.script.SetRestoreReport("Bob.Sales.Marrowby", wrote);
    MarkPrinterAnnAndBob(f);
    ModalScript script;
    std::vector<ShownList> lists;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1, Read(lists));
    f.menuBar.Select(kMenuItemRestore);

    std::vector<std::vector<std::string>> runs;
    std::string reopenedTitle;
    script.ExpectDialog(kDialogPastRuns, 1, [&](ModalDialog &dialog) {
        runs = Rows(dialog);
        dialog.Find<PushButton>(ResId(kPastRunsOpen))->Click();
    });
    script.ExpectDialog(kDialogRestore, 1, [&](ModalDialog &dialog) {
        reopenedTitle = dialog.GetText();
        Read(lists)(dialog);
    });
    f.menuBar.Select(kMenuItemPastRuns);

    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[1].lines, lists[0].lines);
    EXPECT_EQ(lists[0].lines.size(), 4u); // Printer, Ann, Sales added on the way, Bob
    EXPECT_TRUE(lists[1].saveOffered);
    EXPECT_EQ(lists[1].stillMarked, ""); // marks are the present's business, not the past's
    const JournalListing listing = data.journal.List();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], (std::vector<std::string>{FormatDateTime(listing.entries[0].run.started),
                                                 "FS1", ServerLogin::DefaultUser, "4", "3", "1",
                                                 "ran to the end"}));
    EXPECT_EQ(reopenedTitle,
              "Restore of " + FormatDateTime(listing.entries[0].run.started) + " on FS1");
}

TEST(RunRecord, PastRunsListsNewestFirstAndSaysWhatItLeftOut)
{
    DataFolder data;
    RunReport older;
    older.started = 1700000000;
    older.server = "OLD";
    older.objects = {MakeReportedObject("A.Marrowby", 0, false, 0, "", "")};
    RunReport newer = older;
    newer.started = 1700000600;
    newer.server = "NEW";
    newer.ranToEnd = false;
    ASSERT_EQ(data.journal.Append(newer), "");
    ASSERT_EQ(data.journal.Append(older), "");
    std::ofstream(data.journal.Path(), std::ios::app) << "{damaged\n";
    MainWindowFixture f;
    ModalScript script;
    std::vector<std::vector<std::string>> rows;
    std::string skipped;
    script.ExpectDialog(kDialogPastRuns, 1, [&](ModalDialog &dialog) {
        rows = Rows(dialog);
        skipped = dialog.Find<FixedText>(ResId(kPastRunsSkipped))->GetText();
    });
    f.menuBar.Select(kMenuItemPastRuns);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][PastRunsDialog::ServerColumn], "NEW");
    EXPECT_EQ(rows[0][PastRunsDialog::EndedColumn], "stopped");
    EXPECT_EQ(rows[1][PastRunsDialog::ServerColumn], "OLD");
    EXPECT_EQ(rows[1][PastRunsDialog::EndedColumn], "ran to the end");
    EXPECT_EQ(skipped, "1 damaged line of the journal was left out.");
}

// A click on a column's title sorts by it: times by time and counts by number, not as texts.
TEST(RunRecord, PastRunsSortsByTheColumnChosenTimesAndCountsAsTheyAre)
{
    DataFolder data;
    std::vector<RunReport> runs(3);
    const std::vector<std::size_t> sizes = {9, 10, 2};
    // Started on 9 and 10 December: as texts, "10 ..." would sort before "9 ...".
    const std::vector<int64_t> starts = {1765238400 + 3600, 1765324800 + 3600, 1765411200 + 3600};
    for (std::size_t i = 0; i < runs.size(); ++i) {
        runs[i].started = starts[i];
        runs[i].server = "S" + std::to_string(i);
        for (std::size_t n = 0; n < sizes[i]; ++n) {
            runs[i].objects.push_back(
                MakeReportedObject("O" + std::to_string(n) + ".Marrowby", 0, false, 0, "", ""));
        }
        ASSERT_EQ(data.journal.Append(runs[i]), "");
    }
    MainWindowFixture f;
    ModalScript script;
    std::vector<std::vector<std::string>> byObjects;
    std::vector<std::vector<std::string>> byStart;
    script.ExpectDialog(kDialogPastRuns, 1, [&](ModalDialog &dialog) {
        ResultTable &table = static_cast<PastRunsDialog &>(dialog).Runs();
        table.SortByColumn(PastRunsDialog::ObjectsColumn, true);
        byObjects = Rows(dialog);
        table.SortByColumn(PastRunsDialog::StartedColumn, true);
        byStart = Rows(dialog);
    });
    f.menuBar.Select(kMenuItemPastRuns);
    ASSERT_EQ(byObjects.size(), 3u);
    EXPECT_EQ(byObjects[0][PastRunsDialog::ServerColumn], "S2");
    EXPECT_EQ(byObjects[1][PastRunsDialog::ServerColumn], "S0");
    EXPECT_EQ(byObjects[2][PastRunsDialog::ServerColumn], "S1");
    ASSERT_EQ(byStart.size(), 3u);
    EXPECT_EQ(byStart[0][PastRunsDialog::ServerColumn], "S0");
    EXPECT_EQ(byStart[2][PastRunsDialog::ServerColumn], "S2");
}

TEST(RunRecord, PastRunsWithoutRunsOrWithAJournalItCannotReadSaysSo)
{
    {
        DataFolder data;
        MainWindowFixture f;
        ModalScript script;
        script.ExpectBox(ModalKind::InfoBox, PastRunsDialog::kNoRuns, RET_OK);
        f.menuBar.Select(kMenuItemPastRuns);
    }
    {
        DataFolder data;
        std::filesystem::create_directories(data.journal.Path());
        MainWindowFixture f;
        ModalScript script;
        script.ExpectBox(ModalKind::ErrorBox,
                         "Unable to read the journal of past runs " + data.journal.Path() +
                             ":\nIs a directory",
                         RET_OK);
        f.menuBar.Select(kMenuItemPastRuns);
    }
}

// The journal changed between the listing and Open: an error instead of a misread list.
TEST(RunRecord, ARunThatNoLongerReadsIsNotShown)
{
    DataFolder data;
    RunReport run;
    run.objects = {MakeReportedObject("A.Marrowby", 0, false, 0, "", "")};
    ASSERT_EQ(data.journal.Append(run), "");
    MainWindowFixture f;
    ModalScript script;
    script.ExpectDialog(kDialogPastRuns, 1, [&](ModalDialog &dialog) {
        std::ofstream(data.journal.Path(), std::ios::trunc) << "x\n";
        dialog.Find<PushButton>(ResId(kPastRunsOpen))->Click();
    });
    script.ExpectBox(ModalKind::ErrorBox,
                     "Unable to read the journal of past runs " + data.journal.Path() +
                         ":\nIt has changed since it was listed",
                     RET_OK);
    f.menuBar.Select(kMenuItemPastRuns);
}

// As a user opens a past run: a double click on its line, or Return on the selected line.
TEST(RunRecord, PastRunsOpensTheRunDoubleClickedOrChosenWithReturn)
{
    DataFolder data;
    RunReport older;
    older.started = 1700000000;
    older.objects = {MakeReportedObject("A.Marrowby", 0, false, 0, "", "")};
    RunReport newer;
    newer.started = 1700000600;
    newer.objects = {MakeReportedObject("B.Marrowby", 0, true, 7, "Locked, \"now\"", "")};
    ASSERT_EQ(data.journal.Append(older), "");
    ASSERT_EQ(data.journal.Append(newer), "");
    MainWindowFixture f;
    ModalScript script;
    std::vector<ShownList> lists;
    script.ExpectDialog(kDialogPastRuns, 0, [&](ModalDialog &dialog) {
        dialog.Show();
        auto *runs =
            static_cast<QTreeWidget *>(dialog.Find<ResultTable>(ResId(kPastRunsList))->Widget());
        const QPoint second = runs->visualItemRect(runs->topLevelItem(1)).center();
        QTest::mouseClick(runs->viewport(), Qt::LeftButton, {}, second);
        QTest::mouseDClick(runs->viewport(), Qt::LeftButton, {}, second);
        runs->setFocus();
        QTest::keyClick(runs, Qt::Key_Up);
        QTest::keyClick(runs, Qt::Key_Return);
    });
    script.ExpectDialog(kDialogRestore, 1, Read(lists));
    script.ExpectDialog(kDialogRestore, 1, Read(lists));
    f.menuBar.Select(kMenuItemPastRuns);

    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[0].lines, std::vector<std::string>{ResultLineText(older.objects[0])});
    EXPECT_EQ(lists[1].lines, std::vector<std::string>{ResultLineText(newer.objects[0])});
    EXPECT_EQ(lists[1].lines[0], "B.Marrowby - failed on Object 'Locked, \"now\"'");
    EXPECT_TRUE(lists[1].saveOffered);
}
