// An INI-syntax profile file: sections in brackets, name=value lines, ';' comments.
#include "mwlib/MW_IniFile.h"

#include "mwlib/MW_Cache.h"
#include "mwlib/MW_IniLine.h"
#include "mwlib/MW_IniValue.h"
#include "mwlib/MW_Results.h"
#include "mwlib/MW_Text.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace
{
constexpr unsigned char ByteOrderMark[] = {0xEF, 0xBB, 0xBF};

const char *OpenErrorText(int error)
{
    switch (error) {
    case ENOENT:
        return "missing";
    case EACCES:
        return "unreadable: permission denied";
    default:
        return std::strerror(error);
    }
}

// Where the text begins: behind a UTF-8 byte-order mark, if the file starts with one.
long BodyStart(std::FILE *file)
{
    unsigned char start[sizeof ByteOrderMark] = {};
    const std::size_t got = std::fread(start, 1, sizeof start, file);
    const bool marked = got == sizeof start && std::memcmp(start, ByteOrderMark, got) == 0;
    std::rewind(file);
    return marked ? static_cast<long>(sizeof ByteOrderMark) : 0;
}

bool EndsSection(const char *line)
{
    return line[0] == '[' && std::strchr(line, ']');
}

// Opens the file for the length of one read when nobody else has.
class OpenForRead
{
  public:
    explicit OpenForRead(MW_IniFile &file)
        : file(file), openedHere(!file.IsOpen()), result(openedHere ? file.Open() : MW_OK)
    {
    }
    ~OpenForRead()
    {
        if (openedHere && result == MW_OK)
            file.Close();
    }
    int32_t Result() const { return result; }

  private:
    MW_IniFile &file;
    bool openedHere;
    int32_t result;
};
} // namespace

MW_IniFile::MW_IniFile(const MW_String &fileName, int32_t *traceSwitch, std::FILE *traceStream)
    : MW_ConfigSource(fileName, traceSwitch, traceStream),
      name(fileName.Text(), traceSwitch, traceStream)
{
}

MW_IniFile::~MW_IniFile()
{
    Close();
}

int32_t MW_IniFile::Open()
{
    if (isOpen)
        return MW_OK;
    openFault = "";
    file = OpenStream();
    if (!file)
        return MW_NOTOPENED;
    bodyStart = BodyStart(file);
    isOpen = true;
    return MW_OK;
}

std::FILE *MW_IniFile::OpenStream()
{
    if (!name.Valid()) {
        openFault = "the path is longer than 255 characters";
        return nullptr;
    }
    char path[MW_FileName::PathSize];
    name.SystemPath(path);
    // Opening a pipe for reading waits for a writer, unless it is opened without waiting.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        openFault = OpenErrorText(errno);
        return nullptr;
    }
    struct stat status;
    const bool regular = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    const int flags = regular ? fcntl(fd, F_GETFL) : -1;
    std::FILE *stream = nullptr;
    if (flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0)
        stream = fdopen(fd, "r");
    if (!stream) {
        openFault = regular ? "unreadable" : "not a regular file";
        close(fd);
        return nullptr;
    }
    // The file as it was opened: no second look-up of the path, which may name another by now.
    timeStamp = static_cast<uint32_t>(status.st_mtime);
    return stream;
}

void MW_IniFile::Close()
{
    if (file)
        std::fclose(file);
    file = nullptr;
    isOpen = false;
}

int32_t MW_IniFile::HasChanged()
{
    uint32_t now = 0;
    name.TimeStamp(&now);
    if (now <= timeStamp)
        return 0;
    timeStamp = now;
    return 1;
}

// Leaves the file behind the section's line, or at its end when there is no such section.
bool MW_IniFile::SeekSection(const MW_String &section)
{
    std::clearerr(file);
    std::fseek(file, bodyStart, SEEK_SET);
    char line[MW_IniLine::Size];
    while (MW_IniLine::Read(file, line)) {
        if (line[0] == '[' && MW_Text::StartsIgnoringCase(line + 1, section.Text()) &&
            line[1 + section.Length()] == ']')
            return true;
    }
    return false;
}

int32_t MW_IniFile::Scan(const MW_String &key, int32_t *iterator, MW_String &value,
                         int32_t *enforced)
{
    MW_String enforcedKey("Enforce");
    enforcedKey.Append(key);
    char line[MW_IniLine::Size];
    while (MW_IniLine::Read(file, line) && !EndsSection(line)) {
        char *equals = std::strchr(line, '=');
        if (!equals)
            continue;
        *equals = '\0';
        const bool plain = key.Equals(line);
        if (!plain && !enforcedKey.Equals(line))
            continue;
        value = equals + 1;
        if (enforced)
            *enforced = plain ? 0 : 1;
        if (iterator)
            *iterator = 1;
        return MW_OK;
    }
    if (!iterator)
        return MW_NOTFOUND;
    const int32_t result = *iterator == -1 ? MW_NOTFOUND : MW_OK;
    *iterator = -1;
    return result;
}

