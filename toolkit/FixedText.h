// A line of text in a dialog.
#pragma once

#include "toolkit/Control.h"

class FixedText : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::FixedText;
    FixedText(Dialog *dialog, ResId id);
    void SetText(const std::string &text) override;
    std::string GetText() const override; // the whole text, however it is shown
    // A wrapping text breaks its lines at blanks (within a long word where it must) to fit its
    // width; HeightFor tells how high it is then at a given width.
    void SetWrapping(bool wrap = true);
    int HeightFor(int width) const;
    // A line wider than the control loses its middle (a name's beginning and its end, a file's
    // name with its ending, stay), and shows its whole text as its tip.
    void SetElidedInMiddle();
    std::string ShownText() const;
};
