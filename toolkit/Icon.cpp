#include "toolkit/Icon.h"

#include "toolkit/ImageFile.h"
#include "toolkit/QtText.h"
#include "toolkit/Resource.h"

Icon::Icon(ResId id)
{
    if (const ImageResource *resource = Resources::Icon(id)) {
        const QImage image = ImageFile::Read(ToQt(resource->path));
        if (!image.isNull()) {
            icon_ = QIcon(QPixmap::fromImage(image));
        }
        AddThemeSizes(resource->name);
    }
}

// The same picture drawn for other sizes, where the resources hold them (as the icon theme's
// folders do): a title bar or panel up to scale 2 then shows a crisp icon rather than a scaled
// one. Larger sizes stay with the installed theme, where a dock finds them through the desktop
// entry: every size given here is decoded and handed to the window system at start-up.
void Icon::AddThemeSizes(const std::string &name)
{
    for (int size : {16, 32, 48, 64}) {
        const QString path =
            QStringLiteral(":/icons/hicolor/%1x%1/%2.png").arg(size).arg(ToQt(name));
        const QImage image = ImageFile::Read(path);
        if (!image.isNull() && !icon_.availableSizes().contains(image.size())) {
            icon_.addPixmap(QPixmap::fromImage(image));
        }
    }
}
