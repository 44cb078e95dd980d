// Which Uri may carry a password.
#include "server/directory/PasswordTransport.h"

#include <arpa/inet.h>
#include <ldap.h>
#include <netinet/in.h>
#include <strings.h>

#include <vector>

namespace
{
// The URIs of a list as libldap reads one: separated by blanks or commas.
std::vector<std::string> UrisOf(const std::string &list)
{
    std::vector<std::string> uris;
    std::string::size_type at = 0;
    while ((at = list.find_first_not_of(" ,", at)) != std::string::npos) {
        const std::string::size_type end = list.find_first_of(" ,", at);
        uris.push_back(list.substr(at, end - at));
        at = end;
    }
    return uris;
}

// Why a password may not go over this one URI; empty when it may.
std::string UriRefusal(const std::string &uri, const LdapSettings &settings, bool plainOffered)
{
    LDAPURLDesc *parsed = nullptr;
    if (ldap_url_parse(uri.c_str(), &parsed) != LDAP_URL_SUCCESS) {
        return "Uri " + uri + " is not an LDAP URI";
    }
    const std::string scheme = parsed->lud_scheme != nullptr ? parsed->lud_scheme : "";
    const std::string host = parsed->lud_host != nullptr ? parsed->lud_host : "";
    ldap_free_urldesc(parsed);
    if (strcasecmp(scheme.c_str(), "ldaps") == 0 || strcasecmp(scheme.c_str(), "ldapi") == 0 ||
        settings.startTls) {
        return {};
    }
    const bool loopback = PasswordTransport::IsLoopback(host);
    if (plainOffered && settings.allowPlainBind) {
        return loopback ? std::string()
                        : "AllowPlainBind=yes lets a password go in the clear only to a loopback "
                          "address, and " +
                              uri + " is not one: give an ldaps:// Uri, or StartTls=yes";
    }
    std::string refusal = "a password would go to " + uri +
                          " in the clear: give an ldaps:// Uri, StartTls=yes, or an ldapi:// Uri";
    if (!settings.caFile.empty()) {
        refusal += " (CaFile alone does not encrypt an ldap:// connection)";
    }
    if (plainOffered && loopback) {
        refusal += "; AllowPlainBind=yes allows it to a loopback address";
    }
    return refusal;
}
} // namespace

std::string PasswordTransport::Refusal(const LdapSettings &settings, bool plainOffered)
{
    const std::vector<std::string> uris = UrisOf(settings.uri);
    if (uris.empty()) {
        return "Uri names no server";
    }
    for (const std::string &uri : uris) {
        if (std::string refusal = UriRefusal(uri, settings, plainOffered); !refusal.empty()) {
            return refusal;
        }
    }
    return {};
}

bool PasswordTransport::IsLoopback(const std::string &host)
{
    if (strcasecmp(host.c_str(), "localhost") == 0) {
        return true;
    }
    in_addr v4{};
    if (inet_pton(AF_INET, host.c_str(), &v4) == 1) {
        return (ntohl(v4.s_addr) >> 24) == 127;
    }
    in6_addr v6{};
    if (inet_pton(AF_INET6, host.c_str(), &v6) == 1) {
        if (IN6_IS_ADDR_V4MAPPED(&v6)) {
            return v6.s6_addr[12] == 127;
        }
        return IN6_IS_ADDR_LOOPBACK(&v6);
    }
    return false;
}
