// Start-up with directory servers: a profile section named like a server selects the directory
// backend, loaded from the module beside the program, every other name keeps the simulation, and
// login goes through the directory. Without a usable module a directory server does not open.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>

#include "app/RestoreApp.h"
#include "startup/RestoreProfile.h"
#include "mwlib/MW_Application.h"
#include "mwlib/MW_Cache.h"
#include "mwlib/MW_String.h"
#include "res/ResourceIds.h"
#include "res/TarvikResources.h"
#include "server/DirectoryModule.h"
#include "server/RecordFields.h"
#include "server/ServerReply.h"
#include "tests/support/core/SlapdServer.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/Edit.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ModalDialog.h"

namespace
{
const std::string kReader = "\ndn: cn=reader,o=Marrowby\nobjectClass: person\n"
                            "objectClass: simpleSecurityObject\ncn: reader\nsn: Reader\n"
                            "userPassword: r3ad.me\n";

// What lies beside the program where the directory module belongs.
enum class Module { Built, Missing, NotAModule };

// The program in a folder of its own, with a TARVIK.INI, a snapshot folder and the directory
// module beside it, and the application object as the program builds it (simulated unless the
// profile says more).
class DirectoryStartup
{
  public:
    explicit DirectoryStartup(const std::string &profile, Module module = Module::Built)
        : slapd({MarrowbySeed() + kReader, ""}),
          hooks(MW_String("TARVIK"), MW_String(Path("tarvik").c_str())),
          app(serverNames, section, key)
    {
        InstallTarvikResources();
        const std::string modulePath = Path(DirectoryModule::kFileName);
        if (module == Module::Built) {
            std::filesystem::create_symlink(TARVIK_DIRECTORY_MODULE, modulePath);
        } else if (module == Module::NotAModule) {
            std::ofstream(modulePath) << "not a shared object\n";
        }
        std::filesystem::create_directory(Path("snapshots"));
        std::ofstream(Path("snapshots/1000.ldif")) << slapd.Slapcat();
        std::string text = profile;
        for (const auto &[mark, value] :
             {std::pair{std::string("@SOCKET@"), slapd.SocketUri()}, {"@TCP@", slapd.Uri()}}) {
            for (size_t at; (at = text.find(mark)) != std::string::npos;) {
                text.replace(at, mark.size(), value);
            }
        }
        std::ofstream(Path("TARVIK.INI")) << text;
        app.LoadProfile(&hooks);
    }
    // The login record (RestoreApp::Login also names the login loop).
    ServerLogin &Record() { return *std::as_const(app).Login(); }
    std::string Path(const std::string &name) const
    {
        return dir.path().toStdString() + "/" + name;
    }
    // The names of the top context's children as the opened server lists them.
    std::vector<std::string> TopChildren()
    {
        ChildRequest request{};
        CopyToField(request.containerName, Record().Context());
        std::vector<std::string> names;
        for (;;) {
            ServerReply reply(app.Server(), ListChildren, sizeof request, &request);
            const ObjectRecord *record = reply.As<ObjectRecord>();
            if (record == nullptr || record->id == 0 || names.size() > 20) {
                return names;
            }
            names.push_back(FieldText(record->name));
            request.lastId = record->id;
        }
    }

