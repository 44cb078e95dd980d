// A terminal that answers from a script and remembers every question; or no terminal at all.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "cli/Terminal.h"
#include "server/SecretText.h"

class ScriptedTerminal : public Terminal
{
  public:
    explicit ScriptedTerminal(bool available = true) : available_(available) {}

    void Answer(std::string answer) { answers_.push_back(std::move(answer)); }

    bool Available() const override { return available_; }
    bool Ask(const std::string &prompt, std::string &answer) override
    {
        return Next(prompt, false, answer);
    }
    bool AskSecret(const std::string &prompt, SecretText &answer) override
    {
        std::string text;
        const bool answered = Next(prompt, true, text);
        answer = SecretText(text);
        return answered;
    }

    // Every question in order; a secret one is marked with "(secret) " before it.
    const std::vector<std::string> &Questions() const { return questions_; }

  private:
    bool Next(const std::string &prompt, bool secret, std::string &answer)
    {
        questions_.push_back((secret ? "(secret) " : "") + prompt);
        if (!available_ || answers_.empty()) {
            return false;
        }
        answer = answers_.front();
        answers_.pop_front();
        return true;
    }

    bool available_;
    std::deque<std::string> answers_;
    std::vector<std::string> questions_;
};
