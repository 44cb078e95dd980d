// A button of a dialog that does what its click handler says; the dialog's default button is
// also pressed by Return.
#pragma once

#include "toolkit/Control.h"

class QPushButton;

class PushButton : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::PushButton;
    PushButton(Dialog *dialog, ResId id);

    void SetDefault(bool isDefault);
    void SetText(const std::string &text) override;
    std::string GetText() const override;

  private:
    QPushButton *Button() const;
};
