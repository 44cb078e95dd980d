// A button with a text of its own that does what its click handler says (OK and Cancel end their
// dialog; this one leaves the dialog open).
#pragma once

#include <string>

#include "toolkit/Control.h"

class PushButton : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::PushButton;
    PushButton(Dialog *dialog, ResId id);

    void SetText(const std::string &text) override;
    std::string GetText() const override;
    // Shown when the pointer rests on the button (why it is disabled, say); empty: nothing.
    void SetQuickHelpText(const std::string &text);
    std::string GetQuickHelpText() const;
};
