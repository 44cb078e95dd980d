// Reads registered settings from a chain of INI profiles: default, global and local.
#include "mwlib/MW_Profile.h"

#include "mwlib/MW_Application.h"
#include "mwlib/MW_IniFile.h"
#include "mwlib/MW_Results.h"

#include <cstring>
#include <string>
#include <type_traits>

namespace
{
const MW_String &GlobalSection()
{
    static const MW_String text("GLOBALINI");
    return text;
}

const MW_String &LocalSection()
{
    static const MW_String text("LOCALINI");
    return text;
}

const MW_String &NameKey()
{
    static const MW_String text("Name");
    return text;
}

// Length of the directory part of a path, its last separator included.
int32_t DirectoryLength(const MW_String &path)
{
    for (int32_t i = path.Length(); i > 0; --i) {
        const char c = path.Text()[i - 1];
        if (c == '/' || c == '\\')
            return i;
    }
    return 0;
}
} // namespace

MW_Profile::MW_Profile(MW_Application *application, int32_t *traceSwitch, std::FILE *traceStream)
    : MW_TraceObject(traceSwitch, traceStream), owner(application),
      keyRegistry(traceSwitch, traceStream), traceSwitch(traceSwitch), traceStream(traceStream)
{
}

MW_Profile::~MW_Profile()
{
    CloseAll();
}

int32_t MW_Profile::RegisterKey(const MW_ProfileKey &descriptor)
{
    return keyRegistry.Store(sizeof descriptor, &descriptor, 0, nullptr);
}

// A program path without a directory part names a program in the current directory, so the
// default profile is then looked for there.
int32_t MW_Profile::BuildDefaultName()
{
    const MW_String &path = MW_Application::ProgramPath();
    defaultName = path;
    defaultName.Cut(DirectoryLength(path));
    defaultName.Append(MW_Application::ApplicationName());
    defaultName.Append(".INI");
    return MW_OK;
}

MW_ConfigSource *MW_Profile::CreateSource(const MW_String &name)
{
    return MW_Allocator::New<MW_IniFile>(name, traceSwitch, traceStream);
}

int32_t MW_Profile::OpenSource(const MW_String &name, MW_Owned<MW_ConfigSource> &slot)
{
    faultFile = name;
    slot.reset(CreateSource(name));
    if (!slot) {
        faultReason = "out of memory";
        return 2;
    }
    const int32_t result = slot->Open();
    faultReason = slot->OpenFault();
    return result;
}

int32_t MW_Profile::OpenDefaultProfile()
{
    return OpenSource(defaultName, defaultProfile);
}

int32_t MW_Profile::ReadGlobalName()
{
    if (!defaultProfile)
        return MW_NOTOPENED;
    const int32_t result =
        defaultProfile->ReadString(GlobalSection(), NameKey(), 0, 0, &globalName, nullptr);
    if (result != MW_NOTFOUND)
        return result;
    // No global profile named: the default profile is the global one.
    globalProfile = std::move(defaultProfile);
    globalName = defaultName;
    defaultName = "";
    return MW_OK;
}

int32_t MW_Profile::OpenGlobalProfile()
{
    return globalProfile ? MW_OK : OpenSource(globalName, globalProfile);
}

int32_t MW_Profile::ReadLocalName()
{
    if (!globalProfile)
        return MW_NOTOPENED;
    const int32_t result =
        globalProfile->ReadString(LocalSection(), NameKey(), 0, 0, &localName, nullptr);
    return result == MW_NOTFOUND ? MW_OK : result;
}

int32_t MW_Profile::OpenLocalProfile()
{
    return localName.Length() == 0 ? MW_OK : OpenSource(localName, localProfile);
}

void MW_Profile::CloseAll()
{
    for (MW_ConfigSource *source :
         {defaultProfile.get(), globalProfile.get(), localProfile.get()}) {
        if (source)
            source->Close();
    }
}

int32_t MW_Profile::Load()
{
    int32_t (MW_Profile::*const steps[])() = {
        &MW_Profile::BuildDefaultName, &MW_Profile::OpenDefaultProfile,
        &MW_Profile::ReadGlobalName,   &MW_Profile::OpenGlobalProfile,
        &MW_Profile::ReadLocalName,    &MW_Profile::OpenLocalProfile};
    for (auto step : steps) {
        const int32_t result = (this->*step)();
        if (result != MW_OK) {
            if (faultReason.Length() == 0)
                faultReason = "cannot be read";
            return result;
        }
    }
    return ReadKeys();
}

int32_t MW_Profile::ReadKeys()
{
    uint32_t iterator = MW_Cache::NewPass;
    do {
        CacheEntryResult_T *result = nullptr;
        keyRegistry.GetNext(&iterator, &result);
        if (!result)
            break;
        MW_ProfileKey descriptor;
        const bool whole = result->SKS == sizeof descriptor;
        if (whole)
            std::memcpy(&descriptor, result->SearchKey, sizeof descriptor);
        keyRegistry.FreeResult(&result);
        if (!whole || !(descriptor.flags & MW_ProfileKey::Active))
            continue;
        answered = nullptr;
        const int32_t read = ReadDescriptor(descriptor);
        if (read == MW_NOTFOUND && (descriptor.flags & MW_ProfileKey::Required)) {
            NoteKeyFault(1, descriptor);
            return 1;
        }
        if (read == MW_NOTACCEPTED) {
            NoteKeyFault(3, descriptor);
            return 3;
        }
    } while (iterator != MW_Cache::NewPass);
    faultFile = "";
    faultReason = "";
    return MW_OK;
}

