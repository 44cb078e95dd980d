// Copying the provisioned domain, starting Samba on it, driving and stopping it.
#include "tests/support/core/DomainController.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/support/core/ChildProcess.h"

namespace
{
constexpr int FirstAddress = 10;
constexpr int Addresses = 240;

// Whether a TCP port of the address can be bound (no controller of another test uses it) or,
// with `connect`, whether something answers there.
bool TryPort(const std::string &address, int port, bool connect)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, address.c_str(), &socketAddress.sin_addr);
    const auto *generic = reinterpret_cast<const sockaddr *>(&socketAddress);
    const bool done = connect ? ::connect(fd, generic, sizeof socketAddress) == 0
                              : ::bind(fd, generic, sizeof socketAddress) == 0;
    ::close(fd);
    return done;
}

// A loopback address on which neither LDAP port is in use, starting at one that depends on the
// process so that test processes running together seldom try the same one.
std::string FreeAddress()
{
    const int start = static_cast<int>(::getpid() % Addresses);
    for (int i = 0; i < Addresses; ++i) {
        const std::string address =
            "127.0.0." + std::to_string(FirstAddress + (start + i) % Addresses);
        if (TryPort(address, 389, false) && TryPort(address, 636, false)) {
            return address;
        }
    }
    return "";
}

void ReplaceAll(std::string &text, const std::string &from, const std::string &to)
{
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}
} // namespace

DomainController::DomainController() : DomainController(Options{}) {}

DomainController::DomainController(const Options &options) : ServerFolder("tarvik-domain")
{
    if (Folder().empty()) {
        failure_ = "no temporary folder";
        return;
    }
    if (!Prepare()) {
        return;
    }
    for (int attempt = 0; attempt < 3 && !Running(); ++attempt) {
        address_ = FreeAddress();
        std::string config = ChildProcess::ReadAll(Folder() + "/etc/smb.conf.template");
        ReplaceAll(config, "interfaces = 127.0.0.2/8", "interfaces = " + address_ + "/8");
        std::ofstream(Folder() + "/etc/smb.conf", std::ios::trunc) << config;
        Launch();
    }
    if (Running() && options.recycleBin && !EnableRecycleBin()) {
        failure_ = "the recycle bin could not be turned on: " +
                   ChildProcess::ReadAll(Folder() + "/recycle-bin.err");
        Stop();
    }
}

DomainController::~DomainController()
{
    Stop();
}

// The template, provisioned on first use in this build, copied into the folder with its paths
// rewritten to the copy's.
bool DomainController::Prepare()
{
    const std::string output = Folder() + "/prepare";
    if (ChildProcess::Run({TARVIK_PROVISION_DOMAIN, TARVIK_DOMAIN_TEMPLATE}, "", output) != 0) {
        failure_ = "provisioning failed: " + ChildProcess::ReadAll(output + ".err");
        return false;
    }
    if (ChildProcess::Run({"cp", "-a", std::string(TARVIK_DOMAIN_TEMPLATE) + "/.", Folder()}, "",
                          output) != 0) {
        failure_ = "the template could not be copied: " + ChildProcess::ReadAll(output + ".err");
        return false;
    }
    const std::string provisionedIn = ChildProcess::ReadAll(Folder() + "/provisioned-in");
    std::string config = ChildProcess::ReadAll(Folder() + "/etc/smb.conf");
    if (provisionedIn.empty() || config.find(provisionedIn) == std::string::npos) {
        failure_ = "the template does not say where it was provisioned";
        return false;
    }
    ReplaceAll(config, provisionedIn, Folder());
    std::ofstream(Folder() + "/etc/smb.conf.template", std::ios::trunc) << config;
    return true;
}

bool DomainController::Launch()
{
    pid_ = ChildProcess::Spawn({"samba", "--foreground", "--no-process-group", "-M", "single", "-s",
                                Folder() + "/etc/smb.conf", "--maximum-runtime=3600"},
                               "", Folder() + "/samba.out", true);
    if (!WaitUntilAnswering()) {
        failure_ = "samba did not start on " + address_ + ": " +
                   ChildProcess::ReadAll(Folder() + "/samba.out.err") +
                   ChildProcess::ReadAll(Folder() + "/samba.log");
        Stop();
        return false;
    }
    return true;
}

