// A table of text rows under column titles, one row selectable. A cell shows one line, elided
// when it does not fit (a full name in the middle); a cut cell or one whose whole text is longer
// than its line shows the whole text as its tip, and Copy (Ctrl+C or the context menu) puts the
// whole texts of the selected row on the clipboard, one cell per line.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/Control.h"

class CellElision;
class ColumnWidths;

class TableBox : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::TableBox;
    TableBox(Dialog *dialog, ResId id);
    ~TableBox() override;

    void SetColumns(const std::vector<std::string> &titles);
    // The column's texts are full names: a cut one keeps its beginning and its end.
    void ElideInMiddle(int column);
    void Clear();
    // `shown` is what each cell shows (one line); `whole` its complete text (shown when empty).
    void AddRow(const std::vector<std::string> &shown, const std::vector<std::string> &whole = {});
    int GetRowCount() const;
    std::string GetCell(int row, int column) const;
    std::string GetWholeCell(int row, int column) const;
    // -1 when no row is selected.
    int GetSelectedRow() const;
    void SelectRow(int row);
    // Called when the selected row changes.
    void SetSelectHdl(Link<Control> link) { selectHdl_ = std::move(link); }
    // The selected row's whole texts, one cell per line; empty when no row is selected.
    std::string SelectedText() const;
    void CopySelected() const;
    // Gives each column the width its texts need while they all fit; when they do not, the
    // narrow ones keep theirs and the wide ones share what is left alike (elided, with the
    // whole text in the tooltip), again whenever the table's size changes, until the user sets
    // the widths. Called once the rows are in.
    void FitColumns();
    std::vector<int> ColumnWidthsShown() const;

    std::vector<int> StateToKeep() const override;
    void Recall(const std::vector<int> &widths) override;

  private:
    Link<Control> selectHdl_;
    CellElision *elision_; // owned by the widget
    std::unique_ptr<ColumnWidths> widths_;
};
