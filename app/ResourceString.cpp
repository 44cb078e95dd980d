// Loading a string resource by id.
#include "app/ResourceString.h"

#include "toolkit/Resource.h"

std::string ResourceString(uint16_t id)
{
    const StringResource *resource = Resources::String(ResId(id));
    return resource ? resource->text : std::string();
}
