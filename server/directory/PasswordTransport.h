// Whether a password may go to the server a section names. It goes only where no one on the
// way can read it: encrypted (ldaps://, or ldap:// with StartTls=yes), over this machine's own
// socket (ldapi://), or, when the section says AllowPlainBind=yes, in the clear to a loopback
// address, which never leaves the machine either.
#pragma once

#include <string>

#include "server/LdapSettings.h"

class PasswordTransport
{
  public:
    // Empty when a password may go to every address of the Uri (a list, as libldap reads it);
    // otherwise why not, naming the keys to change. plainOffered: AllowPlainBind counts.
    static std::string Refusal(const LdapSettings &settings, bool plainOffered);

    // A literal loopback address (127.0.0.0/8, ::1) or "localhost".
    static bool IsLoopback(const std::string &host);
};
