#include "tree/RowArea.h"

#include <algorithm>

#include "model/DisplayItem.h"
#include "model/NodeList.h"
#include "model/TreeNode.h"
#include "model/TreeWalker.h"
#include "toolkit/Bitmap.h"
#include "tree/OutlinePanel.h"

namespace
{
constexpr int kRow = OutlinePanel::kRowHeight;
constexpr int kIndent = 20;
constexpr int kTextMargin = 5; // after the end of a name, before the area's edge
} // namespace

RowArea::RowArea(OutlinePanel *panel, NodeList *list, Viewport &viewport)
    : Window(panel), panel_(panel), list_(list), viewport_(viewport)
{
    SetBackground(Color(COL_WORKSPACE));
    PresentOn(*this);
}

int32_t RowArea::WholeRowsThatFit() const
{
    return GetOutputSizePixel().height / kRow;
}

Rectangle RowArea::RowRect(int32_t row) const
{
    return Rectangle::FromPosSize({0, (row - viewport_.top) * kRow},
                                  {GetOutputSizePixel().width, kRow});
}

void RowArea::RepaintRow(int32_t row)
{
    InvalidateRow(row);
    Update();
}

// At a fractional scale a line on a row's edge (the caret frame's) may land on device pixels of
// the neighbouring row: the band reaches one pixel into each neighbour, so no trace stays behind.
void RowArea::InvalidateRow(int32_t row)
{
    Rectangle band = RowRect(row);
    band.top -= 1;
    band.bottom += 1;
    Invalidate(band);
}

void RowArea::InvalidateFromRow(int32_t row)
{
    Size size = GetOutputSizePixel();
    int y = std::max(0, (row - viewport_.top) * kRow);
    if (y < size.height) {
        Invalidate({0, y, size.width - 1, size.height - 1});
    }
}

void RowArea::InvalidateRows(int32_t first, int32_t last)
{
    const int32_t shown = (GetOutputSizePixel().height + kRow - 1) / kRow;
    const int64_t from = std::max<int64_t>(first, viewport_.top);
    const int64_t to = std::min<int64_t>(last, int64_t{viewport_.top} + shown - 1);
    if (from <= to) {
        const Size size = GetOutputSizePixel();
        const int y = static_cast<int>((from - viewport_.top) * kRow);
        Invalidate({0, y, size.width - 1, static_cast<int>((to - viewport_.top + 1) * kRow) - 1});
    }
}

void RowArea::SelectRow(int32_t row)
{
    if (row < 0 || list_->ItemAt(static_cast<size_t>(row)) == nullptr) {
        return;
    }
    const int32_t oldCaret = viewport_.caret;
    const int32_t oldSelected = viewport_.selected;
    viewport_.selected = viewport_.caret = row;
    viewport_.highlighted = true;
    // One repaint for the three rows.
    InvalidateRow(oldCaret);
    InvalidateRow(oldSelected);
    RepaintRow(row);
    AnnounceSelection(oldSelected, row);
    AnnounceCaret();
    CallLink(selectHdl_, *panel_);
}

void RowArea::Activate()
{
    CallLink(activateHdl_, *panel_);
}

void RowArea::SetCaretRow(int32_t row)
{
    const int32_t old = viewport_.caret;
    viewport_.caret = row;
    InvalidateRow(old);
    RepaintRow(row);
    AnnounceCaret();
}

void RowArea::ScrollLeftTo(int32_t left)
{
    if (left != viewport_.left) {
        viewport_.left = left;
        Invalidate();
    }
}

void RowArea::ResetRows()
{
    widest_ = 0;
    const int32_t oldCaret = viewport_.caret;
    const int32_t oldSelected = viewport_.selected;
    viewport_.selected = viewport_.caret = 0;
    viewport_.highlighted = false;
    InvalidateRow(oldCaret);
    RepaintRow(oldSelected);
}

// Less than a screenful moves the pixels and paints the uncovered band; more repaints it all.
void RowArea::ScrollRows(int32_t delta)
{
    viewport_.top += delta;
    const int32_t magnitude = delta < 0 ? -delta : delta;
    if (magnitude < WholeRowsThatFit()) {
        Scroll(0, -kRow * delta);
    } else {
        Invalidate();
    }
    Update();
    AnnounceScrolled();
}

void RowArea::Paint(const Rectangle &rect)
{
    const int32_t first = rect.top / kRow + viewport_.top;
    const int32_t last = rect.bottom / kRow + viewport_.top;
    if (first < 0) {
        return;
    }
    Rectangle row = RowRect(first);
    TreeWalker walker(*list_, static_cast<size_t>(first));
    int32_t index = first;
    for (TreeNode *node = walker.NextNode(); node && index <= last; node = walker.NextNode()) {
        if (row.Overlaps(rect)) {
            DrawRow(*node, row, viewport_.IsHighlighted(index));
            if (index == viewport_.caret) {
                DrawCaretFrame(row);
            }
        }
        row.top += kRow;
        row.bottom += kRow;
        ++index;
    }
}