    QTemporaryDir dir;
    SlapdServer slapd;
    MW_Application hooks;
    MW_Cache serverNames;
    MW_String section{"SERVER"};
    MW_String key{"BackupServer"};
    RestoreApp app;
    ModalScript modal;
};

const std::string kDirectory = "[SERVER]\nBackupServer=DIR1\nBackupServer=FS2\n\n"
                               "[DIR1]\nUri=@SOCKET@\nBase=o=Marrowby\nCatalogue=snapshots\n"
                               "Sasl=EXTERNAL\n";

TEST(DirectoryStartup, SectionNamedLikeTheServerSelectsTheDirectory)
{
    DirectoryStartup s(kDirectory);
    ASSERT_TRUE(s.slapd.Running()) << s.slapd.Failure();
    EXPECT_TRUE(s.app.OpenServers(""));
    EXPECT_EQ(s.app.ServerName(), "DIR1");
    EXPECT_TRUE(s.app.Login()); // the configured bind works: no dialog
    EXPECT_STREQ(s.Record().Context(), "Marrowby");
    EXPECT_STREQ(s.Record().UserName(), "admin.Marrowby");
    EXPECT_EQ(s.TopChildren(), (std::vector<std::string>{"Sales", "admin", "reader"}));
}

TEST(DirectoryStartup, OtherNamesKeepTheSimulation)
{
    DirectoryStartup s(kDirectory);
    EXPECT_TRUE(s.app.OpenServers("FS9"));
    EXPECT_TRUE(s.app.Login());
    EXPECT_STREQ(s.Record().UserName(), ServerLogin::DefaultUser);
    EXPECT_STREQ(s.Record().Context(), ServerLogin::DefaultContext);
    EXPECT_EQ(s.TopChildren().size(), 6u);
}

TEST(DirectoryStartup, UnreachableDirectoryGivesWayToTheNextConfiguredServer)
{
    DirectoryStartup s(kDirectory);
    s.slapd.Stop();
    EXPECT_TRUE(s.app.OpenServers(""));
    EXPECT_EQ(s.app.ServerName(), "FS2");
    EXPECT_TRUE(s.app.Login());
    EXPECT_STREQ(s.Record().UserName(), ServerLogin::DefaultUser);
}

TEST(DirectoryStartup, CommandLineDirectoryThatCannotOpenIsNamed)
{
    DirectoryStartup s("[SERVER]\nBackupServer=FS1\n\n[DIR1]\nUri=@TCP@\nBase=o=Elsewhere\n"
                       "Catalogue=snapshots\n");
    s.modal.ExpectBox(ModalKind::ErrorBox, "Unable to open server: DIR1", RET_OK);
    EXPECT_FALSE(s.app.OpenServers("DIR1"));
}

TEST(DirectoryStartup, DirectoryWithoutAUsableModuleIsNamedAsUnableToOpen)
{
    for (Module module : {Module::Missing, Module::NotAModule}) {
        DirectoryStartup s(kDirectory, module);
        ASSERT_TRUE(s.slapd.Running()) << s.slapd.Failure();
        s.modal.ExpectBox(ModalKind::ErrorBox, "Unable to open server: DIR1", RET_OK);
        EXPECT_FALSE(s.app.OpenServers("DIR1"));
    }
}

TEST(DirectoryStartup, DirectoryWithoutTheModuleGivesWayToTheNextConfiguredServer)
{
    DirectoryStartup s(kDirectory, Module::Missing);
    EXPECT_TRUE(s.app.OpenServers(""));
    EXPECT_EQ(s.app.ServerName(), "FS2");
    EXPECT_TRUE(s.app.Login());
    EXPECT_STREQ(s.Record().UserName(), ServerLogin::DefaultUser);
}

TEST(DirectoryStartup, LoginWithoutAConfiguredBindAsksForAUserOfTheDirectory)
{
    DirectoryStartup s("[SERVER]\nBackupServer=DIR1\n\n[DIR1]\nUri=@TCP@\nBase=o=Marrowby\n"
                       "Catalogue=snapshots\nTimeout=5\n");
    ASSERT_TRUE(s.app.OpenServers(""));
    auto type = [](std::string name, std::string password) {
        return [name, password](ModalDialog &dialog) {
            dialog.Find<Edit>(ResId(kUserDetailsName))->SetText(name);
            dialog.Find<Edit>(ResId(kUserDetailsPassword))->SetText(password);
        };
    };
    s.modal.ExpectDialog(kDialogUserDetails, 1, type("reader.Marrowby", "wrong"))
        .ExpectBox(ModalKind::WarningBox, RestoreApp::kLoginRefused, RET_OK)
        .ExpectDialog(kDialogUserDetails, 1, type("reader.Marrowby", "r3ad.me"));
    EXPECT_TRUE(s.app.Login());
    EXPECT_STREQ(s.Record().UserName(), "reader.Marrowby");
    EXPECT_STREQ(s.Record().Context(), "Marrowby");
}
} // namespace
