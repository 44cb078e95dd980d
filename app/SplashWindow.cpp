// The splash window and its close timer.
#include "app/SplashWindow.h"

#include "app/ResourceString.h"
#include "res/ResourceIds.h"
#include "toolkit/Placement.h"

SplashWindow::SplashWindow(Window *parent)
    : ModelessDialog(parent, ResId(kDialogSplash)), picture_(this, ResId(kSplashPicture)),
      version_(this, ResId(kSplashVersion))
{
    FreeResource();
    version_.SetText(ResourceString(kStringVersion));
    CenterOnScreen(*this);
    closeTimer_.SetTimeout(kShowMilliseconds);
    closeTimer_.SetTimeoutHdl([this](Timer &) {
        Close();
        return 1L;
    });
    closeTimer_.Start();
}
