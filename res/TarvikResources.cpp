// Joins the pieces of the resource table and installs it with the pictures it names.
#include "res/TarvikResources.h"

#include <QtCore/qglobal.h>

#include "res/ResourceParts.h"

// Q_INIT_RESOURCE must stand outside any namespace: it declares the registration function that
// the resource compiler generated for res.qrc, which a static library does not run by itself.
static void RegisterCompiledPictures()
{
    Q_INIT_RESOURCE(res);
}

const ResourceTable &TarvikResources()
{
    static const ResourceTable table{
        .menus = TarvikMenus(),
        .strings = TarvikStrings(),
        .fonts = TarvikFonts(),
        .bitmaps = TarvikBitmaps(),
        .icons = TarvikIcons(),
        .dialogs = TarvikDialogs(),
    };
    return table;
}

void InstallTarvikResources()
{
    [[maybe_unused]] static const bool registered = (RegisterCompiledPictures(), true);
    Resources::Install(&TarvikResources());
}
