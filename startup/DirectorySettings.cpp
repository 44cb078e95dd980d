// The directory keys of a server's section.
#include "startup/DirectorySettings.h"

#include <strings.h>

#include <sstream>

#include "mwlib/MW_Profile.h"
#include "mwlib/MW_String.h"

namespace
{
constexpr uint32_t MinTimeout = 1;
constexpr uint32_t MaxTimeout = 600;

class SectionReader
{
  public:
    SectionReader(MW_Profile &profile, const std::string &section)
        : profile_(profile), section_(section.c_str())
    {
    }

    // The value of the key, if the section (or the profile it comes from) has one.
    bool Text(const char *key, std::string &target)
    {
        MW_String value;
        if (profile_.ReadString(section_, MW_String(key), 0, 0, &value) != 0) {
            return false;
        }
        target = value.Text();
        found_ = true;
        return true;
    }
    // A timeout outside its range is kept as 0, which the server refuses with a reason.
    void Seconds(const char *key, int &target)
    {
        int32_t value = 0;
        const int32_t result =
            profile_.ReadInt(section_, MW_String(key), MinTimeout, MaxTimeout, &value);
        if (result == 0 || result == -3) {
            target = result == 0 ? value : 0;
            found_ = true;
        }
    }
    bool Found() const { return found_; }

  private:
    MW_Profile &profile_;
    MW_String section_;
    bool found_ = false;
};

bool IsYes(const std::string &value)
{
    return strcasecmp(value.c_str(), "yes") == 0 || strcasecmp(value.c_str(), "true") == 0 ||
           value == "1";
}

std::string FromProgramDirectory(const std::string &path, const std::string &directory)
{
    if (path.empty() || path[0] == '/' || directory.empty()) {
        return path;
    }
    return directory + (directory.back() == '/' ? "" : "/") + path;
}
} // namespace

std::optional<LdapSettings> DirectorySettings::Read(MW_Profile &profile,
                                                    const std::string &serverName,
                                                    const std::string &programDirectory)
{
    LdapSettings settings;
    settings.serverName = serverName;
    SectionReader section(profile, serverName);
    section.Text("Kind", settings.kind);
    section.Text("Uri", settings.uri);
    section.Text("Base", settings.base);
    section.Text("Catalogue", settings.catalogue);
    section.Text("BindDn", settings.bindDn);
    section.Text("PasswordFile", settings.passwordFile);
    section.Text("Sasl", settings.saslMechanism);
    section.Seconds("Timeout", settings.timeoutSeconds);
    section.Text("CaFile", settings.caFile);
    std::string startTls;
    if (section.Text("StartTls", startTls)) {
        settings.startTls = IsYes(startTls);
    }
    std::string allowPlainBind;
    if (section.Text("AllowPlainBind", allowPlainBind)) {
        settings.allowPlainBind = IsYes(allowPlainBind);
    }
    std::string classes;
    if (section.Text("ContainerClasses", classes)) {
        std::istringstream words(classes);
        for (std::string word; std::getline(words, word, ',');) {
            word.erase(0, word.find_first_not_of(' '));
            word.erase(word.find_last_not_of(' ') + 1);
            if (!word.empty()) {
                settings.containerClasses.push_back(word);
            }
        }
    }
    if (!section.Found()) {
        return std::nullopt;
    }
    settings.catalogue = FromProgramDirectory(settings.catalogue, programDirectory);
    settings.passwordFile = FromProgramDirectory(settings.passwordFile, programDirectory);
    settings.caFile = FromProgramDirectory(settings.caFile, programDirectory);
    return settings;
}
