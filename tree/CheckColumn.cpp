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

CheckColumn::CheckColumn(OutlinePanel *panel, NodeList *list, int checkMode)
    : Window(panel), panel_(panel), list_(list), checkMode_(checkMode)
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
        if (checkMode_ == 2) {
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

void CheckColumn::ReportClick(int32_t index)
{
    lastClicked_ = index;
    CallLink(clickHdl_, *panel_);
    panel_->ShowCheckOf(index + top_);
}

bool CheckColumn::CycleRow(int32_t row)
{
    const int64_t index = int64_t{row} - top_;
    CheckBox *box = index < 0 ? nullptr : Box(static_cast<size_t>(index));
    if (!box || row < 0 || static_cast<size_t>(row) >= list_->TotalCount() || !box->IsEnabled()) {
        return false;
    }
    box->Cycle();
    ReportClick(static_cast<int32_t>(index));
    return true;
}

int CheckColumn::ClickedState() const
{
    CheckBox *box = Box(static_cast<size_t>(lastClicked_));
    if (!box) {
        return 0;
    }
    if (checkMode_ == 2) {
        return static_cast<TriStateBox *>(box)->GetState();
    }
    return box->IsChecked() ? 1 : 0;
}

void CheckColumn::UpdateBoxes(int32_t fromRow, int32_t toRow)
{
    if (boxes_.empty()) {
        return;
    }
    int64_t first = int64_t{fromRow} - top_;
    if (first < 0) {
        fromRow = top_;
        first = 0;
    }
    TreeWalker walker(*list_, static_cast<size_t>(fromRow));
    const int64_t last = std::min<int64_t>(int64_t{toRow} - top_, int64_t(boxes_.size()) - 1);
    for (size_t j = static_cast<size_t>(first); static_cast<int64_t>(j) <= last; ++j) {
        DisplayItem *item = walker.NextItem();
        CheckBox &box = *boxes_[j];
        if (!item) {
            box.Hide();
            continue;
        }
        box.Enable(item->IsEnabled());
        box.SetText(item->Text()); // names the box after its row for assistive tools
        if (checkMode_ == 2) {
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
