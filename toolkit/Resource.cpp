#include "toolkit/Resource.h"

#include <algorithm>

namespace
{
const ResourceTable *installed = nullptr;

template <typename T> const T *FindById(const std::vector<T> &entries, ResId id)
{
    auto it = std::find_if(entries.begin(), entries.end(),
                           [id](const T &entry) { return entry.id == id.Id(); });
    return it == entries.end() ? nullptr : &*it;
}
} // namespace

void Resources::Install(const ResourceTable *table)
{
    installed = table;
}

const ResourceTable *Resources::Installed()
{
    return installed;
}

const MenuResource *Resources::Menu(ResId id)
{
    return installed ? FindById(installed->menus, id) : nullptr;
}

const StringResource *Resources::String(ResId id)
{
    return installed ? FindById(installed->strings, id) : nullptr;
}

const FontResource *Resources::Font(ResId id)
{
    return installed ? FindById(installed->fonts, id) : nullptr;
}

const ImageResource *Resources::Bitmap(ResId id)
{
    return installed ? FindById(installed->bitmaps, id) : nullptr;
}

const ImageResource *Resources::Icon(ResId id)
{
    return installed ? FindById(installed->icons, id) : nullptr;
}

const DialogResource *Resources::Dialog(ResId id)
{
    return installed ? FindById(installed->dialogs, id) : nullptr;
}
