// Keeping the selection on its row when rows come and go in front of it.
#include "tree/Viewport.h"

namespace
{
// A row behind the replaced ones moves by the difference; one among them is gone (false).
bool Follow(int32_t &row, std::size_t first, std::size_t removed, std::size_t inserted)
{
    const auto at = static_cast<std::size_t>(row < 0 ? 0 : row);
    if (at < first) {
        return true;
    }
    if (at < first + removed) {
        return false;
    }
    row = static_cast<int32_t>(at - removed + inserted);
    return true;
}
} // namespace

// Only a highlighted selection is followed: without one, the rows are numbers the user has not
// yet given a meaning (after a re-root the selected row stays 0, the new top context).
void Viewport::RowsReplaced(std::size_t first, std::size_t removed, std::size_t inserted)
{
    if (!highlighted) {
        return;
    }
    if (caret == selected) {
        highlighted = Follow(selected, first, removed, inserted);
        caret = selected;
    } else {
        highlighted = Follow(selected, first, removed, inserted);
        Follow(caret, first, removed, inserted);
    }
}
