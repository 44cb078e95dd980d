#include "tree/TitleBar.h"

#include "tree/OutlinePanel.h"
#include "tree/TitleShortener.h"

TitleBar::TitleBar(OutlinePanel *panel) : Window(panel), panel_(panel) {}

void TitleBar::SetTitle(const std::string &text)
{
    title_ = text;
    SetText(text); // Tab brings the focus here: assistive tools read the title
    Invalidate();
}

void TitleBar::SetFocusHighlight(bool on)
{
    focus_ = on;
    Invalidate();
}

std::string TitleBar::ShownTitle() const
{
    return ShortenInMiddle(title_, GetOutputSizePixel().width,
                           [this](const std::string &text) { return GetTextWidth(text); });
}

void TitleBar::Paint(const Rectangle &)
{
    Size size = GetOutputSizePixel();
    SetFillColor(Color(focus_ ? COL_HIGHLIGHT : COL_BUTTON));
    SetLineColor(Color(focus_ ? COL_DARK : COL_WINDOWTEXT));
    SetLineWidth(0);
    DrawRect(Rectangle::FromPosSize({0, 0}, size));
    std::string shown = ShownTitle();
    SetTextColor(Color(focus_ ? COL_HIGHLIGHTTEXT : COL_WINDOWTEXT));
    DrawText({(size.width - GetTextWidth(shown)) / 2, 0}, shown);
}

void TitleBar::MouseButtonDown(const MouseEvent &)
{
    GrabFocus();
}
void TitleBar::GetFocus()
{
    panel_->SetFocusHighlight(true);
}
void TitleBar::LoseFocus()
{
    panel_->SetFocusHighlight(false);
}
