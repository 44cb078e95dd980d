// Where an outline panel stands in its rows: the row drawn at the top, the caret row the keyboard
// moves, and the selected row. The panel keeps one; its check column and its row area both read
// it, so they never disagree.
#pragma once

#include <cstddef>
#include <cstdint>

struct Viewport {
    int32_t top = 0;
    int32_t caret = 0;
    int32_t selected = 0;
    // The selected row is drawn selected. Not after a re-root or a clear (the selected row is 0
    // then, but nothing is highlighted until a row is selected), nor after the row went away.
    bool highlighted = false;
    int32_t left = 0; // pixels the rows are scrolled to the left, for names wider than the area

    bool IsHighlighted(int32_t row) const { return highlighted && row == selected; }

    // Rows from `first` on were replaced: `removed` went, `inserted` came. A highlighted selection
    // follows its row, or goes with it; the caret follows the selection's rows.
    void RowsReplaced(std::size_t first, std::size_t removed, std::size_t inserted);
};
