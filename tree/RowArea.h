// The rows of an outline panel: connector lines, bitmap and text of each loaded node in
// pre-order, the selected row inverted and the caret row framed. A click selects a row, a double
// click activates it. Assistive tools read the rows as a tree named after the panel's title.
#pragma once

#include <cstdint>

#include "toolkit/AccessibleRows.h"
#include "toolkit/Link.h"
#include "toolkit/Window.h"
#include "tree/Viewport.h"

class NodeList;
class OutlinePanel;
class TreeNode;

class RowArea : public Window, public AccessibleRows
{
  public:
    // The viewport is the panel's; the row area moves its caret, selection and top row.
    RowArea(OutlinePanel *panel, NodeList *list, Viewport &viewport);

    int32_t SelectedRow() const { return viewport_.selected; }
    int32_t CaretRow() const { return viewport_.caret; }
    int32_t TopRow() const { return viewport_.top; }

    void SetSelectHdl(Link<OutlinePanel> link) { selectHdl_ = std::move(link); }
    void SetActivateHdl(Link<OutlinePanel> link) { activateHdl_ = std::move(link); }

    void SelectRow(int32_t row);
    void Activate();
    void SetCaretRow(int32_t row);
    void ResetRows(); // selected and caret back to row 0
    void ScrollRows(int32_t delta);
    void RepaintRow(int32_t row);
    void InvalidateRow(int32_t row);
    void InvalidateFromRow(int32_t row);
    void InvalidateRows(int32_t first, int32_t last); // those on screen
    int32_t WholeRowsThatFit() const;
    // The widest row drawn since the rows were last reset, from the left edge of the rows.
    int32_t Widest() const { return widest_; }
    void ScrollLeftTo(int32_t left); // pixels

    void Paint(const Rectangle &rect) override;
    void MouseButtonDown(const MouseEvent &event) override;
    void GetFocus() override;
    void LoseFocus() override;
    // A row's tip says what its picture shows (deleted or present).
    std::string ToolTipText(Point pos) const override;

    std::string AccessibleTitle() const override;
    int32_t AccessibleRowCount() const override;
    int32_t AccessibleTopRow() const override { return viewport_.top; }
    int32_t AccessibleShownCount() const override;
    int32_t AccessibleCaretRow() const override { return viewport_.caret; }
    bool AccessibleHasFocus() const override;
    std::string AccessibleRowText(int32_t row) const override;
    std::string AccessibleRowDescription(int32_t row) const override;
    RowStates AccessibleRowStates(int32_t row) const override;
    Rectangle AccessibleRowRect(int32_t row) const override { return RowRect(row); }
    void AccessibleSelect(int32_t row) override { SelectRow(row); }
    void AccessibleToggle(int32_t row) override;

  private:
    void DrawRow(const TreeNode &node, const Rectangle &row, bool highlighted);
    void DrawCaretFrame(const Rectangle &row);
    void NoteWidth(int32_t width);
    Rectangle RowRect(int32_t row) const;

    OutlinePanel *panel_;
    NodeList *list_;
    Viewport &viewport_;
    Link<OutlinePanel> selectHdl_;
    Link<OutlinePanel> activateHdl_;
    int32_t widest_ = 0;
};
