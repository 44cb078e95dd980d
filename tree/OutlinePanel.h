// A panel that shows the rows of a forest in pre-order: a title bar on top, a column of check
// boxes at the left, the rows, and a scroll bar at the right shown only when the rows do not
// fit. Both views of the main window are outline panels. The panel watches its forest: whatever
// changed during one event is caught up with once, at the next pass of the event loop (layout,
// boxes, rows and what assistive tools are told).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "model/ForestObserver.h"
#include "toolkit/Link.h"
#include "toolkit/PostedCall.h"
#include "toolkit/Window.h"
#include "tree/CheckColumn.h"
#include "tree/LongScrollBar.h"
#include "tree/RowArea.h"
#include "tree/TitleBar.h"
#include "tree/WheelSteps.h"

class Bitmap;
class DisplayItem;
class NodeList;

class OutlinePanel : public Window, private ForestObserver
{
  public:
    static constexpr int kRowHeight = 20;
    static constexpr int kTitleHeight = 20;
    static constexpr int kCheckColumnWidth = 20;
    static constexpr int kScrollBarWidth = 18;

    // checkMode: 0 no check boxes, 1 plain check boxes, 2 three-state boxes.
    // The list must outlive the panel.
    OutlinePanel(Window *parent, bool showTitle, CheckMode checkMode, NodeList *list);
    ~OutlinePanel() override;

    void ShowPanel(); // once: shows the inner windows this panel has
    void SetTitle(const std::string &text);
    const std::string &GetTitle() const { return titleBar_.GetTitle(); }
    void SetFocusHighlight(bool on);
    bool HasFocusHighlight() const { return titleBar_.HasFocusHighlight(); }
    bool HasCheckColumn() const { return showCheckColumn_; }

    int32_t SelectedRow() const { return viewport_.selected; }
    int32_t CaretRow() const { return viewport_.caret; }
    int32_t TopRow() const { return viewport_.top; }
    const Viewport &GetViewport() const { return viewport_; }
    int32_t VisibleRows() const; // whole rows that fit in the row area

    // Catches up with the forest's changes now rather than at the next pass (before the panel is
    // rendered outside the event loop).
    void Refresh() { refresh_.RunNow(); }
    // Empties the list; selected row and caret go back to row 0.
    void Clear();
    // The box of a clicked row shows the row's state again, whatever the click handler made of it.
    void ShowCheckOf(int32_t row);

    void SetSelectHdl(Link<OutlinePanel> link) { rowArea_.SetSelectHdl(std::move(link)); }
    void SetActivateHdl(Link<OutlinePanel> link) { rowArea_.SetActivateHdl(std::move(link)); }
    // Called with the row whose box was clicked and the state the box moved to.
    void SetCheckHdl(CheckHdl hdl) { checkColumn_.SetClickHdl(std::move(hdl)); }
    // Which picture a row shows at its left; none unless this is set.
    using PictureHdl = std::function<const Bitmap &(const DisplayItem &row)>;
    void SetPictureHdl(PictureHdl hdl) { pictureHdl_ = std::move(hdl); }
    const Bitmap &PictureOf(const DisplayItem &row) const;

    void SelectRow(int32_t row) { rowArea_.SelectRow(row); }
    // Catches up with the forest, scrolls the row into view and selects it.
    void ShowAndSelectRow(int32_t row);
    void Activate() { rowArea_.Activate(); }
    void MoveCaretBy(int32_t delta);
    void MoveCaretTo(int32_t row);
    void ScrollRows(int32_t delta); // positive: towards later rows
    // What a click on the row's check box does, the row first scrolled into view.
    void CycleCheck(int32_t row);

    NodeList *List() const { return list_; }
    TitleBar &GetTitleBar() { return titleBar_; }
    CheckColumn &GetCheckColumn() { return checkColumn_; }
    RowArea &GetRowArea() { return rowArea_; }
    LongScrollBar &GetScrollBar() { return scrollBar_; }
    ScrollBar &GetHorizontalScrollBar() { return hScrollBar_; }
    // A row wider than the area was drawn: the horizontal scroll bar follows at the next pass.
    void RowsWidened();

    void KeyInput(const KeyEvent &event) override;
    void Resize() override;
    // The wheel over any part of the panel scrolls its rows by the platform's wheel step.
    bool Wheel(const WheelEvent &event) override;

  private:
    // Rows that changed since the panel last caught up; None where nothing did.
    struct Changes {
        static constexpr int64_t None = INT64_MAX;
        int64_t rowsFrom = None; // inserted or removed from here on
        int64_t checksFirst = None;
        int64_t checksLast = -1;
        int64_t looksFirst = None;
        int64_t looksLast = -1;
        bool widened = false;
    };

    void RowsReplaced(std::size_t first, std::size_t removed, std::size_t inserted) override;
    void ChecksChanged(std::size_t first, std::size_t last) override;
    void LooksChanged(std::size_t first, std::size_t last) override;
    void CatchUp();
    void FollowScrollBar();
    void ScrollIntoView(int32_t row);
    // Places the horizontal scroll bar below the rows, or hides it.
    void PlaceHorizontalScrollBar(Point rowsAt, Size rows, bool needed);
    void ScrollAcross(int32_t left);

    bool showTitle_;
    bool showCheckColumn_;
    NodeList *list_;
    Viewport viewport_; // read by the check column and the row area
    TitleBar titleBar_;
    CheckColumn checkColumn_;
    RowArea rowArea_;
    LongScrollBar scrollBar_;
    ScrollBar hScrollBar_;
    PictureHdl pictureHdl_;
    Changes changes_;
    WheelSteps wheel_;
    WheelSteps wheelAcross_;
    PostedCall refresh_{[this] { CatchUp(); }};
};
