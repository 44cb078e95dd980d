// Fuzzes the profile reader: an input is up to three profile files (default, global, local)
// separated by lines "#--"; every kind of read runs over them, through MW_IniFile and MW_Profile.
#include "mwlib/MW_Cache.h"
#include "mwlib/MW_IniFile.h"
#include "mwlib/MW_Profile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>

namespace
{

void RemoveDirectory();

// A scratch directory of this process for the three files (in memory where the system offers
// it), removed at exit. A plain array, so that it is still there when the exit handler runs.
const char *Directory()
{
    static char directory[] = "/dev/shm/fuzz_IniReader-XXXXXX";
    static const bool made = [] {
        if (access("/dev/shm", W_OK) != 0)
            std::memcpy(directory, "/tmp/fuzz_IniReader-XXXXXX",
                        sizeof "/tmp/fuzz_IniReader-XXXXXX");
        const bool ok = mkdtemp(directory) != nullptr;
        if (ok)
            std::atexit(RemoveDirectory);
        return ok;
    }();
    return made ? directory : "/tmp";
}

void RemoveDirectory()
{
    for (const char *name : {"/D.INI", "/G.INI", "/L.INI"})
        unlink((std::string(Directory()) + name).c_str());
    rmdir(Directory());
}

std::string PathOf(const char *name)
{
    return std::string(Directory()) + "/" + name;
}

void WriteFile(const char *name, std::string_view bytes)
{
    if (std::FILE *file = std::fopen(PathOf(name).c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

// Names from the input stay inside the scratch directory: "G.INI" and "L.INI" are the second and
// third parts, anything else is a file that does not exist.
void Confine(MW_String &name)
{
    if (name.Length() == 0)
        return;
    const char *base = name.Equals("G.INI") ? "G.INI" : name.Equals("L.INI") ? "L.INI" : "none";
    name = PathOf(base).c_str();
}

class FuzzProfile : public MW_Profile
{
  public:
    FuzzProfile() : MW_Profile(nullptr) {}
    int32_t BuildDefaultName() override
    {
        defaultName = PathOf("D.INI").c_str();
        return 0;
    }
    int32_t ReadGlobalName() override
    {
        const int32_t result = MW_Profile::ReadGlobalName();
        if (defaultName.Length() > 0) // a global profile was named
            Confine(globalName);
        return result;
    }
    int32_t ReadLocalName() override
    {
        const int32_t result = MW_Profile::ReadLocalName();
        Confine(localName);
        return result;
    }
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

void LoadProfile()
{
    MW_String serverSection("SERVER"), serverKey("BackupServer"), flagKey("Flag"),
        countKey("Count");
    MW_Cache servers;
    bool flag = false;
    int32_t count = 0;
    FuzzProfile profile;
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
    std::string_view parts[3];
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t separator = i < 2 ? input.find("\n#--\n", start) : std::string_view::npos;
        parts[i] = input.substr(std::min(start, input.size()), separator == std::string_view::npos
                                                                   ? std::string_view::npos
                                                                   : separator - start);
        start = separator == std::string_view::npos ? input.size() : separator + 5;
    }
    WriteFile("D.INI", parts[0]);
    WriteFile("G.INI", parts[1]);
    WriteFile("L.INI", parts[2]);

    std::string section = "S", key = "Key";
    FirstNames(parts[0], section, key);
    MW_IniFile file(MW_String(PathOf("D.INI").c_str()));
    ReadEverything(file, section.c_str(), key.c_str());
    if (file.Open() == 0) {
        ReadEverything(file, "SERVER", "BackupServer");
        file.HasChanged();
        file.Close();
    }
    LoadProfile();
    return 0;
}
