// The column of check boxes at the left of an outline panel: one box per visible row, created
// once for the height of the screen, each showing its row's check state and enabled flag.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "model/DisplayItem.h"
#include "toolkit/Window.h"
#include "tree/Viewport.h"

class CheckBox;
class NodeList;
class OutlinePanel;

// The boxes a panel shows: none, plain check boxes, or three-state boxes that offer their third
// state on rows of containers.
enum class CheckMode { None, Plain, ThreeState };

// What a click on a row's box asks for: the row, and the state the box moved to.
struct CheckClick {
    int32_t row = 0;
    CheckState state = Unmarked;
};
using CheckHdl = std::function<long(OutlinePanel &, const CheckClick &)>;

class CheckColumn : public Window
{
  public:
    static constexpr int kBoxSize = 15;

    CheckColumn(OutlinePanel *panel, NodeList *list, const Viewport &viewport, CheckMode mode);
    ~CheckColumn() override;

    void CreateBoxes(); // once, when the column is first shown
    // The boxes of rows fromRow to toRow that are on screen; those below the last row are hidden.
    void UpdateBoxes(int32_t fromRow, int32_t toRow);
    int32_t TopRow() const { return viewport_.top; }
    void SetClickHdl(CheckHdl hdl) { clickHdl_ = std::move(hdl); }

    // What a click on the box of a row on screen does, the focus left where it is. False when
    // the row has no box there or its box cannot be clicked.
    bool CycleRow(int32_t row);

    CheckBox *Box(size_t index) const;

    void Paint(const Rectangle &rect) override;
    void MouseButtonDown(const MouseEvent &event) override;
    void GetFocus() override;
    void LoseFocus() override;

  private:
    void BoxClicked(int32_t index);
    void ReportClick(int32_t index);
    CheckState StateOf(const CheckBox &box) const;

    OutlinePanel *panel_;
    NodeList *list_;
    const Viewport &viewport_;
    std::vector<std::unique_ptr<CheckBox>> boxes_;
    CheckMode mode_;
    CheckHdl clickHdl_;
};
