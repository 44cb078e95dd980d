#include "tree/OutlinePanel.h"

#include <algorithm>
#include <cstdint>

#include "model/NodeList.h"
#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"

OutlinePanel::OutlinePanel(Window *parent, bool showTitle, CheckMode checkMode, NodeList *list)
    : Window(parent), showTitle_(showTitle), showCheckColumn_(checkMode != CheckMode::None),
      list_(list), titleBar_(this), checkColumn_(this, list, viewport_, checkMode),
      rowArea_(this, list, viewport_), scrollBar_(this, WB_VSCROLL | WB_DRAG),
      hScrollBar_(this, WB_HSCROLL | WB_DRAG)
{
    scrollBar_.SetScrollHdl([this](ScrollBar &) {
        FollowScrollBar();
        return 1L;
    });
    scrollBar_.Hide();
    hScrollBar_.SetScrollHdl([this](ScrollBar &bar) {
        ScrollAcross(bar.GetThumbPos());
        return 1L;
    });
    hScrollBar_.SetLineSize(kRowHeight);
    hScrollBar_.Hide();
    list_->AddObserver(this);
}

OutlinePanel::~OutlinePanel()
{
    list_->RemoveObserver(this);
}

const Bitmap &OutlinePanel::PictureOf(const DisplayItem &row) const
{
    // Kept for the program's life: a pixmap must not outlive the application object's teardown.
    static const Bitmap *none = new Bitmap();
    return pictureHdl_ ? pictureHdl_(row) : *none;
}

void OutlinePanel::SetTitle(const std::string &text)
{
    titleBar_.SetTitle(text);
    rowArea_.AnnounceTitle();
}

void OutlinePanel::SetFocusHighlight(bool on)
{
    titleBar_.SetFocusHighlight(on);
    if (on) {
        rowArea_.AnnounceFocus();
    }
}

void OutlinePanel::ShowPanel()
{
    showTitle_ ? titleBar_.Show() : titleBar_.Hide();
    if (showCheckColumn_) {
        checkColumn_.CreateBoxes();
        checkColumn_.Show();
    } else {
        checkColumn_.Hide();
    }
    rowArea_.Show();
    Show();
}

int32_t OutlinePanel::VisibleRows() const
{
    return rowArea_.GetOutputSizePixel().height / kRowHeight;
}

// The scroll bar's position is the top row; whatever moved it, the rows follow by the difference.
// (Counting from the position rather than the toolkit's delta keeps the two equal in large mode,
// where the delta is rounded.)
void OutlinePanel::FollowScrollBar()
{
    int32_t delta = scrollBar_.Position() - viewport_.top;
    if (delta != 0) {
        ScrollRows(delta);
    }
}

// The rows take what the title and the check column leave; a scroll bar at the right when they
// do not all fit, and one below them when a drawn name is wider than they are.
void OutlinePanel::Resize()
{
    const Size size = GetOutputSizePixel();
    int top = 0;
    if (showTitle_) {
        titleBar_.SetPosSizePixel({0, 0}, {size.width, kTitleHeight});
        titleBar_.Invalidate();
        top = kTitleHeight;
    }
    const int columnWidth = showCheckColumn_ ? kCheckColumnWidth : 0;
    Size rows{size.width - columnWidth, size.height - top};
    const int32_t total = static_cast<int32_t>(list_->TotalCount());
    bool needScrollBar = rows.height / kRowHeight < total;
    if (needScrollBar) {
        rows.width -= kScrollBarWidth;
    }
    const bool needAcross = rowArea_.Widest() > rows.width;
    if (needAcross) {
        rows.height -= kScrollBarWidth;
        if (!needScrollBar && rows.height / kRowHeight < total) {
            needScrollBar = true;
            rows.width -= kScrollBarWidth;
        }
    }
    const int32_t visible = rows.height / kRowHeight;
    if (showCheckColumn_) {
        checkColumn_.SetPosSizePixel({0, top}, {kCheckColumnWidth, rows.height});
    }
    rowArea_.SetPosSizePixel({columnWidth, top}, rows);
    PlaceHorizontalScrollBar({columnWidth, top + rows.height}, rows, needAcross);
    if (needScrollBar) {
        scrollBar_.SetPosSizePixel({size.width - kScrollBarWidth, top},
                                   {kScrollBarWidth, rows.height});
        scrollBar_.SetRange(0, total - visible); // pulls a position beyond the end back
        FollowScrollBar();
        scrollBar_.Show();
    } else {
        scrollBar_.SetPosition(0);
        FollowScrollBar();
        scrollBar_.Hide();
    }
    // Set also without a scroll bar, since Page Down moves the caret by it.
    scrollBar_.SetPageSize(std::max(visible - 1, 1));
}