// result 1: a required key is in no file; 3: a value is not acceptable.
void MW_Profile::NoteKeyFault(int32_t result, const MW_ProfileKey &d)
{
    faultFile = answered ? answered->FileName() : MW_String();
    const char *key = d.key ? d.key->Text() : "";
    const char *section = d.section ? d.section->Text() : "";
    if (result == 1) {
        faultReason = "no ";
        faultReason.Append(key);
        faultReason.Append(" line in section [");
        faultReason.Append(section);
        faultReason.Append("]");
        return;
    }
    faultReason = "a value of ";
    faultReason.Append(key);
    faultReason.Append(" in section [");
    faultReason.Append(section);
    faultReason.Append("] is not acceptable");
    if (d.maximum != 0 && d.type != MW_ProfileKey::Bool) {
        const bool text = d.type == MW_ProfileKey::String;
        const std::string range = " (" + std::to_string(d.minimum) + " to " +
                                  std::to_string(d.maximum) + (text ? " characters)" : ")");
        faultReason.Append(range.c_str());
    }
}

int32_t MW_Profile::ReadDescriptor(const MW_ProfileKey &d)
{
    if (!d.section || !d.key)
        return MW_NOMEM;
    if (d.flags & MW_ProfileKey::MultiValued)
        return ReadList(*d.section, *d.key, d.type, d.minimum, d.maximum,
                        static_cast<MW_Cache *>(d.target));
    switch (d.type) {
    case MW_ProfileKey::Bool:
        return ReadBool(*d.section, *d.key, d.minimum, d.maximum, static_cast<bool *>(d.target));
    case MW_ProfileKey::String:
        return ReadString(*d.section, *d.key, d.minimum, d.maximum,
                          static_cast<MW_String *>(d.target));
    case MW_ProfileKey::Int:
        return ReadInt(*d.section, *d.key, d.minimum, d.maximum, static_cast<int32_t *>(d.target));
    case MW_ProfileKey::Long:
        return ReadLong(*d.section, *d.key, d.minimum, d.maximum, static_cast<int32_t *>(d.target));
    default:
        return MW_NOMEM;
    }
}

// The global profile's answer, unless it is found and not enforced and a local profile exists:
// then the local profile's. A string target is emptied before each read.
template <typename T>
int32_t MW_Profile::Combine(ScalarRead<T> read, const MW_String &section, const MW_String &key,
                            uint32_t minimum, uint32_t maximum, T *target)
{
    if (!globalProfile)
        return MW_NOMEM;
    auto readFrom = [&](MW_ConfigSource &source, int32_t *enforced) {
        if constexpr (std::is_same_v<T, MW_String>) {
            if (target)
                *target = "";
        }
        return (source.*read)(section, key, minimum, maximum, target, enforced);
    };
    int32_t enforced = 0;
    answered = globalProfile.get();
    const int32_t global = readFrom(*globalProfile, &enforced);
    if (global != MW_OK && global != MW_NOTFOUND)
        return global;
    if (enforced)
        return MW_OK;
    if (!localProfile)
        return global;
    answered = localProfile.get();
    return readFrom(*localProfile, nullptr);
}

int32_t MW_Profile::ReadBool(const MW_String &section, const MW_String &key, uint32_t minimum,
                             uint32_t maximum, bool *target)
{
    return Combine(&MW_ConfigSource::ReadBool, section, key, minimum, maximum, target);
}

int32_t MW_Profile::ReadString(const MW_String &section, const MW_String &key, uint32_t minimum,
                               uint32_t maximum, MW_String *target)
{
    return Combine(&MW_ConfigSource::ReadString, section, key, minimum, maximum, target);
}

int32_t MW_Profile::ReadInt(const MW_String &section, const MW_String &key, uint32_t minimum,
                            uint32_t maximum, int32_t *target)
{
    return Combine(&MW_ConfigSource::ReadInt, section, key, minimum, maximum, target);
}

int32_t MW_Profile::ReadLong(const MW_String &section, const MW_String &key, uint32_t minimum,
                             uint32_t maximum, int32_t *target)
{
    return Combine(&MW_ConfigSource::ReadLong, section, key, minimum, maximum, target);
}

int32_t MW_Profile::ReadList(const MW_String &section, const MW_String &key, uint32_t type,
                             uint32_t minimum, uint32_t maximum, MW_Cache *target)
{
    if (!globalProfile)
        return MW_NOMEM;
    answered = globalProfile.get();
    const int32_t global = globalProfile->ReadList(section, key, type, minimum, maximum, target);
    if ((global != MW_OK && global != MW_NOTFOUND) || !localProfile)
        return global;
    answered = localProfile.get();
    return localProfile->ReadList(section, key, type, minimum, maximum, target);
}