void RowArea::DrawRow(const TreeNode &node, const Rectangle &row, bool highlighted)
{
    const std::string pattern = node.LinePattern();
    const int levels = static_cast<int>(pattern.size());
    const int x0 = row.left - viewport_.left;
    const int y0 = row.top;
    SetLineColor(Color(COL_WINDOWTEXT));
    SetLineWidth(2);
    for (int i = 1; i < levels; ++i) {
        const int x = x0 + kIndent * i;
        const bool lastChild = pattern[i] == 'l';
        if (!lastChild) {
            // The pen's ends are flat: the line ends where the next row's line begins, so the
            // connector runs on without a gap at any scale.
            DrawLine({x, y0}, {x, y0 + kRow});
        } else if (i == levels - 1) {
            DrawLine({x, y0}, {x, y0 + 10});
        }
        if (i == levels - 1) {
            DrawLine({x, y0 + 10}, {x + 15, y0 + 10});
        }
    }
    const DisplayItem &item = *node.Item();
    const Bitmap &bitmap = panel_->PictureOf(item);
    const int bitmapX = x0 + kIndent * levels;
    DrawBitmap({bitmapX, y0 + (kRow - bitmap.Height()) / 2}, bitmap);
    SetTextColor(Color(COL_WINDOWTEXT));
    const std::string text = item.Text();
    const int textX = bitmapX + bitmap.Width() + 5;
    DrawText({textX, y0 + (kRow - GetTextHeight()) / 2}, text);
    NoteWidth(textX - x0 + GetTextWidth(text) + kTextMargin);
    if (highlighted) {
        Invert(row);
    }
}

// A row wider than any before it may need the horizontal scroll bar: the panel lays itself out
// again at the next pass.
void RowArea::NoteWidth(int32_t width)
{
    if (width > widest_) {
        widest_ = width;
        if (widest_ > GetOutputSizePixel().width) {
            panel_->RowsWidened();
        }
    }
}

void RowArea::DrawCaretFrame(const Rectangle &row)
{
    SetLineColor(Color(COL_CARET));
    SetLineWidth(1);
    SetLineStyle(LineStyle::Dotted);
    SetTransparentFill();
    DrawRect({row.left, row.top, row.right - 1, row.bottom});
    SetLineStyle(LineStyle::Solid);
    SetFillColor(Color(COL_WORKSPACE));
}

void RowArea::MouseButtonDown(const MouseEvent &event)
{
    GrabFocus();
    const int32_t row = event.GetPosPixel().y / kRow + viewport_.top;
    if (row < 0 || static_cast<size_t>(row) >= list_->TotalCount()) {
        return;
    }
    if (event.GetClicks() == 1) {
        SelectRow(row);
    } else if (event.GetClicks() == 2) {
        Activate();
    }
}

void RowArea::GetFocus()
{
    panel_->SetFocusHighlight(true);
}
void RowArea::LoseFocus()
{
    panel_->SetFocusHighlight(false);
}

std::string RowArea::AccessibleTitle() const
{
    return panel_->GetTitle();
}

int32_t RowArea::AccessibleRowCount() const
{
    return static_cast<int32_t>(list_->TotalCount());
}

int32_t RowArea::AccessibleShownCount() const
{
    const int32_t onScreen = (GetOutputSizePixel().height + kRow - 1) / kRow;
    return std::max(0, std::min(onScreen, AccessibleRowCount() - viewport_.top));
}

bool RowArea::AccessibleHasFocus() const
{
    return panel_->HasFocusHighlight();
}

std::string RowArea::AccessibleRowText(int32_t row) const
{
    const DisplayItem *item = row < 0 ? nullptr : list_->ItemAt(static_cast<size_t>(row));
    return item ? item->Text() : std::string();
}

std::string RowArea::AccessibleRowDescription(int32_t row) const
{
    const DisplayItem *item = row < 0 ? nullptr : list_->ItemAt(static_cast<size_t>(row));
    return item ? item->Description() : std::string();
}

std::string RowArea::ToolTipText(Point pos) const
{
    const int32_t row = pos.y / kRow + viewport_.top;
    const DisplayItem *item =
        pos.y < 0 || row < 0 ? nullptr : list_->ItemAt(static_cast<size_t>(row));
    return item ? item->ToolTip() : std::string();
}

RowStates RowArea::AccessibleRowStates(int32_t row) const
{
    RowStates states;
    const DisplayItem *item = row < 0 ? nullptr : list_->ItemAt(static_cast<size_t>(row));
    if (!item) {
        return states;
    }
    states.checkable = panel_->HasCheckColumn();
    states.check = item->GetCheckState();
    states.enabled = item->IsEnabled();
    states.selected = viewport_.IsHighlighted(row);
    states.expandable = item->IsExpandable();
    states.expanded = item->IsExpanded();
    return states;
}

void RowArea::AccessibleToggle(int32_t row)
{
    panel_->CycleCheck(row);
}
