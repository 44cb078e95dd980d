// Starting, driving and stopping a private slapd.
#include "tests/support/core/SlapdServer.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Starts the command with stdin from a file (or /dev/null), stdout to `out` and stderr to
// `out`.err.
pid_t Spawn(const std::vector<std::string> &command, const std::string &in, const std::string &out,
            bool dieWithParent)
{
    std::vector<char *> argv;
    for (const std::string &word : command) {
        argv.push_back(const_cast<char *>(word.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid != 0) {
        return pid;
    }
    if (dieWithParent) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) {
            ::_exit(127);
        }
    }
    const int input = ::open(in.empty() ? "/dev/null" : in.c_str(), O_RDONLY);
    const int output = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int errors = ::open((out + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(input, 0);
    ::dup2(output, 1);
    ::dup2(errors, 2);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
}

std::string ReadAll(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
} // namespace

SlapdServer::SlapdServer(const Options &options)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvik-slapd-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        failure_ = "no temporary folder";
        return;
    }
    folder_ = pattern;
    std::filesystem::create_directories(folder_ + "/db");
    std::filesystem::create_directories(Catalogue());
    for (int attempt = 0; attempt < 3 && !Running(); ++attempt) {
        Start(options);
    }
}

SlapdServer::~SlapdServer()
{
    Stop();
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

bool SlapdServer::Start(const Options &options)
{
    const int port = FreePort();
    const std::string socket = folder_ + "/ldapi";
    uri_ = "ldap://127.0.0.1:" + std::to_string(port);
    socketUri_ = "ldapi://" + PercentEncoded(socket);
    std::error_code ignored;
    std::filesystem::remove_all(folder_ + "/db", ignored);
    std::filesystem::create_directories(folder_ + "/db");
    // The manager over the socket is whoever runs the tests (SASL EXTERNAL).
    WriteFile("slapd.conf", "include /etc/ldap/schema/core.schema\n"
                            "include /etc/ldap/schema/cosine.schema\n"
                            "include /etc/ldap/schema/inetorgperson.schema\n"
                            "modulepath /usr/lib/ldap\n"
                            "moduleload back_mdb\n"
                            "pidfile " +
                                folder_ +
                                "/slapd.pid\n"
                                "authz-regexp \"gidNumber=[0-9]+\\\\+uidNumber=" +
                                std::to_string(::getuid()) +
                                ",cn=peercred,cn=external,cn=auth\" \"" + RootDn + "\"\n" +
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
                                folder_ +
                                "/db\n"
                                "maxsize 268435456\n");
    const std::string conf = folder_ + "/slapd.conf";
    const std::string seed = WriteFile("seed.ldif", options.seed);
    std::string output;
    if (Run({"slapadd", "-q", "-f", conf, "-l", seed}, "", &output) != 0) {
        failure_ = "slapadd failed: " + ReadAll(folder_ + "/tool-output.err");
        return false;
    }
    return Launch();
}

bool SlapdServer::Launch()
{
    pid_ =
        Spawn({"slapd", "-f", folder_ + "/slapd.conf", "-h", uri_ + "/ " + socketUri_, "-d", "0"},
              "", folder_ + "/slapd.log", true);
    if (!WaitUntilAnswering()) {
        failure_ = "slapd did not start: " + ReadAll(folder_ + "/slapd.log.err");
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
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1; // it ended by itself
            return false;
        }
        if (Answers(folder_ + "/ldapi") && Exists(Base)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void SlapdServer::Stop()
{
    if (pid_ <= 0) {
        return;
    }
    ::kill(pid_, SIGTERM);
    ::kill(pid_, SIGCONT); // a frozen server must take its signal
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
}

void SlapdServer::Freeze()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGSTOP);
        int status = 0;
        ::waitpid(pid_, &status, WUNTRACED); // until it has stopped
    }
}

void SlapdServer::Thaw()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGCONT);
    }
}

std::string SlapdServer::WriteFile(const std::string &name, const std::string &contents) const
{
    const std::string path = folder_ + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
    ::chmod(path.c_str(), 0600);
    return path;
}

std::string SlapdServer::WriteSnapshot(unsigned time, const std::string &ldif) const
{
    return WriteFile("catalogue/" + std::to_string(time) + ".ldif", ldif);
}

int SlapdServer::Run(const std::vector<std::string> &command, const std::string &input,
                     std::string *output) const
{
    const std::string in = input.empty() ? "" : WriteFile("tool-input.ldif", input);
    const std::string out = folder_ + "/tool-output";
    const pid_t pid = Spawn(command, in, out, false);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (output != nullptr) {
        *output = ReadAll(out);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
    return Run({"slapcat", "-f", folder_ + "/slapd.conf"}, "", &output) == 0 ? output : "";
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

LdapSettings SlapdServer::SocketSettings(const std::string &serverName) const
{
    LdapSettings settings;
    settings.serverName = serverName;
    settings.uri = socketUri_;
    settings.base = Base;
    settings.catalogue = Catalogue();
    settings.saslMechanism = "EXTERNAL";
    return settings;
}
