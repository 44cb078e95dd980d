#include "toolkit/FixedIcon.h"

#include <QLabel>

#include "toolkit/Icon.h"

FixedIcon::FixedIcon(Dialog *dialog, ResId id) : Control(dialog, Kind, id, new QLabel)
{
    if (ResourceEntry() && ResourceEntry()->imageId != 0) {
        Icon icon{ResId(ResourceEntry()->imageId)};
        auto *label = static_cast<QLabel *>(Widget());
        label->setPixmap(icon.QtIcon().pixmap(32, 32));
        label->setAccessibleName(QStringLiteral("Program icon"));
    }
}
