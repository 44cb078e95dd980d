// A table of text rows under column titles, one row selectable. A cell shows one line, elided
// when it does not fit; its whole text is its tooltip, and Copy (Ctrl+C or the context menu)
// puts the whole texts of the selected row on the clipboard, one cell per line.
#pragma once

#include <string>
#include <vector>

#include "toolkit/Control.h"

class TableBox : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::TableBox;
    TableBox(Dialog *dialog, ResId id);

    void SetColumns(const std::vector<std::string> &titles);
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
    // whole text in the tooltip). Called once the rows are in.
    void FitColumns();

  private:
    Link<Control> selectHdl_;
};
