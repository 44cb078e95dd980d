#include "toolkit/Bitmap.h"

#include "toolkit/ImageFile.h"
#include "toolkit/QtText.h"
#include "toolkit/Resource.h"

Bitmap::Bitmap(ResId id)
{
    if (const ImageResource *resource = Resources::Bitmap(id)) {
        pixmap_ = QPixmap::fromImage(ImageFile::Read(ToQt(resource->path)));
    }
}
