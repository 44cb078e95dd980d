// The desktop's clipboard, for plain text.
#pragma once

#include <string>

class Clipboard
{
  public:
    static void SetText(const std::string &text);
    static std::string GetText();
};
