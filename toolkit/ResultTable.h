// A list of rows with named columns, sorted by the column whose header the user clicks: each row
// a few texts, one of them with a picture, and a key its owner finds the row's object by. A
// double click or Return on a row activates it. The columns take the widths of what they hold
// (see ColumnWidths); a cut cell shows its whole text as its tip.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/Control.h"

class Bitmap;
class CellElision;
class ColumnWidths;
class QTreeWidget;

class ResultTable : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::ResultTable;
    ResultTable(Dialog *dialog, ResId id);
    ~ResultTable() override;

    struct Row {
        std::vector<std::string> cells; // one per column
        const Bitmap *picture = nullptr;
        int pictureColumn = 0;
        int key = 0;
        // Where a cell's text does not sort as it should (a date, a count), the number it sorts
        // by; one per column, or none.
        std::vector<std::optional<int64_t>> sortKeys = {};
    };

    void SetColumns(const std::vector<std::string> &headers);
    // The column's texts are full names: a cut one keeps its beginning and its end.
    void ElideInMiddle(int column);
    // Measures the columns again for the rows now in (see ColumnWidths).
    void FitColumns();
    std::vector<int> ColumnWidthsShown() const;
    // Adds the rows in one go; they take their places in the current sort order.
    void AddRows(const std::vector<Row> &rows);
    void Clear();
    int RowCount() const;
    void SortByColumn(int column, bool ascending);

    // By the row's place as shown, from 0; -1 / empty when there is no such row.
    int KeyAt(int row) const;
    std::string CellText(int row, int column) const;
    int SelectedRow() const;
    void SelectRow(int row);
    void Activate(); // what Return on the selected row does

    void SetActivateHdl(Link<ResultTable> link) { activateHdl_ = std::move(link); }
    // The key of the row activated last.
    int ActivatedKey() const { return activatedKey_; }

    std::vector<int> StateToKeep() const override;
    void Recall(const std::vector<int> &widths) override;

  private:
    QTreeWidget *Tree() const;

    Link<ResultTable> activateHdl_;
    int activatedKey_ = -1;
    CellElision *elision_; // owned by the widget
    std::unique_ptr<ColumnWidths> widths_;
};