bool DomainController::WaitUntilAnswering()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        if (ChildProcess::Ended(pid_)) {
            return false;
        }
        if (TryPort(address_, 636, true) && Exists(Base)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

void DomainController::Stop()
{
    ChildProcess::Stop(pid_, 10);
}

bool DomainController::Restart()
{
    Stop();
    return Launch();
}

LdapSettings DomainController::Settings(const std::string &serverName) const
{
    LdapSettings settings;
    settings.serverName = serverName;
    settings.kind = LdapSettings::ActiveDirectoryKind;
    settings.uri = Uri();
    settings.base = Base;
    settings.catalogue = Catalogue();
    settings.indexFolder = Folder() + "/index";
    settings.bindDn = AdminDn;
    settings.passwordFile = WriteFile("admin.password", std::string(AdminPassword) + "\n");
    settings.caFile = CaFile();
    settings.timeoutSeconds = 10;
    return settings;
}

int DomainController::Tool(std::vector<std::string> command, const std::string &input,
                           std::string *output) const
{
    command.insert(command.begin(),
                   {"env", "LDAPTLS_CACERT=" + CaFile(), "LDAPTLS_REQCERT=demand"});
    command.insert(command.begin() + 4, {"-H", Uri(), "-x", "-D", AdminDn, "-w", AdminPassword});
    const std::string in = input.empty() ? "" : WriteFile("tool-input.ldif", input);
    const std::string out = Folder() + "/tool-output";
    const int status = ChildProcess::Run(command, in, out);
    if (output != nullptr) {
        *output = ChildProcess::ReadAll(out);
    }
    return status;
}

bool DomainController::Modify(const std::string &ldif, bool showDeleted) const
{
    std::vector<std::string> command{"ldapmodify"};
    if (showDeleted) {
        command.insert(command.end(), {"-e", std::string("!") + ShowDeleted});
    }
    return Tool(command, ldif, nullptr) == 0;
}

std::string DomainController::Search(const std::string &base, const std::string &scope,
                                     const std::string &filter,
                                     const std::vector<std::string> &attributes,
                                     bool showDeleted) const
{
    std::vector<std::string> command{"ldapsearch", "-LLL", "-o", "ldif-wrap=no",
                                     "-b",         base,   "-s", scope};
    if (showDeleted) {
        command.insert(command.end(), {"-E", std::string("!") + ShowDeleted});
    }
    command.push_back(filter);
    command.insert(command.end(), attributes.begin(), attributes.end());
    std::string output;
    return Tool(command, "", &output) == 0 ? output : "";
}

bool DomainController::Delete(const std::string &dn, bool subtree) const
{
    std::vector<std::string> command{"ldapdelete"};
    if (subtree) {
        command.push_back("-r");
    }
    command.push_back(dn);
    return Tool(command, "", nullptr) == 0;
}

bool DomainController::Exists(const std::string &dn) const
{
    return Search(dn, "base", "(objectClass=*)", {"1.1"}).find("dn:") != std::string::npos;
}

std::string DomainController::Export() const
{
    return Search(Base, "sub", "(objectClass=*)", {"*"});
}

bool DomainController::EnableRecycleBin() const
{
    const std::string partitions = std::string("CN=Partitions,CN=Configuration,") + Base;
    const std::string ldif = "dn:\nchangetype: modify\nadd: enableOptionalFeature\n"
                             "enableOptionalFeature: " +
                             partitions + ":766ddcd8-acd0-445e-f3b9-a7f9b6744f2a\n";
    const std::string out = Folder() + "/recycle-bin";
    return ChildProcess::Run({"ldbmodify", "--configfile=" + Folder() + "/etc/smb.conf", "-H",
                              Folder() + "/private/sam.ldb"},
                             WriteFile("recycle-bin.ldif", ldif), out) == 0;
}
