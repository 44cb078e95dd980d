// The connection to the directory server together with the identity the program logged in with:
// the configured bind (a DN with a password file, or SASL EXTERNAL) or the user's own login.
// A connection that was lost, or on which a bind was refused, is made and bound again as that
// identity before anything else is asked of it; if that cannot be done, requests fail with the
// reason. The program never goes on anonymously behind the user's back.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "server/LdapSettings.h"
#include "server/SecretText.h"
#include "server/directory/LdapConnection.h"

class DirectorySession
{
  public:
    // Status of a bind that was not tried: its password file cannot be used, or the password
    // would go in the clear.
    static constexpr int kBindNotTried = -2;

    // The settings must outlive the session.
    explicit DirectorySession(const LdapSettings &settings);

    LdapConnection &Connection() { return connection_; }
    // A new connection, acting as nobody until a bind works.
    LdapStatus Connect();

    bool BindIsConfigured() const;
    // Binds as configured; from then on the configured identity is the program's.
    LdapStatus LogInConfigured();
    // A simple bind as the user; from then on the user is the program's identity. When it is
    // refused, the identity stays what it was (and is bound again before the next request).
    LdapStatus LogInAsUser(const std::string &dn, std::string_view password);
    bool LoggedIn() const { return identity_ != Identity::Nobody; }
    bool LoggedInConfigured() const { return identity_ == Identity::Configured; }
    // The DN acted as (empty for nobody).
    const std::string &BoundDn() const { return boundDn_; }

    // Makes the connection usable as the program's identity: connected, and bound again when
    // it was made again or a bind was refused on it.
    LdapStatus Ensure();
    // Runs the operation on a usable connection; when the server was lost during it, once more
    // on a connection made again.
    LdapStatus Run(const std::function<LdapStatus()> &operation);

  private:
    enum class Identity { Nobody, Configured, User };

    LdapStatus BindConfigured();
    LdapStatus Rebind();
    // A simple bind, unless the password would go where others could read it.
    LdapStatus BindWithPassword(const std::string &dn, std::string_view password);

    const LdapSettings &settings_;
    // Why no password may go over the configured Uri (empty when it may).
    const std::string passwordRefusal_;
    LdapConnection connection_;
    Identity identity_ = Identity::Nobody;
    // The connection acts as the identity; false after it was made again or a bind failed on it.
    bool bound_ = true;
    std::string boundDn_;
    SecretText userPassword_; // kept to bind again after a lost connection
};
