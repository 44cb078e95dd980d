// The support library's text string: narrow, NUL-terminated, compared ignoring the case of A-Z.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

// Section and key names, profile file names, the application name and path, and the server names
// read from the profile are MW_Strings. Strings are kept narrow (8-bit) only: this program never
// converts to or from wide text. Nothing reports failure: when memory cannot be obtained the
// string ends up empty.
class MW_String
{
  public:
    MW_String() = default;
    MW_String(const char *text); // a null text gives an empty string
    MW_String(const MW_String &other);
    MW_String(MW_String &&other) noexcept;
    MW_String &operator=(const MW_String &other);
    MW_String &operator=(MW_String &&other) noexcept;
    MW_String &operator=(const char *text);
    virtual ~MW_String();

    void Append(const MW_String &other);
    void Append(const char *text); // a null or empty text appends nothing

    int32_t Length() const { return length; }
    // The text, or a static empty text when there is none; never null.
    const char *Text() const;
    // Pointer to the character at index; past the end gives the terminator, negative the start.
    const char *CharAt(int32_t index) const;
    // Ends the text at index when 0 <= index <= Length(); otherwise nothing changes.
    void Cut(int32_t index);

    // Equality ignoring the case of the letters A to Z; strings of different lengths differ.
    virtual bool EqualsFirst(int32_t count, const MW_String &other) const;
    virtual bool Equals(const MW_String &other) const;
    bool Equals(const char *text) const; // a null text equals the empty string
    bool operator==(const MW_String &other) const { return Equals(other); }

    // Strings handed to other code (the values of profile lists) are made with
    // new (std::nothrow) and destroyed with delete; both go through MW_Allocator.
    static void *operator new(std::size_t size);
    static void *operator new(std::size_t size, const std::nothrow_t &) noexcept;
    static void operator delete(void *block) noexcept;

  private:
    void Drop();
    void CopyFrom(const char *source, int32_t sourceLength);
    void AppendBytes(const char *source, int32_t added);

    int32_t length = 0;
    char *narrow = nullptr;
};
