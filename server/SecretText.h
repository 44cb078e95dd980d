// A password held in memory: never printed, and wiped when replaced or destroyed.
#pragma once

#include <string>

class SecretText
{
  public:
    SecretText() = default;
    explicit SecretText(std::string text) : text_(std::move(text)) {}
    SecretText(const SecretText &) = delete;
    SecretText &operator=(const SecretText &) = delete;
    SecretText(SecretText &&other) noexcept;
    SecretText &operator=(SecretText &&other) noexcept;
    ~SecretText() { Wipe(); }

    const std::string &Reveal() const { return text_; }
    bool Empty() const { return text_.empty(); }
    void Wipe();

    // Reads the first line of a file that only its owner (and group) may read; the reason in
    // `fault` otherwise. A file readable by others is refused: the password would not be secret.
    static bool ReadFile(const std::string &path, SecretText &secret, std::string &fault);

  private:
    std::string text_;
};
