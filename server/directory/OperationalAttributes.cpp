// Reading the operational attribute types out of the subschema's definitions.
#include "server/directory/OperationalAttributes.h"

#include "catalogue/AsciiCase.h"
#include "server/directory/LdapConnection.h"

namespace
{
// The words of a schema definition: quoted texts (without quotes), parentheses and bare words.
std::vector<std::string> Words(std::string_view definition)
{
    std::vector<std::string> words;
    for (std::size_t at = 0; at < definition.size();) {
        const char c = definition[at];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            ++at;
        } else if (c == '(' || c == ')') {
            words.emplace_back(1, c);
            ++at;
        } else if (c == '\'') {
            const std::size_t end = definition.find('\'', at + 1);
            const std::size_t stop = end == std::string_view::npos ? definition.size() : end;
            words.emplace_back(definition.substr(at + 1, stop - at - 1));
            at = stop + 1;
        } else {
            std::size_t end = at;
            while (end < definition.size() &&
                   std::string_view(" \t\r\n()'").find(definition[end]) == std::string_view::npos) {
                ++end;
            }
            words.emplace_back(definition.substr(at, end - at));
            at = end;
        }
    }
    return words;
}
} // namespace

OperationalAttributes::OperationalAttributes()
    : names_{"createtimestamp", "creatorsname",      "modifytimestamp",
             "modifiersname",   "entryuuid",         "entrycsn",
             "entrydn",         "contextcsn",        "structuralobjectclass",
             "hassubordinates", "subschemasubentry", "numsubordinates",
             "memberof",        "pwdchangedtime",    "pwdaccountlockedtime",
             "pwdfailuretime",  "pwdhistory",        "pwdgraceusetime",
             "pwdreset",        "pwdpolicysubentry", "auditcontext"}
{
}

bool OperationalAttributes::Learn(LdapConnection &connection)
{
    std::optional<LdapEntry> root;
    if (!connection.Read("", {"subschemaSubentry"}, root).Ok() || !root) {
        return false;
    }
    const std::vector<std::string> *subschema = root->Values("subschemaSubentry");
    std::optional<LdapEntry> schema;
    if (subschema == nullptr || subschema->empty() ||
        !connection.Read(subschema->front(), {"attributeTypes"}, schema).Ok() || !schema) {
        return false;
    }
    const std::vector<std::string> *types = schema->Values("attributeTypes");
    if (types == nullptr || types->empty()) {
        return false;
    }
    for (const std::string &definition : *types) {
        LearnDefinition(definition);
    }
    learnt_ = true;
    return true;
}

void OperationalAttributes::LearnDefinition(std::string_view definition)
{
    const std::vector<std::string> words = Words(definition);
    if (words.size() < 2 || words[0] != "(") {
        return;
    }
    std::vector<std::string> names{LowerAscii(words[1])};
    bool operational = false;
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (words[i] == "NAME" && i + 1 < words.size()) {
            if (words[i + 1] != "(") {
                names.push_back(LowerAscii(words[++i]));
                continue;
            }
            for (i += 2; i < words.size() && words[i] != ")"; ++i) {
                names.push_back(LowerAscii(words[i]));
            }
        } else if (words[i] == "USAGE" && i + 1 < words.size()) {
            operational = words[++i] != "userApplications";
        } else if (words[i] == "NO-USER-MODIFICATION") {
            operational = true;
        }
    }
    if (operational) {
        names_.insert(names.begin(), names.end());
    }
}

bool OperationalAttributes::Contains(std::string_view description) const
{
    return names_.count(LowerAscii(description.substr(0, description.find(';')))) != 0;
}
