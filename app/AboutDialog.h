// "About TARVIK": the program's picture, its version and the legal notice.
#pragma once

#include <array>

#include "toolkit/BitmapButton.h"
#include "toolkit/FixedText.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/OKButton.h"

class AboutDialog : public ModalDialog
{
  public:
    static constexpr int kNoticeLines = 5;

    // Centred over the parent (the main window).
    explicit AboutDialog(Window *parent);

  private:
    OKButton ok_;
    BitmapButton picture_;
    std::array<FixedText, kNoticeLines> notice_; // fixed texts 1 to 5, from the resource
    FixedText version_;
};
