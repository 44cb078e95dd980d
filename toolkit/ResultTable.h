// A list of rows with named columns, sorted by the column whose header the user clicks: each row
// a few texts, one of them with a picture, and a key its owner finds the row's object by. A
// double click or Return on a row activates it.
#pragma once

#include <string>
#include <vector>

#include "toolkit/Control.h"

class Bitmap;
class QTreeWidget;

class ResultTable : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::ResultTable;
    ResultTable(Dialog *dialog, ResId id);

    struct Row {
        std::vector<std::string> cells; // one per column
        const Bitmap *picture = nullptr;
        int pictureColumn = 0;
        int key = 0;
    };

    void SetColumns(const std::vector<std::string> &headers, const std::vector<int> &widths);
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

  private:
    QTreeWidget *Tree() const;

    Link<ResultTable> activateHdl_;
    int activatedKey_ = -1;
};
