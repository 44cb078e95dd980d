// Starting, driving and stopping a private slapd.
#include "tests/support/core/SlapdServer.h"

#include "tests/support/core/ChildProcess.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace
{
// A loopback port that was free a moment ago.
int FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(fd);
    return port;
}

std::string PercentEncoded(const std::string &path)
{
    std::string encoded;
    for (char c : path) {
        if (c == '/') {
            encoded += "%2F";
        } else {
            encoded += c;
        }
    }
    return encoded;
}

bool Answers(const std::string &socketPath)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    const bool answered =
        ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return answered;
}

} // namespace

SlapdServer::SlapdServer(const Options &options) : ServerFolder("tarvik-slapd")
{
    if (Folder().empty()) {
        failure_ = "no temporary folder";
        return;
    }
    std::filesystem::create_directories(Folder() + "/db");
    if (options.tls) {
        authority_ = std::make_unique<TestAuthority>(Folder() + "/tls");
        if (!authority_->Made()) {
            failure_ = authority_->Failure();
            return;
        }
    }
    for (int attempt = 0; attempt < 3 && !Running(); ++attempt) {
        Start(options);
    }
}

SlapdServer::~SlapdServer()
{
    Stop();
}

bool SlapdServer::Start(const Options &options)
{
    const int port = FreePort();
    const std::string socket = Folder() + "/ldapi";
    uri_ = "ldap://127.0.0.1:" + std::to_string(port);
    socketUri_ = "ldapi://" + PercentEncoded(socket);
    std::string tls;
    if (authority_) {
        tlsUri_ = "ldaps://127.0.0.1:" + std::to_string(FreePort());
        tls = "TLSCACertificateFile " + authority_->CaFile() + "\nTLSCertificateFile " +
              authority_->CertificateFile() + "\nTLSCertificateKeyFile " + authority_->KeyFile() +
              "\n";
    }
    std::error_code ignored;
    std::filesystem::remove_all(Folder() + "/db", ignored);
    std::filesystem::create_directories(Folder() + "/db");
    // The manager over the socket is whoever runs the tests (SASL EXTERNAL).
    WriteFile("slapd.conf", "include /etc/ldap/schema/core.schema\n"
                            "include /etc/ldap/schema/cosine.schema\n"
                            "include /etc/ldap/schema/inetorgperson.schema\n"
                            "modulepath /usr/lib/ldap\n"
                            "moduleload back_mdb\n"
                            "pidfile " +
                                Folder() +
                                "/slapd.pid\n"
                                "authz-regexp \"gidNumber=[0-9]+\\\\+uidNumber=" +
                                std::to_string(::getuid()) +
                                ",cn=peercred,cn=external,cn=auth\" \"" + RootDn + "\"\n" + tls +
                                options.extraConfig +
                                "\ndatabase mdb\n"
                                "suffix \"" +
                                Base +
                                "\"\n"
                                "rootdn \"" +
                                RootDn +
                                "\"\n"
                                "rootpw " +
                                RootPassword +
                                "\n"
                                "directory " +
                                Folder() +
                                "/db\n"
                                "maxsize 268435456\n");
    const std::string conf = Folder() + "/slapd.conf";
    const std::string seed = WriteFile("seed.ldif", options.seed);
    std::string output;
    if (Run({"slapadd", "-q", "-f", conf, "-l", seed}, "", &output) != 0) {
        failure_ = "slapadd failed: " + ChildProcess::ReadAll(Folder() + "/tool-output.err");
        return false;
    }
    return Launch();
}

bool SlapdServer::Launch()
{
    pid_ = ChildProcess::Spawn(
        {"slapd", "-f", Folder() + "/slapd.conf", "-h",
         uri_ + "/ " + socketUri_ + (tlsUri_.empty() ? "" : " " + tlsUri_ + "/"), "-d", "0"},
        "", Folder() + "/slapd.log", true);
    if (!WaitUntilAnswering()) {
        failure_ = "slapd did not start: " + ChildProcess::ReadAll(Folder() + "/slapd.log.err");
        Stop();
        return false;
    }
    return true;
}

bool SlapdServer::Restart()
{
    Stop();
    return Launch();
}

