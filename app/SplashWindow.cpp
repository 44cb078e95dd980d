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
    FitToPicture();
    version_.SetText(ResourceString(kStringVersion));
    // The window has no title: assistive tools name it after the program and its version.
    SetAccessibleName("TARVIK " + ResourceString(kStringVersion));
    CenterOnScreen(*this);
    closeTimer_.SetTimeout(kShowMilliseconds);
    closeTimer_.SetTimeoutHdl([this](Timer &) {
        Close();
        return 1L;
    });
    closeTimer_.Start();
}

// The picture's place is laid out in dialog units, whose height follows the font: a place taller
// than the fitted picture would show bands of the window's ground above and below it. The window
// closes up around the picture instead.
void SplashWindow::FitToPicture()
{
    const Size place = picture_.GetSizePixel();
    const int spare = place.height - picture_.FittedHeight();
    if (spare <= 0 || picture_.FittedHeight() == 0) {
        return;
    }
    picture_.SetSizePixel({place.width, place.height - spare});
    const Point versionAt = version_.GetPosPixel();
    version_.SetPosPixel({versionAt.x, versionAt.y - spare});
    const Size window = GetSizePixel();
    SetSizePixel({window.width, window.height - spare});
}
