// What a backup server backed by a live LDAP directory and a catalogue of LDIF snapshots needs
// to know; filled from the configuration section named like the server.
#pragma once

#include <string>
#include <vector>

struct LdapSettings {
    // A domain controller keeps its deleted objects and brings them back itself; any other
    // kind (empty, or "Directory") is an LDAP directory whose history is its snapshots.
    static constexpr const char *ActiveDirectoryKind = "ActiveDirectory";
    static constexpr const char *DirectoryKind = "Directory";

    std::string serverName; // the configured name, for messages
    std::string kind;       // ActiveDirectoryKind, DirectoryKind or empty (a directory)
    std::string uri;        // ldap://, ldaps:// or ldapi://
    std::string base;       // the directory's suffix, for example o=Marrowby
    std::string catalogue;  // folder of snapshots: <unix seconds>.ldif or any *.ldif (or .gz...)
    // Where the catalogue's index is kept; empty: the user's cache folder (tests give their own).
    std::string indexFolder;
    // Bind: a DN with its password read from a file, or SASL EXTERNAL (over ldapi), or neither
    // (the user is asked).
    std::string bindDn;
    std::string passwordFile;
    std::string saslMechanism; // "EXTERNAL" or empty
    int timeoutSeconds = 10;   // for every call to the server; 1 to 600
    // TLS: the certificates of the authorities to trust (empty: the system's), and whether an
    // ldap:// connection is secured with StartTLS before anything else is sent. The server's
    // certificate must name the host of the Uri.
    std::string caFile;
    bool startTls = false;
    // A password goes only over TLS or the local socket; this lets it go in the clear over
    // ldap:// to a loopback address (and nowhere else).
    bool allowPlainBind = false;
    // Object classes whose entries count as containers even without children (lower case);
    // empty: the usual ones (organization, organizationalUnit, domain, ...).
    std::vector<std::string> containerClasses;
};
