// A password held in memory: never printed, kept in one buffer of its own, and wiped whole when
// replaced, moved, grown or destroyed, so that no copy of it is left behind in freed memory.
#pragma once

#include <string>
#include <string_view>

class SecretText
{
  public:
    SecretText() = default;
    // A copy of the text; wiping the text itself is the caller's (see Taking).
    explicit SecretText(std::string_view text);
    SecretText(const SecretText &) = delete;
    SecretText &operator=(const SecretText &) = delete;
    SecretText(SecretText &&other) noexcept;
    SecretText &operator=(SecretText &&other) noexcept;
    ~SecretText() { Wipe(); }

    // The text of an ordinary string, whose bytes are wiped there.
    static SecretText Taking(std::string &text);

    std::string_view Reveal() const { return text_; }
    // The text with a NUL after it, for interfaces that take one.
    const char *CText() const { return text_.c_str(); }
    bool Empty() const { return text_.empty(); }
    // One more character (a prompt reads a password a key at a time): a larger buffer takes the
    // text and the one left is wiped first.
    void Append(char c);
    // Zeroes every byte of the buffer, also beyond the text's end, and empties the text.
    void Wipe();

    // Reads the first line of a regular file that belongs to the user running the program and
    // that no one else may read or write (mode 0600 or 0400); the reason in `fault` otherwise,
    // and nothing is read: a password others can reach is no secret.
    static bool ReadFile(const std::string &path, SecretText &secret, std::string &fault);

  private:
    static void Zero(std::string &text);

    std::string text_;
};
