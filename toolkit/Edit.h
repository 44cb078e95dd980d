// A one-line entry field; a masked one hides what is typed.
#pragma once

#include "toolkit/Control.h"

class Edit : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::Edit;
    Edit(Dialog *dialog, ResId id);

    void SetText(const std::string &text) override;
    std::string GetText() const override;
    bool IsMasked() const;
    void SelectAll(); // typing then replaces the text
    bool HasSelectedAll() const;
};
