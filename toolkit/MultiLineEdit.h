// A text field of several lines.
#pragma once

#include "toolkit/Control.h"

class MultiLineEdit : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::MultiLineEdit;
    MultiLineEdit(Dialog *dialog, ResId id);

    void SetText(const std::string &text) override;
    std::string GetText() const override;
    void SetSelection(int start, int end); // characters start up to end, end excluded
    int SelectionStart() const;
    int SelectionEnd() const;
};
