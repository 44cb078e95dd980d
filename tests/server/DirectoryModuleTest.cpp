// The directory backend from its module, as the program gets it: the real module gives backends
// that work against a live directory, also after the loader is gone; a module that is missing,
// is no module or lacks its factory gives no backend, and the reason names the fault.
#include <gmock/gmock.h>

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "server/BackupServer.h"
#include "server/DirectoryModule.h"
#include "server/RecordFields.h"
#include "server/ServerLogin.h"
#include "server/ServerReply.h"
#include "tests/support/core/DomainController.h"
#include "tests/support/core/SlapdServer.h"

namespace
{
using testing::HasSubstr;

LdapSettings SocketSettings(const SlapdServer &slapd)
{
    LdapSettings settings = slapd.SocketSettings("LDAP1");
    settings.timeoutSeconds = 5;
    return settings;
}

bool LdapLoaded()
{
    return dl_iterate_phdr(
               [](dl_phdr_info *info, size_t, void *) {
                   return std::strstr(info->dlpi_name, "/libldap") != nullptr ? 1 : 0;
               },
               nullptr) != 0;
}

std::vector<std::string> TopChildren(BackupServer &server, const char *top = "Marrowby")
{
    ChildRequest request{};
    CopyToField(request.containerName, top);
    std::vector<std::string> names;
    for (;;) {
        ServerReply reply(server, ListChildren, sizeof request, &request);
        const ObjectRecord *record = reply.As<ObjectRecord>();
        if (record == nullptr || record->id == 0 || names.size() > 10) {
            return names;
        }
        names.push_back(FieldText(record->name));
        request.lastId = record->id;
    }
}

TEST(DirectoryModule, RealModuleGivesBackendsThatOutliveTheLoader)
{
    SlapdServer slapd({MarrowbySeed(), ""});
    ASSERT_TRUE(slapd.Running()) << slapd.Failure();
    std::unique_ptr<ServerBackend> first;
    std::unique_ptr<ServerBackend> second;
    {
        DirectoryModule module(TARVIK_DIRECTORY_MODULE);
        std::string reason;
        first = module.Create(SocketSettings(slapd), reason);
        ASSERT_NE(first, nullptr) << reason;
        second = module.Create(SocketSettings(slapd), reason);
        ASSERT_NE(second, nullptr) << reason;
    }
    // This test program links no LDAP library: the module brought it.
    EXPECT_TRUE(LdapLoaded());
    for (std::unique_ptr<ServerBackend> *backend : {&first, &second}) {
        BackupServer server(std::move(*backend));
        ASSERT_EQ(server.Open("LDAP1"), 0);
        ServerLogin login(server);
        ASSERT_EQ(login.LoginCurrent(), 0);
        EXPECT_STREQ(login.Context(), "Marrowby");
        EXPECT_EQ(TopChildren(server), (std::vector<std::string>{"Sales", "admin"}));
    }
}

TEST(DirectoryModule, ADomainControllersSectionGetsTheDomainBackend)
{
    DomainController dc;
    ASSERT_TRUE(dc.Running()) << dc.Failure();
    DirectoryModule module(TARVIK_DIRECTORY_MODULE);
    std::string reason;
    std::unique_ptr<ServerBackend> backend = module.Create(dc.Settings("DC1"), reason);
    ASSERT_NE(backend, nullptr) << reason;
    BackupServer server(std::move(backend));
    ASSERT_EQ(server.Open("DC1"), 0);
    ServerLogin login(server);
    ASSERT_EQ(login.LoginCurrent(), 0);
    EXPECT_STREQ(login.Context(), "marrowby.test");
    // The domain's own containers, and none of the deleted objects' container.
    EXPECT_THAT(TopChildren(server, "marrowby.test"),
                testing::AllOf(testing::Contains("Users"), testing::Contains("Computers"),
                               testing::Not(testing::Contains("Deleted Objects"))));
}

TEST(DirectoryModule, AKindItDoesNotKnowGivesNoBackend)
{
    DirectoryModule module(TARVIK_DIRECTORY_MODULE);
    LdapSettings settings;
    settings.kind = "NetWare";
    std::string reason;
    EXPECT_EQ(module.Create(settings, reason), nullptr);
    EXPECT_THAT(reason, HasSubstr("Kind NetWare is not known"));
    // Either spelling of the known kinds is taken.
    for (const char *kind : {"directory", "ACTIVEDIRECTORY", ""}) {
        settings.kind = kind;
        EXPECT_NE(module.Create(settings, reason), nullptr) << kind;
    }
}

TEST(DirectoryModule, UnusableModuleGivesNoBackendAndSaysWhy)
{
    const std::string notAModule =
        testing::TempDir() + "not-a-module-" + std::to_string(getpid()) + ".so";
    std::ofstream(notAModule) << "not a shared object\n";
    const struct {
        std::string path;
        std::string said;
    } cases[] = {
        {"/nonexistent/tarvik-directory.so", "cannot open shared object file"},
        {notAModule, notAModule},
        {TARVIK_MODULE_WITHOUT_FACTORY, kDirectoryFactoryName},
    };
    for (const auto &broken : cases) {
        SCOPED_TRACE(broken.path);
        DirectoryModule module(broken.path);
        // Asked twice: the second answer is the same refusal, not a crash.
        for (int attempt = 0; attempt < 2; ++attempt) {
            std::string reason;
            EXPECT_EQ(module.Create(LdapSettings{}, reason), nullptr);
            EXPECT_THAT(reason, HasSubstr(broken.said));
        }
    }
    std::remove(notAModule.c_str());
}

TEST(DirectoryModule, ModuleRefusesACallerOfAnotherVersion)
{
    void *handle = dlopen(TARVIK_DIRECTORY_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    auto *factory = reinterpret_cast<DirectoryFactory *>(dlsym(handle, kDirectoryFactoryName));
    ASSERT_NE(factory, nullptr);
    const LdapSettings settings;
    std::string reason;
    EXPECT_EQ(factory(kDirectoryInterfaceVersion + 1, &settings, &reason), nullptr);
    EXPECT_THAT(reason, HasSubstr("another version"));
    dlclose(handle);
}

TEST(DirectoryModule, BareNameIsNeverSearchedAlongTheLibraryPath)
{
    EXPECT_EQ(DirectoryModule(DirectoryModule::kFileName).Path(), "./tarvik-directory.so");
    EXPECT_EQ(DirectoryModule("/opt/t/tarvik-directory.so").Path(), "/opt/t/tarvik-directory.so");
}
} // namespace
