#include "toolkit/Icon.h"

#include "toolkit/QtText.h"
#include "toolkit/Resource.h"

Icon::Icon(ResId id)
{
    if (const ImageResource *resource = Resources::Icon(id)) {
        icon_ = QIcon(ToQt(resource->path));
    }
}
