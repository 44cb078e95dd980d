// A throw-away directory server for tests and benchmarks: slapd from Debian with its own
// configuration and database in a temporary folder (seeded with slapadd), listening on a free
// loopback port and on an ldapi socket, stopped by its pid when the object goes (also when a
// test fails, and, through the parent-death signal, when the test process dies).
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "server/LdapSettings.h"
#include "tests/support/core/ServerFolder.h"
#include "tests/support/core/TestAuthority.h"

class SlapdServer : public ServerFolder
{
  public:
    static constexpr const char *Base = "o=Marrowby";
    static constexpr const char *RootDn = "cn=admin,o=Marrowby";
    static constexpr const char *RootPassword = "secret";

    struct Options {
        std::string seed;        // LDIF loaded with slapadd before the start
        std::string extraConfig; // lines added to the global part of slapd.conf
        // TLS with a certificate of a test authority: StartTLS on Uri(), and TlsUri().
        bool tls = false;
    };

    explicit SlapdServer(const Options &options);
    SlapdServer(const SlapdServer &) = delete;
    SlapdServer &operator=(const SlapdServer &) = delete;
    ~SlapdServer();

    // Empty when slapd could not be started; Failure() says why.
    bool Running() const { return pid_ > 0; }
    const std::string &Failure() const { return failure_; }
    const std::string &Uri() const { return uri_; }             // ldap://127.0.0.1:<port>
    const std::string &SocketUri() const { return socketUri_; } // ldapi://<socket>
    // With TLS: ldaps://127.0.0.1:<port>, and the authorities (the other one signed nothing).
    const std::string &TlsUri() const { return tlsUri_; }
    std::string CaFile() const;
    std::string OtherCaFile() const;
    // Settings for this server as its manager over the socket (SASL EXTERNAL), with the catalogue.
    LdapSettings SocketSettings(const std::string &serverName) const;

    // The tools of ldap-utils as the directory's manager over the socket; they are the tests'
    // independent view of the directory. Search gives LDIF without wrapped lines ("" when the
    // base does not exist).
    std::string Search(const std::string &base, const std::string &scope = "sub",
                       const std::vector<std::string> &attributes = {}) const;
    bool Modify(const std::string &ldif) const;
    bool Delete(const std::string &dn, bool subtree = false) const;
    bool Exists(const std::string &dn) const;
    // The whole database as slapcat writes it: what a backup of it looks like.
    std::string Slapcat() const;

    void Stop();
    // Stops and starts slapd again on the same port, socket and database (starts a stopped one).
    bool Restart();
    // A server that hangs: connections are still accepted by the kernel, nothing is answered.
    void Freeze();
    void Thaw();

  private:
    bool Start(const Options &options);
    bool Launch();
    bool WaitUntilAnswering();
    int Run(const std::vector<std::string> &command, const std::string &input,
            std::string *output) const;

    std::string uri_;
    std::string socketUri_;
    std::string tlsUri_;
    std::unique_ptr<TestAuthority> authority_;
    std::string failure_;
    pid_t pid_ = -1;
};

// The usual test directory: the base, its manager and ou=Sales with two people.
std::string MarrowbySeed();
// An LDIF for ldapmodify that adds three people below ou=Sales whose names hold what a full name
// escapes and what a search pattern reads: "back\slash", "v1.2.3" and "Zoë *".
std::string OddNamesLdif();
