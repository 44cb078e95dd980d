// One connection to an LDAP server through libldap. Every operation waits at most the
// configured time for the server, so an unreachable or stuck server gives an error instead of a
// frozen program; a connection that timed out or lost its server is marked broken.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

typedef struct ldap LDAP;
typedef struct ldapmsg LDAPMessage;

// The outcome of an operation: the LDAP result code (0 = success) and, otherwise, the server's
// text for it with its diagnostic message.
struct LdapStatus {
    int code = 0;
    std::string text;
    bool Ok() const { return code == 0; }
};

// Attribute descriptions with their values, in the server's or the file's order.
using LdapAttributes = std::vector<std::pair<std::string, std::vector<std::string>>>;

struct LdapEntry {
    std::string dn;
    LdapAttributes attributes;
    // The values of the attribute (the description compared ignoring case), or null.
    const std::vector<std::string> *Values(std::string_view description) const;
};

struct LdapModification {
    enum Kind { Replace, Delete };
    Kind kind;
    std::string description;
    std::vector<std::string> values; // none for Delete: the whole attribute goes
};

class LdapConnection
{
  public:
    static constexpr int kPageSize = 1000;

    LdapConnection(std::string uri, int timeoutSeconds);
    LdapConnection(const LdapConnection &) = delete;
    LdapConnection &operator=(const LdapConnection &) = delete;
    ~LdapConnection();

    // Prepares the handle; the server is first contacted by the first operation.
    LdapStatus Connect();
    bool Broken() const { return ld_ == nullptr || broken_; }

    // The password is only handed to the library; it is never kept or written anywhere.
    LdapStatus BindSimple(const std::string &dn, const std::string &password);
    LdapStatus BindExternal();
    // The identity the server holds for this connection ("dn:...", or empty for anonymous).
    LdapStatus WhoAmI(std::string &authzId);

    // The entry itself; `entry` stays empty (and the status is 0) when it does not exist.
    LdapStatus Read(const std::string &dn, const std::vector<std::string> &attributes,
                    std::optional<LdapEntry> &entry);
    // Every entry directly below dn, in pages as large as the server allows. When the server
    // cut the list short, cutBy is the result code of its limit (size, time or administrative
    // limit exceeded) and the status is 0; otherwise cutBy is 0.
    LdapStatus List(const std::string &dn, const std::vector<std::string> &attributes,
                    const std::function<void(LdapEntry &&)> &each, int &cutBy);
    LdapStatus Add(const std::string &dn, const LdapAttributes &attributes);
    LdapStatus Modify(const std::string &dn, const std::vector<LdapModification> &modifications);

  private:
    LdapStatus Await(int messageId, LDAPMessage *&message, bool all);
    LdapStatus Finish(int messageId, int sent);
    LdapStatus Result(LDAPMessage *message, void *serverControls);
    LdapStatus Failure(int code, const char *diagnostic = nullptr);
    LdapStatus Search(const std::string &dn, int scope, const std::vector<std::string> &attributes,
                      const std::function<void(LdapEntry &&)> &each, int &cutBy);
    LdapStatus SearchPage(const std::string &dn, int scope, char **attributes,
                          const std::function<void(LdapEntry &&)> &each, std::string &cookie,
                          std::size_t &delivered);

    std::string uri_;
    int timeoutSeconds_;
    LDAP *ld_ = nullptr;
    bool broken_ = false;
    // Entries asked for per page: lowered for as long as the connection lasts when the server
    // refuses a size.
    int pageSize_ = kPageSize;
};
