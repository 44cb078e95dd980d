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
    }
}
