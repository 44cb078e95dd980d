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
    // A read-only edit shows a text that cannot be changed but can be selected (with the mouse
    // or the keyboard) and copied.
    void SetReadOnly(bool readOnly = true);
    bool IsReadOnly() const;
    int SelectionStart() const;
    int SelectionEnd() const;
};
