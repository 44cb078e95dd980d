// A text that a dialog shows below its controls when it has something to say (why a login was
// refused, what a run is about to overwrite): broken into lines as wide as the dialog, and the
// dialog grows by the room they need. Without a text nothing is shown and the dialog keeps its
// size.
#pragma once

#include <string>

#include "toolkit/Control.h"

class DialogNote : public Control
{
  public:
    static constexpr int kMargin = 10; // dialog units around the text

    explicit DialogNote(Dialog *dialog);

    void SetText(const std::string &text) override;
    std::string GetText() const override;

  private:
    Dialog *dialog_;
    std::string text_;
    int grownBy_ = 0; // pixels the dialog grew to show the text
};
