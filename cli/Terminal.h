// Where the program asks the person running it: a password without echo, the login, and what
// to do after a failure. Scripts run without one, and then nothing is ever asked.
#pragma once

#include <string>

class SecretText;

class Terminal
{
  public:
    virtual ~Terminal() = default;

    virtual bool Available() const = 0;
    // Shows the prompt and reads one line (without its line end); false when nothing came.
    virtual bool Ask(const std::string &prompt, std::string &answer) = 0;
    // The same without showing what is typed.
    virtual bool AskSecret(const std::string &prompt, SecretText &answer) = 0;
};
