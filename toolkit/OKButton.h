// The OK button: ends its modal dialog with 1, unless a click handler takes the click.
#pragma once

#include "toolkit/Control.h"

class QPushButton;

class OKButton : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::OKButton;
    OKButton(Dialog *dialog, ResId id);

    void Click() override;
    void SetText(const std::string &text) override;
    std::string GetText() const override;
    QPushButton *Button() const;
    // The button Return presses while the dialog has the keyboard (OK is, from the start).
    void SetDefault(bool isDefault = true);

  protected:
    OKButton(Dialog *dialog, ResId id, ControlKind kind, const char *caption, long result);

  private:
    Dialog *dialog_;
    long result_;
};
