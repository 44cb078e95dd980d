// The column of check boxes at the left of an outline panel: one box per visible row, created
// once for the height of the screen, each showing its row's check state and enabled flag.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "toolkit/Link.h"
#include "toolkit/Window.h"

class CheckBox;
class NodeList;
class OutlinePanel;

class CheckColumn : public Window
{
  public:
    static constexpr int kBoxSize = 15;

    CheckColumn(OutlinePanel *panel, NodeList *list, int checkMode);
    ~CheckColumn() override;

    void CreateBoxes(); // once, when the column is first shown
    // The boxes of rows fromRow to toRow that are on screen; those below the last row are hidden.
    void UpdateBoxes(int32_t fromRow, int32_t toRow);
    void SetTopRow(int32_t row) { top_ = row; }
    int32_t TopRow() const { return top_; }
    void SetClickHdl(Link<OutlinePanel> link) { clickHdl_ = std::move(link); }

    // What a click on the box of a row on screen does, the focus left where it is. False when
    // the row has no box there or its box cannot be clicked.
    bool CycleRow(int32_t row);

    int32_t ClickedRow() const { return lastClicked_ + top_; }
    int ClickedState() const;
    CheckBox *Box(size_t index) const;
    size_t BoxCount() const { return boxes_.size(); }

    void Paint(const Rectangle &rect) override;
    void MouseButtonDown(const MouseEvent &event) override;
    void GetFocus() override;
    void LoseFocus() override;

  private:
    void BoxClicked(int32_t index);
    void ReportClick(int32_t index);

    OutlinePanel *panel_;
    NodeList *list_;
    std::vector<std::unique_ptr<CheckBox>> boxes_;
    int checkMode_;
    int32_t top_ = 0;
    int32_t lastClicked_ = 0;
    Link<OutlinePanel> clickHdl_;
};
