// Binding as the program's identity, and binding again whenever the connection needs it.
#include "server/directory/DirectorySession.h"

#include <strings.h>

#include <optional>

#include "server/directory/PasswordTransport.h"

DirectorySession::DirectorySession(const LdapSettings &settings)
    : settings_(settings), passwordRefusal_(PasswordTransport::Refusal(settings, true)),
      connection_(settings.uri, settings.timeoutSeconds,
                  LdapTls{settings.caFile, settings.startTls})
{
}

LdapStatus DirectorySession::Connect()
{
    bound_ = identity_ == Identity::Nobody;
    return connection_.Connect();
}

bool DirectorySession::BindIsConfigured() const
{
    return !settings_.saslMechanism.empty() || !settings_.bindDn.empty();
}

// Binds the connection as configured; boundDn_ becomes the identity the server acts as.
LdapStatus DirectorySession::BindConfigured()
{
    if (!settings_.saslMechanism.empty()) {
        LdapStatus status = connection_.BindExternal();
        std::string identity;
        if (status.Ok() && connection_.WhoAmI(identity).Ok()) {
            boundDn_ = identity.rfind("dn:", 0) == 0 ? identity.substr(3) : identity;
            // The server names the identity in its normalised (lower-case) form; the entry
            // itself has the spelling people know.
            std::optional<LdapEntry> entry;
            if (connection_.Read(boundDn_, {"1.1"}, entry).Ok() && entry) {
                boundDn_ = entry->dn;
            }
        }
        return status;
    }
    SecretText password;
    std::string fault;
    if (!SecretText::ReadFile(settings_.passwordFile, password, fault)) {
        return LdapStatus{kBindNotTried, fault};
    }
    LdapStatus status = BindWithPassword(settings_.bindDn, password.Reveal());
    if (status.Ok()) {
        boundDn_ = settings_.bindDn;
    }
    return status;
}

LdapStatus DirectorySession::LogInConfigured()
{
    LdapStatus status = BindConfigured();
    if (status.Ok()) {
        identity_ = Identity::Configured;
        userPassword_.Wipe();
    }
    bound_ = status.Ok() || identity_ == Identity::Nobody;
    return status;
}

LdapStatus DirectorySession::BindWithPassword(const std::string &dn, std::string_view password)
{
    if (!passwordRefusal_.empty()) {
        return LdapStatus{kBindNotTried, passwordRefusal_};
    }
    return connection_.BindSimple(dn, password);
}

LdapStatus DirectorySession::LogInAsUser(const std::string &dn, std::string_view password)
{
    LdapStatus status = Ensure();
    if (status.Ok()) {
        status = BindWithPassword(dn, password);
    }
    if (status.Ok()) {
        identity_ = Identity::User;
        boundDn_ = dn;
        userPassword_ = SecretText(password);
    }
    // A refused bind leaves the connection anonymous: the identity held so far binds again.
    bound_ = status.Ok() || identity_ == Identity::Nobody;
    return status;
}

LdapStatus DirectorySession::Rebind()
{
    LdapStatus status;
    switch (identity_) {
    case Identity::Configured:
        status = BindConfigured();
        break;
    case Identity::User:
        status = BindWithPassword(boundDn_, userPassword_.Reveal());
        break;
    case Identity::Nobody:
        break;
    }
    if (!status.Ok()) {
        status.text = "cannot log in again as " + boundDn_ + ": " + status.text;
    }
    return status;
}

LdapStatus DirectorySession::Ensure()
{
    if (!connection_.Broken() && bound_) {
        return LdapStatus{};
    }
    LdapStatus status = connection_.Broken() ? Connect() : LdapStatus{};
    if (status.Ok()) {
        status = Rebind();
    }
    bound_ = status.Ok() && !connection_.Broken();
    if (status.Ok() && !bound_) {
        status = LdapStatus{-1, "the connection to " + settings_.uri + " was lost again"};
    }
    return status;
}

LdapStatus DirectorySession::Run(const std::function<LdapStatus()> &operation)
{
    LdapStatus status = Ensure();
    if (!status.Ok()) {
        return status;
    }
    status = operation();
    if (!status.Ok() && connection_.Broken()) {
        LdapStatus again = Ensure();
        status = again.Ok() ? operation() : again;
    }
    return status;
}
