// The splash window: the program's picture and version, centred on the screen at start-up. Its
// one-shot timer hides it four seconds after it was built; the object stays until start-up's
// scope ends.
#pragma once

#include "toolkit/BitmapButton.h"
#include "toolkit/FixedText.h"
#include "toolkit/ModelessDialog.h"
#include "toolkit/Timer.h"

class SplashWindow : public ModelessDialog
{
  public:
    static constexpr int kShowMilliseconds = 4000;

    // The parent is the main window. Start-up shows the window; the timer is already running.
    explicit SplashWindow(Window *parent);

    Timer &CloseTimer() { return closeTimer_; }

  private:
    void FitToPicture();

    BitmapButton picture_;
    FixedText version_;
    Timer closeTimer_;
};
