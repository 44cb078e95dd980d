// Fuzzes the profile reader: an input is up to three profile files (default, global, local)
// separated by lines "#--"; every kind of read runs over them, through MW_IniFile and MW_Profile.
// The files are read from memory, so that the fuzzer spends its time in the reader, not in the
// file system.
#include "mwlib/MW_Allocator.h"
#include "mwlib/MW_Cache.h"
#include "mwlib/MW_IniFile.h"
#include "mwlib/MW_Profile.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace
{

// The three parts of the input by their names in the profiles; anything else does not exist.
struct Parts {
    std::string_view text[3];
    const std::string_view *Named(const char *name) const
    {
        static const char *const names[3] = {"D.INI", "G.INI", "L.INI"};
        for (int i = 0; i < 3; ++i) {
            if (std::strcmp(name, names[i]) == 0)
                return &text[i];
        }
        return nullptr;
    }
};

// A profile file whose bytes are one part of the input.
class MemoryIniFile : public MW_IniFile
{
  public:
    MemoryIniFile(const MW_String &name, const Parts &parts)
        : MW_IniFile(name), bytes(parts.Named(name.Text()))
    {
    }

  protected:
    std::FILE *OpenStream() override
    {
        if (!bytes) {
            openFault = "missing";
            return nullptr;
        }
        // A part of no bytes may have no buffer: a stream over no bytes of another one.
        static char nothing[1];
        char *buffer = bytes->empty() ? nothing : const_cast<char *>(bytes->data());
        std::FILE *stream = fmemopen(buffer, bytes->size(), "r"); // POSIX, not in namespace std
        // The stream's own buffer would be a new block of several kilobytes at every open.
        if (stream)
            std::setvbuf(stream, streamBuffer, _IOFBF, sizeof streamBuffer);
        return stream;
    }

  private:
    const std::string_view *bytes;
    char streamBuffer[256];
};

class FuzzProfile : public MW_Profile
{
  public:
    explicit FuzzProfile(const Parts &parts) : MW_Profile(nullptr), parts(parts) {}
    int32_t BuildDefaultName() override
    {
        defaultName = "D.INI";
        return 0;
    }

  protected:
    MW_ConfigSource *CreateSource(const MW_String &name) override
    {
        return MW_Allocator::New<MemoryIniFile>(name, parts);
    }

  private:
    const Parts &parts;
};

// Frees the strings that list reads created, as a consumer must.
void Empty(MW_Cache &list, uint32_t type)
{
    uint32_t iterator = MW_Cache::NewPass;
    do {
        CacheEntryResult_T *result = nullptr;
        list.GetNext(&iterator, &result);
        if (!result)
            break;
        if (type == MW_ProfileKey::String && result->DS == sizeof(MW_ProfileListValue)) {
            MW_ProfileListValue value;
            std::memcpy(&value, result->Data, sizeof value);
            delete value.value.text;
        }
        list.FreeResult(&result);
    } while (iterator != MW_Cache::NewPass);
}

// The first section and the first key name of a file, so reads can hit what the input holds.
void FirstNames(std::string_view text, std::string &section, std::string &key)
{
    const std::size_t open = text.find('[');
    const std::size_t close = text.find(']', open == std::string_view::npos ? 0 : open);
    if (open != std::string_view::npos && close != std::string_view::npos && close - open < 64)
        section.assign(text.substr(open + 1, close - open - 1));
    const std::size_t equals = text.find('=', close == std::string_view::npos ? 0 : close);
    if (equals == std::string_view::npos)
        return;
    std::size_t start = text.rfind('\n', equals);
    start = start == std::string_view::npos ? 0 : start + 1;
    if (equals - start < 64)
        key.assign(text.substr(start, equals - start));
}

void ReadEverything(MW_ConfigSource &file, const MW_String &section, const MW_String &key)
{
    bool flag = false;
    MW_String text;
    int32_t number = 0;
    int32_t enforced = 0;
    file.ReadBool(section, key, 0, 0, &flag, &enforced);
    file.ReadString(section, key, 1, 48, &text, &enforced);
    file.ReadInt(section, key, 3, 70000, &number, &enforced);
    file.ReadLong(section, key, 0, 0, &number, nullptr);
    for (uint32_t type = 0; type <= 4; ++type) {
        MW_Cache list;
        file.ReadList(section, key, type, 0, type == MW_ProfileKey::String ? 48 : 0, &list);
        Empty(list, type);
    }
}

void LoadProfile(const Parts &parts)
{
    MW_String serverSection("SERVER"), serverKey("BackupServer"), flagKey("Flag"),
        countKey("Count");
    MW_Cache servers;
    bool flag = false;
    int32_t count = 0;
    FuzzProfile profile(parts);
    profile.RegisterKey({&serverSection, &serverKey, 0x61, MW_ProfileKey::String, &servers, 1, 48});
    profile.RegisterKey({&serverSection, &flagKey, 0x21, MW_ProfileKey::Bool, &flag, 0, 0});
    profile.RegisterKey({&serverSection, &countKey, 0x01, MW_ProfileKey::Int, &count, 1, 99});
    profile.Load();
    profile.CloseAll();
    Empty(servers, MW_ProfileKey::String);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    Parts parts;
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t separator = i < 2 ? input.find("\n#--\n", start) : std::string_view::npos;
        parts.text[i] = input.substr(std::min(start, input.size()),
                                     separator == std::string_view::npos ? std::string_view::npos
                                                                         : separator - start);
        start = separator == std::string_view::npos ? input.size() : separator + 5;
    }

    // Each input takes one of three roads, chosen by its length, so that it costs one road's
    // work; inputs one byte longer or shorter take the others.
    switch (size % 3) {
    case 0: { // every read on a file that opens and closes itself for each read
        std::string section = "S", key = "Key";
        FirstNames(parts.text[0], section, key);
        MemoryIniFile file(MW_String("D.INI"), parts);
        ReadEverything(file, section.c_str(), key.c_str());
        break;
    }
    case 1: { // every read on a file kept open, for the program's own key
        MemoryIniFile file(MW_String("D.INI"), parts);
        if (file.Open() == 0) {
            ReadEverything(file, "SERVER", "BackupServer");
            file.Close();
        }
        break;
    }
    default: // the whole chain of profiles, as the program loads it
        LoadProfile(parts);
        break;
    }
    return 0;
}
