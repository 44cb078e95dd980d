// Object GUIDs of a domain controller: the text form of an objectGUID value, and the GUID a DN
// carries when the extended-DN control asked for it ("<GUID=...>;<SID=...>;CN=...").
#pragma once

#include <string>
#include <string_view>

struct ExtendedDn {
    std::string guid; // lower-case text form; empty when the DN came without one
    std::string dn;   // the DN proper

    static ExtendedDn Parse(std::string_view text);
    // The 16 bytes of an objectGUID in text form (its first three fields are little-endian);
    // empty when the value is not 16 bytes long.
    static std::string GuidText(std::string_view bytes);
    // The DN by which the controller finds an object from its GUID, wherever it is.
    static std::string GuidDn(const std::string &guid) { return "<GUID=" + guid + ">"; }
};
