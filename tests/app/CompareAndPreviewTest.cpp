// Seeing what a restore will change: "Compare with live..." on the history view's highlighted
// version, "Preview..." in the restore options dialog, and a server that cannot compare.
#include <QAccessible>
#include <QClipboard>
#include <QTreeWidget>
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

TEST(CompareWithLive, HighlightedVersionSideBySideWithUnchangedHiddenUntilAsked)
{
    MainWindowFixture f;
    f.script.SetHistory("Printer.Marrowby", {300, 100});
    f.script.SetDescription("Printer.Marrowby", Printer());
    f.Click(2);
    f.History().MoveCaretTo(1); // the older version, 100
    EXPECT_TRUE(f.menuBar.IsItemEnabled(kMenuItemCompare));

    std::vector<std::string> hidden, shown;
    std::string heading, tooltip, copied, photo;
    bool photoWhole = false, columnsFit = false;
    std::string tableName;
    ModalScript script;
    script.ExpectDialog(kDialogCompare, 1, [&](ModalDialog &dialog) {
        auto &compare = static_cast<CompareDialog &>(dialog);
        heading = dialog.Find<FixedText>(ResId(kCompareHeading))->GetText();
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
    EXPECT_THAT(heading, testing::EndsWith(" (live)"));
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

TEST(CompareWithLive, ServerThatCannotCompareSaysSoAndDisablesTheCommands)
{
    MainWindowFixture f; // the scripted server, like the simulation, describes nothing
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
    MainWindowFixture f;
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
} // namespace
