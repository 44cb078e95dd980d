// Seeing what a restore will change: "Compare with live..." on the version a run would restore,
// "Preview..." in the restore options dialog, several values, secrets, and a server that cannot
// compare.
#include <QAccessible>
#include <QClipboard>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <gmock/gmock.h>

#include "restore/CompareDialog.h"
#include "restore/PreviewDialog.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/FixedText.h"
#include "toolkit/PushButton.h"
#include "toolkit/TableBox.h"

namespace
{
using testing::ElementsAre;

const std::string kLongText(300, 'w');
const std::string kPhoto("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);

// Rows of a table as "name: difference".
std::vector<std::string> Rows(TableBox &table, int differenceColumn = 3)
{
    std::vector<std::string> rows;
    for (int row = 0; row < table.GetRowCount(); ++row) {
        rows.push_back(table.GetCell(row, 0) + ": " + table.GetCell(row, differenceColumn));
    }
    return rows;
}

ObjectDescription Printer()
{
    ObjectDescription description;
    description.inBackup = true;
    description.live = true;
    description.backup = {{"cn", {"Printer"}},
                          {"location", {"Floor 1"}},
                          {"description", {kLongText}},
                          {"photo", {kPhoto}}};
    description.current = {{"cn", {"Printer"}}, {"location", {"Floor 2"}}, {"owner", {"Ann"}}};
    return description;
}

// The small tree, its printer described and with two versions, so that the window finds at
// start-up that the server compares.
void ScriptDescribedTree(ScriptedServer &script)
{
    ScriptSmallTree(script);
    script.SetHistory("Printer.Marrowby", {300, 100});
    script.SetDescription("Printer.Marrowby", Printer());
}

// Ticks a version in the history view, as a click on its box does.
void PickVersion(MainWindowFixture &f, int row)
{
    QTest::mouseClick(f.History().GetCheckColumn().Box(static_cast<size_t>(row))->Widget(),
                      Qt::LeftButton);
    QApplication::processEvents();
}

// What the Compare dialog showed: its heading, its note and every cell, shown and whole.
struct ComparisonSeen {
    std::string heading;
    std::string note;
    std::vector<std::vector<std::string>> cells;  // as shown
    std::vector<std::vector<std::string>> wholes; // tooltips and Copy
    std::vector<std::string> copied;              // Copy of each row
};

void ReadTable(TableBox &table, ComparisonSeen &seen)
{
    for (int row = 0; row < table.GetRowCount(); ++row) {
        std::vector<std::string> cells, wholes;
        for (int column = 0; column < 4; ++column) {
            cells.push_back(table.GetCell(row, column));
            wholes.push_back(table.GetWholeCell(row, column));
        }
        seen.cells.push_back(cells);
        seen.wholes.push_back(wholes);
        table.SelectRow(row);
        table.CopySelected();
        seen.copied.push_back(QApplication::clipboard()->text().toStdString());
    }
}

// Runs Compare with live on the selected object and reads the dialog; `showSame` ticks its box.
ComparisonSeen Compare(MainWindowFixture &f, bool showSame = false)
{
    ComparisonSeen seen;
    ModalScript script;
    script.ExpectDialog(kDialogCompare, 1, [&](ModalDialog &dialog) {
        auto &compare = static_cast<CompareDialog &>(dialog);
        seen.heading = compare.HeadingText();
        seen.note = compare.NoteText();
        if (showSame) {
            compare.ShowSame().Check();
            compare.ShowSame().Click();
        }
        ReadTable(compare.Table(), seen);
    });
    f.menuBar.Select(kMenuItemCompare);
    return seen;
}

using Cells = std::vector<std::string>;

TEST(CompareWithLive, PickedVersionSideBySideWithUnchangedHiddenUntilAsked)
{
    MainWindowFixture f(ScriptDescribedTree);
    f.Click(2);
    PickVersion(f, 1); // the older version, 100
    EXPECT_TRUE(f.menuBar.IsItemEnabled(kMenuItemCompare));

    std::vector<std::string> hidden, shown;
    std::string heading, note, tooltip, copied, photo;
    bool photoWhole = false, columnsFit = false;
    std::string tableName;
    ModalScript script;
    script.ExpectDialog(kDialogCompare, 1, [&](ModalDialog &dialog) {
        auto &compare = static_cast<CompareDialog &>(dialog);
        heading = dialog.Find<FixedText>(ResId(kCompareHeading))->GetText();
        note = compare.NoteText();
        hidden = Rows(compare.Table());
        tooltip = compare.Table().GetWholeCell(1, 1);
        photo = compare.Table().GetCell(2, 1);
        // The long text takes what the short ones leave: a binary value's size and hash, and
        // every column, are seen whole without scrolling.
        const auto *table = static_cast<QTreeWidget *>(compare.Table().Widget());
        const QTreeWidgetItem *photoRow = table->topLevelItem(2);
        photoWhole =
            table->columnWidth(1) >= table->fontMetrics().horizontalAdvance(photoRow->text(1)) + 6;
        int total = 0;
        for (int column = 0; column < table->columnCount(); ++column) {
            total += table->columnWidth(column);
        }
        columnsFit = total <= table->width();
        // Named for what it holds, not after the heading above it.
        tableName = QAccessible::queryAccessibleInterface(compare.Table().Widget())
                        ->text(QAccessible::Name)
                        .toStdString();
        compare.ShowSame().Check();
        compare.ShowSame().Click();
        shown = Rows(compare.Table());
        compare.Table().SelectRow(2);
        compare.Table().CopySelected();
        copied = QApplication::clipboard()->text().toStdString();
    });
    f.menuBar.Select(kMenuItemCompare);

    ASSERT_FALSE(f.script.RequestsOf(DescribeObject).empty());
    EXPECT_EQ(f.script.RequestsOf(DescribeObject).back().version, 100u);
    EXPECT_THAT(heading, testing::StartsWith("Printer.Marrowby, version of "));
    EXPECT_THAT(heading, testing::EndsWith(", the version you picked (live)"));
    EXPECT_EQ(note, "4 attributes differ.");
    EXPECT_THAT(hidden, ElementsAre("location: changed", "description: only in backup",
                                    "photo: only in backup", "owner: only live"));
    EXPECT_THAT(shown, ElementsAre("cn: same", "location: changed", "description: only in backup",
                                   "photo: only in backup", "owner: only live"));
    EXPECT_EQ(tooltip, kLongText); // the whole value, however the cell elides it
    EXPECT_THAT(photo, testing::MatchesRegex("16 bytes, #[0-9a-f]{8}"));
    EXPECT_TRUE(photoWhole);
    EXPECT_TRUE(columnsFit);
    EXPECT_EQ(tableName, CompareDialog::kTableName);
    EXPECT_EQ(copied, "description\n" + kLongText + "\n\nonly in backup");
    EXPECT_TRUE(f.script.RequestsOf(RestoreObject).empty());
}

// The history view's caret keeps its row from the object shown before; the version compared is
// the one a run would restore, and the heading says which and why.
TEST(CompareWithLive, ComparesThePickedVersionElseTheNewestNeverTheCaretRow)
{
    MainWindowFixture f(ScriptDescribedTree);
    f.script.SetHistory("Admin.Marrowby", {500, 400, 200});
    f.Click(1); // Admin
    f.History().MoveCaretTo(2);
    f.Click(2); // Printer: its history listed, the caret still on row 1 or below
    ASSERT_GE(f.History().CaretRow(), 1);

    ComparisonSeen seen = Compare(f);
    ASSERT_FALSE(f.script.RequestsOf(DescribeObject).empty());
    EXPECT_EQ(f.script.RequestsOf(DescribeObject).back().version, 0u);
    EXPECT_EQ(seen.heading, "Printer.Marrowby, newest version (live)");

    PickVersion(f, 1);
    f.History().MoveCaretTo(0);
    seen = Compare(f);
    EXPECT_EQ(f.script.RequestsOf(DescribeObject).back().version, 100u);
    EXPECT_THAT(seen.heading, testing::EndsWith(", the version you picked (live)"));

    // Marked within a marked container, it is restored at its newest version only.
    f.ClickBox(0);
    seen = Compare(f);
    EXPECT_EQ(f.script.RequestsOf(DescribeObject).back().version, 0u);
    EXPECT_EQ(seen.heading, "Printer.Marrowby, newest version (live)");
}

// Two lists of values side by side in one cell, cut at the column's width, would show no
// difference at all.
TEST(CompareWithLive, SeveralValuesAreListedOneARowEachSayingWhereItIs)
{
    MainWindowFixture f(ScriptDescribedTree);
    const std::string reports = "cn=Reports,ou=Printing Services,ou=Head Office,o=Marrowby";
    const std::string printers = "cn=Printers,ou=Printing Services,ou=Head Office,o=Marrowby";
    const std::string floor = "cn=Floor 3,ou=Printing Services,ou=Head Office,o=Marrowby";
    ObjectDescription description = Printer();
    description.backup.push_back({"seeAlso", {reports, printers}});
    description.current.push_back({"seeAlso", {floor, reports}});
    f.script.SetDescription("Printer.Marrowby", description);
    f.Click(2);

    const ComparisonSeen seen = Compare(f);
    ASSERT_EQ(seen.cells.size(), 7u);
    EXPECT_EQ(seen.cells[3], (Cells{"seeAlso", reports, reports, "in both"}));
    EXPECT_EQ(seen.cells[4], (Cells{"seeAlso", printers, "", "only in backup"}));
    EXPECT_EQ(seen.cells[5], (Cells{"seeAlso", "", floor, "only live"}));
    EXPECT_EQ(seen.copied[4], "seeAlso\n" + printers + "\n\nonly in backup");
    // A single value on each side keeps its one row.
    EXPECT_EQ(seen.cells[0], (Cells{"location", "Floor 1", "Floor 2", "changed"}));
}

TEST(CompareWithLive, PasswordsAreNeverShownOnlyWhetherTheyDifferAndTheirSize)
{
    MainWindowFixture f(ScriptDescribedTree);
    ObjectDescription description;
    description.inBackup = description.live = true;
    description.backup = {{"cn", {"Printer"}},
                          {"userPassword", {"plainsecret"}},
                          {"sambaNTPassword", {"0123456789ABCDEF0123456789ABCDEF"}},
                          {"authPassword", {"MD5$salt$hashone", "MD5$salt$hashtwo"}}};
    description.current = {{"cn", {"Printer"}},
                           {"userPassword", {"{SSHA}livehash"}},
                           {"sambaNTPassword", {"0123456789ABCDEF0123456789ABCDEF"}},
                           {"authPassword", {"MD5$salt$hashone"}}};
    f.script.SetDescription("Printer.Marrowby", description);
    f.Click(2);

    const ComparisonSeen seen = Compare(f, true);
    ASSERT_EQ(seen.cells.size(), 4u);
    EXPECT_EQ(seen.cells[1],
              (Cells{"userPassword", "secret, 11 bytes", "secret, 14 bytes", "changed"}));
    EXPECT_EQ(seen.cells[2],
              (Cells{"sambaNTPassword", "secret, 32 bytes", "secret, 32 bytes", "same"}));
    EXPECT_EQ(seen.cells[3],
              (Cells{"authPassword", "secret, 2 values, 32 bytes", "secret, 16 bytes", "changed"}));
    for (const char *secret : {"plainsecret", "livehash", "0123456789", "hashone", "hashtwo"}) {
        for (std::size_t row = 0; row < seen.cells.size(); ++row) {
            for (std::size_t column = 0; column < 4; ++column) {
                EXPECT_EQ(seen.cells[row][column].find(secret), std::string::npos) << secret;
                EXPECT_EQ(seen.wholes[row][column].find(secret), std::string::npos) << secret;
            }
            EXPECT_EQ(seen.copied[row].find(secret), std::string::npos) << secret;
        }
    }
}

TEST(CompareWithLive, AnUnchangedObjectSaysThatNothingDiffers)
{
    MainWindowFixture f(ScriptDescribedTree);
    ObjectDescription same;
    same.inBackup = same.live = true;
    same.backup = same.current = {{"cn", {"Printer"}}, {"seeAlso", {"cn=a", "cn=b"}}};
    f.script.SetDescription("Printer.Marrowby", same);
    f.Click(2);
    ComparisonSeen seen = Compare(f);
    EXPECT_EQ(seen.note, "No attribute differs between this version and the live object.");
    EXPECT_TRUE(seen.cells.empty());
    seen = Compare(f, true);
    EXPECT_EQ(seen.cells.size(), 3u); // cn, and seeAlso's two values, in both
}

TEST(CompareWithLive, ServerThatCannotCompareHasTheCommandsDisabledFromTheStart)
{
    MainWindowFixture f; // the scripted server, like the simulation, describes nothing
    EXPECT_FALSE(f.menuBar.IsItemEnabled(kMenuItemCompare)) << "before anything is selected";
    f.Click(2);
    EXPECT_FALSE(f.menuBar.IsItemEnabled(kMenuItemCompare));
    {
        ModalScript script;
        script.ExpectBox(ModalKind::InfoBox, "This backup server cannot compare versions.", RET_OK);
        f.window->CmdCompareWithLive();
    }
    f.ClickBox(2);
    bool previewEnabled = true;
    std::string why;
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 0, [&](ModalDialog &dialog) {
        auto *preview = dialog.Find<PushButton>(ResId(kRestoreObjectsPreview));
        previewEnabled = preview->IsEnabled();
        why = preview->GetQuickHelpText();
    });
    f.menuBar.Select(kMenuItemRestore);
    EXPECT_FALSE(previewEnabled);
    EXPECT_EQ(why, "This backup server cannot compare versions.");
}

TEST(RestorePreviewDialog, ListsTheRunInOrderWithCountsAndSendsNothingThatChanges)
{
    MainWindowFixture f(ScriptDescribedTree);
    ObjectDescription deleted;
    deleted.inBackup = true;
    deleted.backup = {{"cn", {"Ann"}}};
    ObjectDescription same;
    same.inBackup = same.live = true;
    same.backup = same.current = {{"cn", {"Cid"}}};
    f.script.SetDescription("Printer.Marrowby", Printer());
    f.script.SetDescription("Ann.Sales.Marrowby", deleted);
    f.script.SetDescription("Cid.East.Sales.Marrowby", same);
    f.DoubleClick(3); // Sales: Ann 4, Bob 5, East 6
    f.DoubleClick(6); // East: Cid 7, Dee 8
    f.ClickBox(2);
    f.ClickBox(4);
    f.ClickBox(7);

    std::string counts;
    std::vector<std::string> lines, comparison, names;
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 0, [&](ModalDialog &dialog) {
        dialog.Find<PushButton>(ResId(kRestoreObjectsPreview))->Click();
    });
    script.ExpectDialog(kDialogPreview, 1, [&](ModalDialog &dialog) {
        auto &preview = static_cast<PreviewDialog &>(dialog);
        counts = preview.CountsText();
        lines = Rows(preview.Lines(), 2);
        preview.Lines().SelectRow(1);
        comparison = Rows(preview.Comparison());
        for (TableBox *table : {&preview.Lines(), &preview.Comparison()}) {
            names.push_back(QAccessible::queryAccessibleInterface(table->Widget())
                                ->text(QAccessible::Name)
                                .toStdString());
        }
    });
    f.menuBar.Select(kMenuItemRestore);

