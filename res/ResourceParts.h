// The pieces of the program's resource table, each defined in a file of its own.
#pragma once

#include <vector>

#include "toolkit/Resource.h"

std::vector<MenuResource> TarvikMenus();
std::vector<StringResource> TarvikStrings();
std::vector<FontResource> TarvikFonts();
std::vector<ImageResource> TarvikBitmaps();
std::vector<ImageResource> TarvikIcons();
std::vector<DialogResource> TarvikDialogs();