int32_t MW_IniFile::Lookup(const MW_String &section, const MW_String &key, int32_t *iterator,
                           MW_String &value, int32_t *enforced)
{
    value = "";
    if (enforced)
        *enforced = 0;
    OpenForRead open(*this);
    if (open.Result() != MW_OK)
        return open.Result();
    if (!iterator || *iterator == -1)
        SeekSection(section);
    return Scan(key, iterator, value, enforced);
}

// A scalar read: -1 without a target, the lookup's error, or what convert makes of the value.
template <typename Convert>
int32_t MW_IniFile::ReadScalar(const void *target, const MW_String &section, const MW_String &key,
                               int32_t *enforced, Convert convert)
{
    if (!target)
        return MW_NOMEM;
    MW_String value;
    const int32_t result = Lookup(section, key, nullptr, value, enforced);
    return result == MW_OK ? convert(value) : result;
}

int32_t MW_IniFile::ReadBool(const MW_String &section, const MW_String &key, uint32_t, uint32_t,
                             bool *target, int32_t *enforced)
{
    return ReadScalar(target, section, key, enforced, [&](const MW_String &value) {
        return MW_IniValue::ToBool(value.Text(), target) ? MW_OK : MW_NOTACCEPTED;
    });
}

int32_t MW_IniFile::ReadString(const MW_String &section, const MW_String &key, uint32_t minimum,
                               uint32_t maximum, MW_String *target, int32_t *enforced)
{
    return ReadScalar(target, section, key, enforced, [&](MW_String &value) {
        *target = std::move(value);
        const auto length = static_cast<uint32_t>(target->Length());
        return MW_IniValue::InRange(length, minimum, maximum) ? MW_OK : MW_NOTACCEPTED;
    });
}

int32_t MW_IniFile::ReadNumber(const MW_String &section, const MW_String &key, uint32_t minimum,
                               uint32_t maximum, int32_t *target, int32_t *enforced)
{
    return ReadScalar(target, section, key, enforced, [&](const MW_String &value) {
        *target = MW_IniValue::ToInt(value.Text());
        const auto number = static_cast<uint32_t>(*target);
        return MW_IniValue::InRange(number, minimum, maximum) ? MW_OK : MW_NOTACCEPTED;
    });
}

int32_t MW_IniFile::ReadInt(const MW_String &section, const MW_String &key, uint32_t minimum,
                            uint32_t maximum, int32_t *target, int32_t *enforced)
{
    return ReadNumber(section, key, minimum, maximum, target, enforced);
}

int32_t MW_IniFile::ReadLong(const MW_String &section, const MW_String &key, uint32_t minimum,
                             uint32_t maximum, int32_t *target, int32_t *enforced)
{
    return ReadNumber(section, key, minimum, maximum, target, enforced);
}

int32_t MW_IniFile::ReadList(const MW_String &section, const MW_String &key, uint32_t type,
                             uint32_t minimum, uint32_t maximum, MW_Cache *target)
{
    if (!target)
        return MW_NOMEM;
    OpenForRead open(*this);
    if (open.Result() != MW_OK)
        return open.Result();
    return ReadValues(section, key, type, minimum, maximum, *target);
}

int32_t MW_IniFile::ReadValues(const MW_String &section, const MW_String &key, uint32_t type,
                               uint32_t minimum, uint32_t maximum, MW_Cache &target)
{
    int32_t iterator = -1;
    uint32_t number = 0;
    MW_String value;
    int32_t enforced = 0;
    for (;;) {
        const int32_t found = Lookup(section, key, &iterator, value, &enforced);
        if (found != MW_OK || iterator == -1)
            return found;
        if (value.Length() == 0)
            continue;
        MW_ProfileListValue entry;
        std::memset(&entry, 0, sizeof entry);
        const int32_t converted = ListValue(type, value, minimum, maximum, entry);
        if (converted != MW_OK)
            return converted;
        entry.enforced = static_cast<uint32_t>(enforced);
        ++number;
        const int32_t stored = target.Store(sizeof number, &number, sizeof entry, &entry);
        if (stored != MW_OK) {
            if (type == MW_ProfileKey::String)
                delete entry.value.text;
            return stored;
        }
    }
}

int32_t MW_IniFile::ListValue(uint32_t type, const MW_String &text, uint32_t minimum,
                              uint32_t maximum, MW_ProfileListValue &entry)
{
    switch (type) {
    case MW_ProfileKey::Bool:
        return MW_IniValue::ToBool(text.Text(), &entry.value.flag) ? MW_OK : MW_NOTACCEPTED;
    case MW_ProfileKey::String: {
        if (!MW_IniValue::InRange(static_cast<uint32_t>(text.Length()), minimum, maximum))
            return MW_NOTACCEPTED;
        auto *copy = new (std::nothrow) MW_String(text);
        if (!copy || copy->Length() != text.Length()) {
            delete copy;
            return MW_NOTCREATED;
        }
        entry.value.text = copy;
        return MW_OK;
    }
    case MW_ProfileKey::Int:
    case MW_ProfileKey::Long:
        entry.value.number = MW_IniValue::ToInt(text.Text());
        return MW_IniValue::InRange(static_cast<uint32_t>(entry.value.number), minimum, maximum)
                   ? MW_OK
                   : MW_NOTACCEPTED;
    default:
        return MW_NOMEM;
    }
}
