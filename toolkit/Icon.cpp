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
// folders do): a panel or dock at any scale then shows a crisp icon rather than a scaled one.
void Icon::AddThemeSizes(const std::string &name)
{
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString path =
            QStringLiteral(":/icons/hicolor/%1x%1/%2.png").arg(size).arg(ToQt(name));
        const QImage image = ImageFile::Read(path);
        if (!image.isNull() && !icon_.availableSizes().contains(image.size())) {
            icon_.addPixmap(QPixmap::fromImage(image));
        }
    }
}
