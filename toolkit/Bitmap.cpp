#include "toolkit/Bitmap.h"

#include "toolkit/Resource.h"

Bitmap::Bitmap(ResId id)
{
    if (const ImageResource *resource = Resources::Bitmap(id)) {
        pixmap_.load(QString::fromStdString(resource->path));
    }
}
