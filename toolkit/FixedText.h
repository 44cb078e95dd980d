// A line of text in a dialog.
#pragma once

#include "toolkit/Control.h"

class FixedText : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::FixedText;
    FixedText(Dialog *dialog, ResId id);
    void SetText(const std::string &text) override;
    std::string GetText() const override;
};
