// A button with a text of its own that only calls its click handler: the dialog stays open.
#pragma once

#include "toolkit/Control.h"

class QPushButton;

class PushButton : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::PushButton;
    PushButton(Dialog *dialog, ResId id);

    void SetText(const std::string &text) override;
    std::string GetText() const override;
    // The button Return presses while the dialog has the keyboard.
    void SetDefault(bool isDefault = true);
    QPushButton *Button() const;
    // Shown when the pointer rests on the button (why it is disabled, say); empty: nothing.
    void SetQuickHelpText(const std::string &text);
    std::string GetQuickHelpText() const;
};
