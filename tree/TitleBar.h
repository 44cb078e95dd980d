// The bar on top of an outline panel: the panel's title, drawn in the focus colours while the
// panel holds the focus and shortened in the middle when it does not fit.
#pragma once

#include <string>

#include "toolkit/Window.h"

class OutlinePanel;

class TitleBar : public Window
{
  public:
    explicit TitleBar(OutlinePanel *panel);

    void SetTitle(const std::string &text);
    const std::string &GetTitle() const { return title_; }
    void SetFocusHighlight(bool on);
    bool HasFocusHighlight() const { return focus_; }
    std::string ShownTitle() const; // the title as it fits the bar

    void Paint(const Rectangle &rect) override;
    void MouseButtonDown(const MouseEvent &event) override;
    void GetFocus() override;
    void LoseFocus() override;

  private:
    OutlinePanel *panel_;
    std::string title_;
    bool focus_ = false;
};