    EXPECT_EQ(counts, "1 to add, 1 to change, 1 unchanged, 0 cannot be restored");
    EXPECT_THAT(lines,
                ElementsAre("Printer.Marrowby: change 4 attributes", "Ann.Sales.Marrowby: add",
                            "Cid.East.Sales.Marrowby: nothing to change"));
    EXPECT_THAT(comparison, ElementsAre("cn: only in backup"));
    // Assistive tools hear what each table holds, not the class name of the text above it.
    EXPECT_THAT(names, ElementsAre(PreviewDialog::kLinesName, PreviewDialog::kComparisonName));
    for (const LoggedRequest &request : f.script.Requests()) {
        EXPECT_NE(request.type, RestoreObject);
    }
    EXPECT_EQ(f.ItemAt(2)->GetCheckState(), Marked); // cancelled afterwards: marks stay
    EXPECT_EQ(f.script.OutstandingReplies(), 0u);
}

// The preview's detail is the same table as Compare's: values one a row, secrets by size.
TEST(RestorePreviewDialog, DetailListsValuesOneARowAndNoSecret)
{
    MainWindowFixture f(ScriptDescribedTree);
    ObjectDescription description;
    description.inBackup = description.live = true;
    description.backup = {{"seeAlso", {"cn=a", "cn=b"}}, {"userPassword", {"plainsecret"}}};
    description.current = {{"seeAlso", {"cn=a"}}, {"userPassword", {"{SSHA}livehash"}}};
    f.script.SetDescription("Printer.Marrowby", description);
    f.ClickBox(2);

    ComparisonSeen seen;
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 0, [&](ModalDialog &dialog) {
        dialog.Find<PushButton>(ResId(kRestoreObjectsPreview))->Click();
    });
    script.ExpectDialog(kDialogPreview, 1, [&](ModalDialog &dialog) {
        auto &preview = static_cast<PreviewDialog &>(dialog);
        preview.Lines().SelectRow(0);
        ReadTable(preview.Comparison(), seen);
    });
    f.menuBar.Select(kMenuItemRestore);

    ASSERT_EQ(seen.cells.size(), 3u);
    EXPECT_EQ(seen.cells[0], (Cells{"seeAlso", "cn=a", "cn=a", "in both"}));
    EXPECT_EQ(seen.cells[1], (Cells{"seeAlso", "cn=b", "", "only in backup"}));
    EXPECT_EQ(seen.wholes[2],
              (Cells{"userPassword", "secret, 11 bytes", "secret, 14 bytes", "changed"}));
    EXPECT_EQ(seen.copied[2].find("livehash"), std::string::npos);
    EXPECT_EQ(seen.copied[2].find("plainsecret"), std::string::npos);
}
} // namespace
