// tarvik-restore --index: brings the index of a server's snapshot catalogue up to date (the
// server named, or every configured one that has a catalogue) without opening the server, and
// says what was read, left out and removed. Meant for a nightly job right after the dump.
#pragma once

#include <ostream>
#include <string>
#include <vector>

class Progress;
class RestoreProfile;
struct LdapSettings;

class IndexCommand
{
  public:
    IndexCommand(std::ostream &out, std::ostream &err, Progress &progress);

    // named: the one name was given on the command line (a server without a catalogue is then
    // refused); otherwise those without one are passed over. The exit status.
    int Run(RestoreProfile &profile, const std::vector<std::string> &names, bool named,
            const std::string &programDirectory);

  private:
    // False when the catalogue cannot be read or indexed; `clean`: nothing read was left out,
    // nothing stopped.
    bool Index(const LdapSettings &settings, bool &clean);

    std::ostream &out_;
    std::ostream &err_;
    Progress &progress_;
};