void OutlinePanel::PlaceHorizontalScrollBar(Point rowsAt, Size rows, bool needed)
{
    if (!needed) {
        hScrollBar_.Hide();
        ScrollAcross(0);
        return;
    }
    const int32_t hidden = std::max(0, rowArea_.Widest() - rows.width);
    hScrollBar_.SetPosSizePixel(rowsAt, {rows.width, kScrollBarWidth});
    hScrollBar_.SetRange(0, hidden);
    hScrollBar_.SetPageSize(std::max(rows.width, 1));
    hScrollBar_.SetThumbPos(std::min(viewport_.left, hidden));
    ScrollAcross(hScrollBar_.GetThumbPos());
    hScrollBar_.Show();
}

void OutlinePanel::ScrollAcross(int32_t left)
{
    rowArea_.ScrollLeftTo(std::max(0, left));
}

void OutlinePanel::RowsWidened()
{
    changes_.widened = true;
    refresh_.Post();
}

// Through the long-range scroll bar, as a drag of its thumb would: a million rows scroll as ten.
bool OutlinePanel::Wheel(const WheelEvent &event)
{
    // Across, by a wheel tilted sideways or two fingers moved sideways: an indentation step a row.
    const int32_t across = wheelAcross_.Rows(event.GetAngleDelta().x, event.GetPixelDelta().x,
                                             Application::WheelScrollLines(), kRowHeight);
    if (across != 0 && hScrollBar_.IsVisible()) {
        hScrollBar_.SetThumbPos(viewport_.left + across * kRowHeight);
        ScrollAcross(hScrollBar_.GetThumbPos());
    }
    const int32_t rows = wheel_.Rows(event.GetAngleDelta().y, event.GetPixelDelta().y,
                                     Application::WheelScrollLines(), kRowHeight);
    const int64_t last = static_cast<int64_t>(list_->TotalCount()) - VisibleRows();
    if (rows == 0 || last <= 0) {
        return true; // nothing to scroll: the wheel stops here all the same
    }
    const int64_t target = std::clamp<int64_t>(int64_t{viewport_.top} + rows, 0, last);
    scrollBar_.SetPosition(static_cast<int32_t>(target));
    FollowScrollBar();
    return true;
}

void OutlinePanel::ScrollRows(int32_t delta)
{
    rowArea_.ScrollRows(delta);
    checkColumn_.UpdateBoxes(viewport_.top, INT32_MAX);
}

void OutlinePanel::RowsReplaced(std::size_t first, std::size_t removed, std::size_t inserted)
{
    viewport_.RowsReplaced(first, removed, inserted);
    changes_.rowsFrom = std::min(changes_.rowsFrom, static_cast<int64_t>(first));
    refresh_.Post();
}

void OutlinePanel::ChecksChanged(std::size_t first, std::size_t last)
{
    changes_.checksFirst = std::min(changes_.checksFirst, static_cast<int64_t>(first));
    changes_.checksLast = std::max(changes_.checksLast, static_cast<int64_t>(last));
    refresh_.Post();
}

void OutlinePanel::LooksChanged(std::size_t first, std::size_t last)
{
    changes_.looksFirst = std::min(changes_.looksFirst, static_cast<int64_t>(first));
    changes_.looksLast = std::max(changes_.looksLast, static_cast<int64_t>(last));
    refresh_.Post();
}

void OutlinePanel::ShowCheckOf(int32_t row)
{
    ChecksChanged(static_cast<std::size_t>(row), static_cast<std::size_t>(row));
}

