// One connection to an LDAP server through libldap. Every operation waits at most the
// configured time for the server, so an unreachable or stuck server gives an error instead of a
// frozen program; a connection that timed out or lost its server is marked broken.
#pragma once

#include <atomic>
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
    enum Kind { Replace, Delete, Add };
    Kind kind;
    std::string description;
    std::vector<std::string> values; // none for Delete: the whole attribute goes
};

// How the connection is secured: ldaps:// by its scheme, ldap:// with StartTLS when asked. The
// server's certificate must be signed by an authority of the file (empty: the system's) and
// name the host of the URI.
struct LdapTls {
    std::string caFile;
    bool startTls = false;
};

// Controls a request may carry for a domain controller: deleted objects take part, and every
// DN the reply holds comes with its object's GUID ("<GUID=...>;<SID=...>;DN"). Searches ask
// for pages unless told not to: some servers answer a paged search much more slowly, and a
// search that is not paged may be cut at the server's page size.
enum LdapControls : unsigned { NoControls = 0, WithDeleted = 1, WithGuids = 2, Unpaged = 4 };

enum class LdapScope { Base, OneLevel, Subtree };

class LdapConnection
{
  public:
    static constexpr int kPageSize = 1000;

    LdapConnection(std::string uri, int timeoutSeconds, LdapTls tls = {});
    LdapConnection(const LdapConnection &) = delete;
    LdapConnection &operator=(const LdapConnection &) = delete;
    ~LdapConnection();

    // The result code of an operation given up because the flag was set.
    static constexpr int kAbandoned = -8; // the library's "user cancelled"

    // While the flag is set, an operation waiting for the server is abandoned at once (within
    // a short wait) and fails with kAbandoned; the connection stays usable. Null: never.
    void WatchAbandon(const std::atomic<bool> *flag) { abandon_ = flag; }

    // Whether a result code is the server refusing an unbound connection what it asked for.
    static bool NeedsLogin(int code);

    // Prepares the handle; the server is first contacted by the first operation, or at once
    // to start TLS.
    LdapStatus Connect();
    bool Broken() const { return ld_ == nullptr || broken_; }
    // After an operation on a name that does not exist: the nearest entry above it that does,
    // when the server told (empty otherwise).
    const std::string &LastMatched() const { return matched_; }

    // The password is only handed to the library; it is never kept or written anywhere.
    LdapStatus BindSimple(const std::string &dn, std::string_view password);
    LdapStatus BindExternal();
    // The identity the server holds for this connection ("dn:...", or empty for anonymous).
    LdapStatus WhoAmI(std::string &authzId);

    // The entry itself; `entry` stays empty (and the status is 0) when it does not exist.
    LdapStatus Read(const std::string &dn, const std::vector<std::string> &attributes,
                    std::optional<LdapEntry> &entry, unsigned controls = NoControls);
    // Every entry directly below dn, in pages as large as the server allows. When the server
    // cut the list short, cutBy is the result code of its limit (size, time or administrative
    // limit exceeded) and the status is 0; otherwise cutBy is 0.
    LdapStatus List(const std::string &dn, const std::vector<std::string> &attributes,
                    const std::function<void(LdapEntry &&)> &each, int &cutBy);
    // Every entry of the scope that matches the filter, as List gives them.
    LdapStatus Search(const std::string &dn, LdapScope scope, const std::string &filter,
                      const std::vector<std::string> &attributes, unsigned controls,
                      const std::function<void(LdapEntry &&)> &each, int &cutBy);
    // One page of a search: at most pageSize entries from where the cookie says (empty: the
    // start), as Search gives them; on success the cookie becomes the next page's, empty after
    // the last (and when the server cut the search short).
    LdapStatus SearchPart(const std::string &dn, LdapScope scope, const std::string &filter,
                          const std::vector<std::string> &attributes, unsigned controls,
                          int pageSize, std::string &cookie,
                          const std::function<void(LdapEntry &&)> &each, int &cutBy);
    LdapStatus Add(const std::string &dn, const LdapAttributes &attributes);
    LdapStatus Modify(const std::string &dn, const std::vector<LdapModification> &modifications,
                      unsigned controls = NoControls);

  private:
    struct SearchScope {
        const std::string &dn;
        int scope;
        const std::string &filter;
        unsigned controls;
    };

    LdapStatus Await(int messageId, LDAPMessage *&message, bool all);
    LdapStatus Finish(int messageId, int sent);
    LdapStatus Result(LDAPMessage *message, void *serverControls);
    LdapStatus Failure(int code, const char *diagnostic = nullptr);
    LdapStatus SearchPage(const SearchScope &where, int pageSize, char **attributes,
                          const std::function<void(LdapEntry &&)> &each, std::string &cookie,
                          std::size_t &delivered);
    bool Secured() const;
    LdapStatus SecureConnection();

    std::string uri_;
    int timeoutSeconds_;
    LdapTls tls_;
    LDAP *ld_ = nullptr;
    bool broken_ = false;
    const std::atomic<bool> *abandon_ = nullptr;
    std::string matched_;
    // Entries asked for per page: lowered for as long as the connection lasts when the server
    // refuses a size.
    int pageSize_ = kPageSize;
};
