// The terminal of the session that started the program (/dev/tty), whatever standard input and
// output are: a list of objects may come on standard input and the results go to a pipe while
// the person at the terminal is still asked.
#pragma once

#include <functional>

#include "cli/Terminal.h"

class ControllingTerminal : public Terminal
{
  public:
    ControllingTerminal();
    ~ControllingTerminal() override;
    ControllingTerminal(const ControllingTerminal &) = delete;
    ControllingTerminal &operator=(const ControllingTerminal &) = delete;

    bool Available() const override { return fd_ >= 0; }
    bool Ask(const std::string &prompt, std::string &answer) override;
    bool AskSecret(const std::string &prompt, SecretText &answer) override;

  private:
    // Reads up to the end of the line, handing each character over as it comes; false when
    // nothing came before the input ended, or the program is to end.
    bool ReadLine(const std::function<void(char)> &keep);

    int fd_ = -1;
};