// Rows that moved need the layout (the scroll bar's range), their boxes and their pixels again;
// rows whose checks changed only their boxes; rows whose looks changed their boxes (which carry
// the row's text) and pixels.
void OutlinePanel::CatchUp()
{
    const Changes changes = std::exchange(changes_, Changes{});
    constexpr int64_t None = Changes::None;
    const auto row = [](int64_t value) {
        return static_cast<int32_t>(std::clamp<int64_t>(value, 0, INT32_MAX));
    };
    const bool moved = changes.rowsFrom != None;
    if (moved || changes.widened) {
        Resize();
    }
    const int64_t boxesFirst =
        std::min({changes.rowsFrom, changes.checksFirst, changes.looksFirst});
    const int64_t boxesLast = moved ? INT32_MAX : std::max(changes.checksLast, changes.looksLast);
    if (boxesFirst != None) {
        checkColumn_.UpdateBoxes(row(boxesFirst), row(boxesLast));
    }
    if (moved) {
        rowArea_.InvalidateFromRow(row(changes.rowsFrom));
    }
    if (changes.looksFirst != None) {
        rowArea_.InvalidateRows(row(changes.looksFirst), row(changes.looksLast));
    }
    if (changes.checksFirst != None) {
        rowArea_.AnnounceChecks(row(changes.checksFirst), row(changes.checksLast));
    }
    if (const int64_t changedFrom = std::min(changes.rowsFrom, changes.looksFirst);
        changedFrom != None) {
        rowArea_.AnnounceRows(row(changedFrom));
    }
}

void OutlinePanel::Clear()
{
    list_->Clear();
    rowArea_.ResetRows();
}

void OutlinePanel::MoveCaretBy(int32_t delta)
{
    const int64_t last = static_cast<int64_t>(list_->TotalCount()) - 1;
    if (last < 0) {
        return;
    }
    int64_t target = std::clamp<int64_t>(int64_t{viewport_.caret} + delta, 0, last);
    MoveCaretTo(static_cast<int32_t>(target));
}

void OutlinePanel::MoveCaretTo(int32_t row)
{
    if (row < 0 || static_cast<size_t>(row) >= list_->TotalCount()) {
        return;
    }
    rowArea_.SetCaretRow(row);
    ScrollIntoView(row);
}

void OutlinePanel::ScrollIntoView(int32_t row)
{
    const int32_t top = viewport_.top;
    const int32_t fit = VisibleRows();
    int32_t delta = 0;
    if (row < top) {
        delta = row - top;
    } else if (row >= top + fit) {
        delta = row - (top + fit) + 1;
    }
    if (delta != 0) {
        ScrollRows(delta);
        scrollBar_.SetPosition(viewport_.top);
    }
}

void OutlinePanel::ShowAndSelectRow(int32_t row)
{
    Refresh(); // rows inserted a moment ago must be laid out before they can be scrolled to
    if (row < 0 || static_cast<size_t>(row) >= list_->TotalCount()) {
        return;
    }
    ScrollIntoView(row);
    SelectRow(row);
}

void OutlinePanel::CycleCheck(int32_t row)
{
    if (!showCheckColumn_ || row < 0 || static_cast<size_t>(row) >= list_->TotalCount()) {
        return;
    }
    ScrollIntoView(row);
    checkColumn_.CycleRow(row);
}

void OutlinePanel::KeyInput(const KeyEvent &event)
{
    switch (event.GetCode()) {
    case KEY_DOWN:
        MoveCaretBy(scrollBar_.LineSize());
        break;
    case KEY_UP:
        MoveCaretBy(-scrollBar_.LineSize());
        break;
    case KEY_PAGEDOWN:
        MoveCaretBy(scrollBar_.PageSize());
        break;
    case KEY_PAGEUP:
        MoveCaretBy(-scrollBar_.PageSize());
        break;
    case KEY_HOME:
        MoveCaretTo(0);
        break;
    case KEY_END:
        MoveCaretTo(static_cast<int32_t>(list_->TotalCount()) - 1);
        break;
    case KEY_SPACE:
        rowArea_.SelectRow(viewport_.caret);
        break;
    case KEY_RETURN:
    case KEY_ENTER:
        if (viewport_.caret != viewport_.selected) {
            rowArea_.SelectRow(viewport_.caret);
        }
        rowArea_.Activate();
        break;
    case KEY_PLUS:
        // Marking without a mouse: the caret row's box changes as a click on it changes it.
        CycleCheck(viewport_.caret);
        break;
    default:
        Window::KeyInput(event);
        break;
    }
}
