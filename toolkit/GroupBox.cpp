#include "toolkit/GroupBox.h"

#include <QGroupBox>

#include "toolkit/QtText.h"

GroupBox::GroupBox(Dialog *dialog, ResId id) : Control(dialog, Kind, id, new QGroupBox)
{
    auto *box = static_cast<QGroupBox *>(Widget());
    if (ResourceEntry()) {
        box->setTitle(ToQt(ResourceEntry()->text));
    }
    box->lower(); // the frame stays behind the controls it surrounds
}

std::string GroupBox::GetText() const
{
    return FromQt(static_cast<QGroupBox *>(Widget())->title());
}
