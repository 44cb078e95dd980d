#include "tree/CheckColumn.h"

#include "model/DisplayItem.h"
#include "model/NodeList.h"
#include "model/TreeWalker.h"
#include "toolkit/Screen.h"
#include "toolkit/TriStateBox.h"
#include "tree/OutlinePanel.h"

namespace
{
constexpr int kRow = OutlinePanel::kRowHeight;
} // namespace

CheckColumn::CheckColumn(OutlinePanel *panel, NodeList *list, const Viewport &viewport,
                         CheckMode mode)
    : Window(panel), panel_(panel), list_(list), viewport_(viewport), mode_(mode)
{
    SetBackground(Color(COL_WORKSPACE));
}

CheckColumn::~CheckColumn() = default;

void CheckColumn::CreateBoxes()
{
    if (!boxes_.empty()) {
        return;
    }
    const int count = GetScreenSizePixel().height / kRow + 1;
    for (int j = 0; j < count; ++j) {
        std::unique_ptr<CheckBox> box;
        if (mode_ == CheckMode::ThreeState) {
            box = std::make_unique<TriStateBox>(this);
        } else {
            box = std::make_unique<CheckBox>(this);
        }
        box->SetPosSizePixel({5, 2 + kRow * j}, {kBoxSize, kBoxSize});
        box->SetGetFocusHdl([this](Control &) {
            GetFocus();
            return 1L;
        });
        box->SetLoseFocusHdl([this](Control &) {
            LoseFocus();
            return 1L;
        });
        box->SetClickHdl([this, j](Control &) {
            BoxClicked(j);
            return 1L;
        });
        box->Hide();
        boxes_.push_back(std::move(box));
    }
}

CheckBox *CheckColumn::Box(size_t index) const
{
    return index < boxes_.size() ? boxes_[index].get() : nullptr;
}

void CheckColumn::BoxClicked(int32_t index)
{
    ReportClick(index);
    GrabFocus();
}

// The handler gets the row and the state the box moved to; the box then shows its row again,
// whatever the handler made of the click.
void CheckColumn::ReportClick(int32_t index)
{
    const CheckClick click{index + viewport_.top, StateOf(*boxes_[static_cast<size_t>(index)])};
    if (clickHdl_) {
        clickHdl_(*panel_, click);
    }
    panel_->ShowCheckOf(click.row);
}

bool CheckColumn::CycleRow(int32_t row)
{
    const int64_t index = int64_t{row} - viewport_.top;
    CheckBox *box = index < 0 ? nullptr : Box(static_cast<size_t>(index));
    if (!box || row < 0 || static_cast<size_t>(row) >= list_->TotalCount() || !box->IsEnabled()) {
        return false;
    }
    box->Cycle();
    ReportClick(static_cast<int32_t>(index));
    return true;
}

CheckState CheckColumn::StateOf(const CheckBox &box) const
{
    if (mode_ == CheckMode::ThreeState) {
        return static_cast<CheckState>(static_cast<const TriStateBox &>(box).GetState());
    }
    return box.IsChecked() ? Marked : Unmarked;
}

void CheckColumn::UpdateBoxes(int32_t fromRow, int32_t toRow)
{
    if (boxes_.empty()) {
        return;
    }
    const int32_t top = viewport_.top;
    int64_t first = int64_t{fromRow} - top;
    if (first < 0) {
        fromRow = top;
        first = 0;
    }
    TreeWalker walker(*list_, static_cast<size_t>(fromRow));
    const int64_t last = std::min<int64_t>(int64_t{toRow} - top, int64_t(boxes_.size()) - 1);
    for (size_t j = static_cast<size_t>(first); static_cast<int64_t>(j) <= last; ++j) {
        DisplayItem *item = walker.NextItem();
        CheckBox &box = *boxes_[j];
        if (!item) {
            box.Hide();
            continue;
        }
        box.Enable(item->IsEnabled());
        box.SetText(item->Text()); // names the box after its row for assistive tools
        if (mode_ == CheckMode::ThreeState) {
            auto &triState = static_cast<TriStateBox &>(box);
            triState.EnableTriState(item->Kind() == DisplayItem::ContainerKind);
            triState.SetState(item->GetCheckState());
        } else {
            box.Check(item->GetCheckState() != Unmarked);
        }
        box.Show();
    }
}

void CheckColumn::Paint(const Rectangle &) {}

void CheckColumn::MouseButtonDown(const MouseEvent &)
{
    GrabFocus();
}
void CheckColumn::GetFocus()
{
    panel_->SetFocusHighlight(true);
}
void CheckColumn::LoseFocus()
{
    panel_->SetFocusHighlight(false);
}
