// The About dialog.
#include "app/AboutDialog.h"

#include "app/ResourceString.h"
#include "res/ResourceIds.h"
#include "toolkit/Placement.h"

AboutDialog::AboutDialog(Window *parent)
    : ModalDialog(parent, ResId(kDialogAbout)), ok_(this, ResId(kOKButton)),
      picture_(this, ResId(kAboutPicture)), notice_{{{this, ResId(1)},
                                                     {this, ResId(2)},
                                                     {this, ResId(3)},
                                                     {this, ResId(4)},
                                                     {this, ResId(5)}}},
      version_(this, ResId(kAboutVersion))
{
    static_assert(kAboutLastNotice - kAboutFirstNotice + 1 == kNoticeLines);
    FreeResource();
    version_.SetText(ResourceString(kStringVersion));
    // The version line's own large font needs more width than the line was laid out with.
    WidenToContent(version_);
    CenterOver(*this, parent);
}
