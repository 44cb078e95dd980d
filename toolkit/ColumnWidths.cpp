#include "toolkit/ColumnWidths.h"

#include <algorithm>
#include <functional>

#include <QEvent>
#include <QHeaderView>
#include <QTreeView>

namespace
{
// Shares the columns again whenever the room for them changes: the table's size, or a scroll bar
// that came or went.
class ResizeWatch : public QObject
{
  public:
    explicit ResizeWatch(std::function<void()> resized) : resized_(std::move(resized)) {}

  protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize) {
            resized_();
        }
        return false;
    }

  private:
    std::function<void()> resized_;
};
} // namespace

ColumnWidths::ColumnWidths(QTreeView *view)
    : view_(view), resizeWatch_(std::make_unique<ResizeWatch>([this] { Share(); }))
{
    view_->viewport()->installEventFilter(resizeWatch_.get());
    // The last column stretches over what is left by itself: only the others are the user's.
    QObject::connect(view_->header(), &QHeaderView::sectionResized, [this](int column, int, int) {
        if (!applying_ && column < view_->header()->count() - 1) {
            setByUser_ = true;
        }
    });
}

ColumnWidths::~ColumnWidths()
{
    view_->viewport()->removeEventFilter(resizeWatch_.get());
}

void ColumnWidths::Fit()
{
    if (setByUser_) {
        return;
    }
    QHeaderView *header = view_->header();
    wanted_.clear();
    for (int column = 0; column < header->count(); ++column) {
        wanted_.push_back(
            std::max(static_cast<QAbstractItemView *>(view_)->sizeHintForColumn(column),
                     header->sectionSizeHint(column)));
    }
    Share();
}

void ColumnWidths::Share()
{
    if (setByUser_ || wanted_.empty()) {
        return;
    }
    // A table not yet shown has not laid out its viewport; its own size already says the room.
    const int room =
        view_->isVisible() ? view_->viewport()->width() : view_->maximumViewportSize().width();
    Apply(Shared(wanted_, room));
}

void ColumnWidths::Apply(const std::vector<int> &widths)
{
    applying_ = true;
    for (std::size_t column = 0; column < widths.size(); ++column) {
        view_->setColumnWidth(static_cast<int>(column), widths[column]);
    }
    applying_ = false;
}

std::vector<int> ColumnWidths::UserWidths() const
{
    std::vector<int> widths;
    for (int column = 0; setByUser_ && column < view_->header()->count(); ++column) {
        widths.push_back(view_->columnWidth(column));
    }
    return widths;
}

void ColumnWidths::UseWidths(const std::vector<int> &widths)
{
    const bool fits = static_cast<int>(widths.size()) == view_->header()->count() &&
                      std::all_of(widths.begin(), widths.end(), [](int w) { return w > 0; });
    if (!fits) {
        return;
    }
    Apply(widths);
    setByUser_ = true;
}

std::vector<int> ColumnWidths::Shared(std::vector<int> wanted, int room)
{
    std::vector<bool> settled(wanted.size(), false);
    for (bool changed = true; changed;) {
        changed = false;
        int open = 0;
        int left = room;
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            settled[i] ? left -= wanted[i] : ++open;
        }
        if (open == 0) {
            break;
        }
        const int share = std::max(left / open, 1);
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            if (!settled[i] && wanted[i] <= share) {
                settled[i] = changed = true;
            }
        }
        if (!changed) {
            for (std::size_t i = 0; i < wanted.size(); ++i) {
                if (!settled[i]) {
                    wanted[i] = share;
                }
            }
        }
    }
    return wanted;
}
