#include "toolkit/Font.h"

#include <QApplication>

#include "toolkit/QtText.h"
#include "toolkit/Resource.h"

Font::Font() : font_(QApplication::font()) {}

Font::Font(ResId id) : Font()
{
    const FontResource *resource = Resources::Font(id);
    if (!resource) {
        return;
    }
    font_.setFamilies({ToQt(resource->family)});
    font_.setStyleHint(QFont::SansSerif);
    // The sizes were laid out against the dialog units of a small system font: read as pixels.
    font_.setPixelSize(resource->pointSize);
    font_.setBold(resource->bold);
}
