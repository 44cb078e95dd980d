// The support library's text string: narrow, NUL-terminated, compared ignoring the case of A-Z.
#include "mwlib/MW_String.h"

#include "mwlib/MW_Allocator.h"
#include "mwlib/MW_Text.h"

#include <cstring>

namespace
{
bool SameIgnoringCase(const char *a, const char *b, int32_t count)
{
    return MW_Text::SameIgnoringCase(a, b, static_cast<std::size_t>(count));
}

// Length of a text that the 32-bit length field can hold, or -1 when it cannot.
int32_t MeasuredLength(const char *text)
{
    const std::size_t size = std::strlen(text);
    return size > INT32_MAX - 1 ? -1 : static_cast<int32_t>(size);
}
} // namespace

void *MW_String::operator new(std::size_t size)
{
    if (void *block = MW_Allocator::Allocate(size))
        return block;
    throw std::bad_alloc();
}

void *MW_String::operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    return MW_Allocator::Allocate(size);
}

void MW_String::operator delete(void *block) noexcept
{
    MW_Allocator::Free(block);
}

MW_String::MW_String(const char *text)
{
    if (text)
        CopyFrom(text, MeasuredLength(text));
}

MW_String::MW_String(const MW_String &other)
{
    CopyFrom(other.narrow, other.length);
}

MW_String::MW_String(MW_String &&other) noexcept : length(other.length), narrow(other.narrow)
{
    other.length = 0;
    other.narrow = nullptr;
}

MW_String &MW_String::operator=(const MW_String &other)
{
    if (this != &other) {
        Drop();
        CopyFrom(other.narrow, other.length);
    }
    return *this;
}

MW_String &MW_String::operator=(MW_String &&other) noexcept
{
    if (this != &other) {
        Drop();
        length = other.length;
        narrow = other.narrow;
        other.length = 0;
        other.narrow = nullptr;
    }
    return *this;
}

MW_String &MW_String::operator=(const char *text)
{
    if (text == narrow)
        return *this;
    Drop();
    if (text)
        CopyFrom(text, MeasuredLength(text));
    return *this;
}

MW_String::~MW_String()
{
    Drop();
}

void MW_String::Drop()
{
    MW_Allocator::Free(narrow);
    narrow = nullptr;
    length = 0;
}

void MW_String::CopyFrom(const char *source, int32_t sourceLength)
{
    if (!source || sourceLength < 0)
        return;
    narrow =
        static_cast<char *>(MW_Allocator::Allocate(static_cast<std::size_t>(sourceLength) + 1));
    if (!narrow)
        return;
    std::memcpy(narrow, source, static_cast<std::size_t>(sourceLength));
    narrow[sourceLength] = '\0';
    length = sourceLength;
}

void MW_String::Append(const MW_String &other)
{
    AppendBytes(other.narrow, other.length);
}

void MW_String::Append(const char *text)
{
    if (text)
        AppendBytes(text, MeasuredLength(text));
}

void MW_String::AppendBytes(const char *source, int32_t added)
{
    if (!source || added == 0)
        return;
    if (added < 0 || length > INT32_MAX - 1 - added) {
        Drop();
        return;
    }
    // The old text stays alive until it has been copied, so a string may append itself.
    const std::size_t total = static_cast<std::size_t>(length) + static_cast<std::size_t>(added);
    char *grown = static_cast<char *>(MW_Allocator::Allocate(total + 1));
    if (!grown) {
        Drop();
        return;
    }
    if (narrow)
        std::memcpy(grown, narrow, static_cast<std::size_t>(length));
    std::memcpy(grown + length, source, static_cast<std::size_t>(added));
    grown[total] = '\0';
    MW_Allocator::Free(narrow);
    narrow = grown;
    length = static_cast<int32_t>(total);
}

const char *MW_String::Text() const
{
    return narrow ? narrow : "";
}

const char *MW_String::CharAt(int32_t index) const
{
    if (index < 0)
        index = 0;
    if (index > length)
        index = length;
    return Text() + index;
}

void MW_String::Cut(int32_t index)
{
    if (index < 0 || index > length)
        return;
    if (narrow)
        narrow[index] = '\0';
    length = index;
}

bool MW_String::EqualsFirst(int32_t count, const MW_String &other) const
{
    if (count < 0 || length < count || other.length < count)
        return false;
    return SameIgnoringCase(Text(), other.Text(), count);
}

bool MW_String::Equals(const MW_String &other) const
{
    if (length != other.length)
        return false;
    return SameIgnoringCase(Text(), other.Text(), length);
}

bool MW_String::Equals(const char *text) const
{
    if (!text)
        return length == 0;
    const int32_t textLength = MeasuredLength(text);
    if (textLength != length)
        return false;
    return SameIgnoringCase(Text(), text, length);
}
