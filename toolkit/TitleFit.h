// The title a dialog's frame shows: the whole title while it fits the title bar beside the
// frame's buttons and the program's name (which the desktop adds after it), otherwise the title
// cut in the middle, so that both its beginning and its end (an object's name, a time) stay.
#pragma once

#include <string>

std::string FitTitle(const std::string &title, int windowWidth);

// The width a window needs to show this title whole in its title bar.
int TitleWidthNeeded(const std::string &title);
