// Reading and writing the text fields and the trailing times of the server records.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "mwlib/MW_Text.h"
#include "server/ServerRecords.h"

// The text of a fixed field, read only within the field: a faulty server may leave out the NUL.
template <std::size_t N> std::string FieldText(const char (&field)[N])
{
    const void *end = std::memchr(field, '\0', N);
    return std::string(field, end ? static_cast<const char *>(end) - field : N);
}

// Copies text and its NUL into the field. A text that does not fit is never cut (a cut name could
// address another object): the field is left as it was and the result is false.
template <std::size_t N> bool CopyToField(char (&field)[N], std::string_view text)
{
    if (text.size() >= N) {
        return false;
    }
    text.copy(field, text.size()); // not memcpy: an empty view may point nowhere
    field[text.size()] = '\0';
    return true;
}

// Copies as much of a message as the field holds, whole characters only, and its NUL. For texts
// that are only shown (messages, the login's names), never for names sent to the server.
template <std::size_t N> void CopyCutToField(char (&field)[N], std::string_view text)
{
    const std::size_t length = MW_Text::WholeCharacters(text, N - 1);
    text.copy(field, length);
    field[length] = '\0';
}

// Entry i of the times behind a HistoryReply's count.
inline BackupTime HistoryTime(const HistoryReply &reply, std::size_t i)
{
    BackupTime time;
    std::memcpy(&time, reinterpret_cast<const unsigned char *>(&reply) + HistoryReplySize(i),
                sizeof time);
    return time;
}

inline void SetHistoryTime(HistoryReply &reply, std::size_t i, BackupTime time)
{
    std::memcpy(reinterpret_cast<unsigned char *>(&reply) + HistoryReplySize(i), &time,
                sizeof time);
}
