// A result table sorts names as a reader looks them up, and numbers by the number they stand for.
#include <gtest/gtest.h>

#include "tests/toolkit/ToolkitFixtures.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/ResultTable.h"

namespace
{
class ResultDialog : public ModalDialog
{
  public:
    ResultDialog() : ModalDialog(nullptr, ResId(kTestResultDialog))
    {
        table.SetColumns({"Name", "Objects"});
    }
    ResultTable table{this, ResId(1)};
};

ResultTable::Row NameRow(const std::string &name, int64_t objects)
{
    return {{name, std::to_string(objects)}, nullptr, 0, 0, {std::nullopt, objects}};
}

std::vector<std::string> Column(const ResultTable &table, int column)
{
    std::vector<std::string> cells;
    for (int row = 0; row < table.RowCount(); ++row) {
        cells.push_back(table.CellText(row, column));
    }
    return cells;
}
} // namespace

TEST(ResultTable, SortsNamesWithoutRegardToCaseAndCountsByTheirNumber)
{
    InstalledTestResources resources;
    ResultDialog dialog;
    dialog.table.AddRows({NameRow("bob", 10), NameRow("Carl", 9), NameRow("alice", 100),
                          NameRow("Bob", 2), NameRow("Alice", 1)});

    dialog.table.SortByColumn(0, true);
    EXPECT_EQ(Column(dialog.table, 0),
              (std::vector<std::string>{"Alice", "alice", "Bob", "bob", "Carl"}));
    dialog.table.SortByColumn(0, false);
    EXPECT_EQ(Column(dialog.table, 0),
              (std::vector<std::string>{"Carl", "bob", "Bob", "alice", "Alice"}));
    dialog.table.SortByColumn(1, true);
    EXPECT_EQ(Column(dialog.table, 1), (std::vector<std::string>{"1", "2", "9", "10", "100"}));
}
