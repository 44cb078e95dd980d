// A throw-away domain controller for tests and benchmarks: Samba's, provisioned once per build
// into a template folder and copied for each use, answering LDAPS on a loopback address of its
// own (127.0.0.N), stopped by its pid when the object goes (and, through the parent-death
// signal, when the test process dies).
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "server/LdapSettings.h"
#include "tests/support/core/ServerFolder.h"

class DomainController : public ServerFolder
{
  public:
    static constexpr const char *Base = "DC=marrowby,DC=test";
    static constexpr const char *AdminDn = "CN=Administrator,CN=Users,DC=marrowby,DC=test";
    static constexpr const char *AdminPassword = "Tarvik-Admin-1";
    static constexpr const char *ShowDeleted = "1.2.840.113556.1.4.417";

    struct Options {
        bool recycleBin = false; // the recycle bin on from the start
    };

    DomainController();
    explicit DomainController(const Options &options);
    DomainController(const DomainController &) = delete;
    DomainController &operator=(const DomainController &) = delete;
    ~DomainController();

    // False when the controller could not be started; Failure() says why.
    bool Running() const { return pid_ > 0; }
    const std::string &Failure() const { return failure_; }
    const std::string &Address() const { return address_; }
    std::string Uri() const { return "ldaps://" + address_; }
    std::string CaFile() const { return Folder() + "/tls/ca.pem"; }
    // Settings for this controller as its administrator over LDAPS, with the catalogue.
    LdapSettings Settings(const std::string &serverName) const;

    // The tools of ldap-utils as the administrator: the tests' independent view of the domain.
    // Modify takes LDIF with changetypes (add, modify, delete); Search gives LDIF without
    // wrapped lines. With showDeleted the deleted objects take part.
    bool Modify(const std::string &ldif, bool showDeleted = false) const;
    std::string Search(const std::string &base, const std::string &scope, const std::string &filter,
                       const std::vector<std::string> &attributes, bool showDeleted = false) const;
    bool Delete(const std::string &dn, bool subtree = false) const;
    bool Exists(const std::string &dn) const;
    // The domain's naming context as LDIF: what an export kept as a backup looks like.
    std::string Export() const;
    // Turns the recycle bin on through the controller's own database.
    bool EnableRecycleBin() const;

    void Stop();
    // Stops and starts the controller again on the same address and databases.
    bool Restart();

  private:
    bool Prepare();
    bool Launch();
    bool WaitUntilAnswering();
    int Tool(std::vector<std::string> command, const std::string &input, std::string *output) const;

    std::string address_;
    std::string failure_;
    pid_t pid_ = -1;
};