bool SlapdServer::WaitUntilAnswering()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (ChildProcess::Ended(pid_)) {
            return false;
        }
        if (Answers(Folder() + "/ldapi") && Exists(Base)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void SlapdServer::Stop()
{
    ChildProcess::Stop(pid_, 5);
}

void SlapdServer::Freeze()
{
    if (pid_ > 0 && ::kill(pid_, SIGSTOP) == 0) {
        // The signal takes effect a moment later: until then slapd still answers. A test may
        // send this process signals meanwhile.
        int status = 0;
        while (::waitpid(pid_, &status, WUNTRACED) < 0 && errno == EINTR) {
        }
    }
}

void SlapdServer::Thaw()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGCONT);
    }
}

int SlapdServer::Run(const std::vector<std::string> &command, const std::string &input,
                     std::string *output) const
{
    const std::string in = input.empty() ? "" : WriteFile("tool-input.ldif", input);
    const std::string out = Folder() + "/tool-output";
    const int status = ChildProcess::Run(command, in, out);
    if (output != nullptr) {
        *output = ChildProcess::ReadAll(out);
    }
    return status;
}

std::string SlapdServer::Search(const std::string &base, const std::string &scope,
                                const std::vector<std::string> &attributes) const
{
    std::vector<std::string> command{"ldapsearch", "-LLL",     "-Q", "-Y",           "EXTERNAL",
                                     "-H",         socketUri_, "-o", "ldif-wrap=no", "-b",
                                     base,         "-s",       scope};
    command.insert(command.end(), attributes.begin(), attributes.end());
    std::string output;
    return Run(command, "", &output) == 0 ? output : "";
}

bool SlapdServer::Modify(const std::string &ldif) const
{
    return Run({"ldapmodify", "-Q", "-Y", "EXTERNAL", "-H", socketUri_}, ldif, nullptr) == 0;
}

bool SlapdServer::Delete(const std::string &dn, bool subtree) const
{
    std::vector<std::string> command{"ldapdelete", "-Q", "-Y", "EXTERNAL", "-H", socketUri_};
    if (subtree) {
        command.push_back("-r");
    }
    command.push_back(dn);
    return Run(command, "", nullptr) == 0;
}

bool SlapdServer::Exists(const std::string &dn) const
{
    return !Search(dn, "base", {"1.1"}).empty();
}

std::string SlapdServer::Slapcat() const
{
    std::string output;
    return Run({"slapcat", "-f", Folder() + "/slapd.conf"}, "", &output) == 0 ? output : "";
}

std::string MarrowbySeed()
{
    return "dn: o=Marrowby\nobjectClass: organization\no: Marrowby\n\n"
           "dn: cn=admin,o=Marrowby\nobjectClass: organizationalRole\n"
           "objectClass: simpleSecurityObject\ncn: admin\nuserPassword: secret\n\n"
           "dn: ou=Sales,o=Marrowby\nobjectClass: organizationalUnit\nou: Sales\n\n"
           "dn: cn=Ann,ou=Sales,o=Marrowby\nobjectClass: person\ncn: Ann\nsn: Smith\n\n"
           "dn: cn=Bob,ou=Sales,o=Marrowby\nobjectClass: person\ncn: Bob\nsn: Jones\n";
}

std::string OddNamesLdif()
{
    return "dn: cn=back\\5Cslash,ou=Sales,o=Marrowby\nchangetype: add\nobjectClass: person\n"
           "cn: back\\slash\nsn: Slash\n\n"
           "dn: cn=v1.2.3,ou=Sales,o=Marrowby\nchangetype: add\nobjectClass: person\n"
           "cn: v1.2.3\nsn: Version\n\n"
           // "cn=Zoë *,ou=Sales,o=Marrowby" and "Zoë *": not ASCII, so in base64
           "dn:: Y249Wm/DqyAqLG91PVNhbGVzLG89TWFycm93Ynk=\nchangetype: add\n"
           "objectClass: person\ncn:: Wm/DqyAq\nsn: Star\n";
}

std::string SlapdServer::CaFile() const
{
    return authority_ ? authority_->CaFile() : "";
}

std::string SlapdServer::OtherCaFile() const
{
    return authority_ ? authority_->OtherCaFile() : "";
}

LdapSettings SlapdServer::SocketSettings(const std::string &serverName) const
{
    LdapSettings settings;
    settings.serverName = serverName;
    settings.uri = socketUri_;
    settings.base = Base;
    settings.catalogue = Catalogue();
    settings.indexFolder = Folder() + "/index";
    settings.saslMechanism = "EXTERNAL";
    return settings;
}
