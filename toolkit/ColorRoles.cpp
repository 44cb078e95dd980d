#include "toolkit/ColorRoles.h"

QColor ColorOf(Color color, const QPalette &palette)
{
    switch (color.Name()) {
    case COL_BUTTON:
        return palette.color(QPalette::Button);
    case COL_DARK:
        return palette.color(QPalette::Dark);
    case COL_WORKSPACE:
        return palette.color(QPalette::Base);
    case COL_HIGHLIGHT:
        return palette.color(QPalette::Highlight);
    case COL_HIGHLIGHTTEXT:
        return palette.color(QPalette::HighlightedText);
    case COL_CARET:
    case COL_WINDOWTEXT:
    default:
        return palette.color(QPalette::WindowText);
    }
}
