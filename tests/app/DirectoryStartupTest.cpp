// Start-up with directory servers: a profile section named like a server selects the directory
// backend, loaded from the module beside the program, every other name keeps the simulation, and
// login goes through the directory. Without a usable module a directory server does not open.
// Whatever keeps a server shut or a configured login from working is shown on screen.
#include <QTemporaryDir>
#include <gmock/gmock.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <utility>

#include "app/RestoreApp.h"
#include "app/UserDetailsDialog.h"
#include "mwlib/MW_Application.h"
#include "mwlib/MW_Cache.h"
#include "mwlib/MW_String.h"
#include "res/ResourceIds.h"
#include "res/TarvikResources.h"
#include "server/DirectoryModule.h"
#include "server/RecordFields.h"
#include "server/ServerReply.h"
#include "startup/RestoreProfile.h"
#include "tests/support/core/SilentListener.h"
#include "tests/support/core/SlapdServer.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/Edit.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ModalDialog.h"

namespace
{
using testing::HasSubstr;
using testing::Not;

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

// The box that says a server did not open: the program's own text first, then the reason.
std::string UnableToOpenBox(DirectoryStartup &s, const std::string &name, const std::string &start)
{
    s.modal.ExpectBoxStartingWith(ModalKind::ErrorBox, start + "\n\n", RET_OK);
    EXPECT_FALSE(s.app.OpenServers(name));
    return s.modal.Steps().empty() ? "" : s.modal.Steps().back().text;
}

TEST(DirectoryStartup, CommandLineDirectoryThatCannotOpenIsNamedWithTheReasonBelow)
{
    const SilentListener silent;
    ASSERT_TRUE(silent.Listening());

    const std::string head = "[SERVER]\nBackupServer=FS1\n\n[DIR1]\n";
    const struct {
        const char *what;
        std::string section;
        bool stopServer;
        std::string reason;
    } cases[] = {
        {"missing base", "Uri=@TCP@\nAllowPlainBind=yes\nBase=o=Elsewhere\nCatalogue=snapshots\n",
         false, "The base o=Elsewhere does not exist"},
        {"unreachable", "Uri=@TCP@\nAllowPlainBind=yes\nBase=o=Marrowby\nCatalogue=snapshots\n",
         true, "Can't contact LDAP server (ldap://127.0.0.1:"},
        {"missing catalogue", "Uri=@SOCKET@\nBase=o=Marrowby\nCatalogue=nowhere\nSasl=EXTERNAL\n",
         false, "The catalogue "},
        {"silent",
         "Uri=" + silent.Uri() +
             "\nAllowPlainBind=yes\nBase=o=Marrowby\nCatalogue=snapshots\nTimeout=1\n",
         false, "Timed out (no answer from " + std::string("ldap://127.0.0.1:")},
        {"settings", "Uri=127.0.0.1\nBase=o=Marrowby\nCatalogue=snapshots\n", false,
         "The settings of DIR1: Uri must begin with ldap://, ldaps:// or ldapi://"},
        {"password in the clear", "Uri=@TCP@\nBase=o=Marrowby\nCatalogue=snapshots\n", false,
         "The settings of DIR1: a password would go to ldap://127.0.0.1:"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        DirectoryStartup s(head + c.section);
        if (c.stopServer) {
            s.slapd.Stop();
        }
        const std::string box = UnableToOpenBox(s, "DIR1", "Unable to open server: DIR1");
        EXPECT_THAT(box, HasSubstr("\n\n" + c.reason));
    }
}

TEST(DirectoryStartup, DirectoryWithoutAUsableModuleIsNamedAsUnableToOpen)
{
    for (Module module : {Module::Missing, Module::NotAModule}) {
        DirectoryStartup s(kDirectory, module);
        ASSERT_TRUE(s.slapd.Running()) << s.slapd.Failure();
        const std::string box = UnableToOpenBox(s, "DIR1", "Unable to open server: DIR1");
        EXPECT_THAT(box, HasSubstr("\n\nDirectory module not loaded: "));
        EXPECT_THAT(box, HasSubstr(DirectoryModule::kFileName));
    }
}

TEST(DirectoryStartup, NoConfiguredServerOpensAndEachSaysWhy)
{
    DirectoryStartup s(
        "[SERVER]\nBackupServer=DIR1\nBackupServer=DIR2\n\n"
        "[DIR1]\nUri=@TCP@\nAllowPlainBind=yes\nBase=o=Marrowby\nCatalogue=snapshots\n\n"
        "[DIR2]\nUri=@SOCKET@\nBase=o=Marrowby\nCatalogue=nowhere\nSasl=EXTERNAL\n");
    s.slapd.Stop();
    const std::string box = UnableToOpenBox(s, "", RestoreApp::kUnableToOpenAny);
    EXPECT_THAT(box, HasSubstr("\n\nDIR1: Can't contact LDAP server"));
    EXPECT_THAT(box, HasSubstr("\nDIR2: "));
}

TEST(DirectoryStartup, ConfiguredBindThatFailsShowsWhyInTheUserDetailsDialog)
{
    const struct {
        const char *password;
        int mode;
        const char *reason;
    } cases[] = {
        {"wrong", 0600, "The configured bind failed: Invalid credentials"},
        {"r3ad.me", 0640, "has mode 0640: a password file is for its owner alone"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reason);
        DirectoryStartup s("[SERVER]\nBackupServer=DIR1\n\n[DIR1]\nUri=@TCP@\nAllowPlainBind="
                           "yes\nBase=o=Marrowby\n"
                           "Catalogue=snapshots\nBindDn=cn=reader,o=Marrowby\n"
                           "PasswordFile=password\n");
        const std::string file = s.Path("password");
        std::ofstream(file) << c.password << "\n";
        ::chmod(file.c_str(), static_cast<mode_t>(c.mode));
        ASSERT_TRUE(s.app.OpenServers(""));
        std::string shown;
        s.modal.ExpectDialog(kDialogUserDetails, 0, [&shown](ModalDialog &dialog) {
            shown = dynamic_cast<UserDetailsDialog &>(dialog).GetReason();
        });
        EXPECT_FALSE(s.app.Login());
        EXPECT_THAT(shown, HasSubstr(c.reason));
        EXPECT_THAT(shown, Not(HasSubstr("r3ad.me")));
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
    DirectoryStartup s(
        "[SERVER]\nBackupServer=DIR1\n\n[DIR1]\nUri=@TCP@\nAllowPlainBind=yes\nBase=o=Marrowby\n"
        "Catalogue=snapshots\nTimeout=5\n");
    ASSERT_TRUE(s.app.OpenServers(""));
    auto type = [](std::string name, std::string password) {
        return [name, password](ModalDialog &dialog) {
            dialog.Find<Edit>(ResId(kUserDetailsName))->SetText(name);
            dialog.Find<Edit>(ResId(kUserDetailsPassword))->SetText(password);
        };
    };
    std::vector<std::string> reasons;
    auto typeAndRead = [&](std::string name, std::string password) {
        return [&reasons, act = type(name, password)](ModalDialog &dialog) {
            reasons.push_back(dynamic_cast<UserDetailsDialog &>(dialog).GetReason());
            act(dialog);
        };
    };
    s.modal.ExpectDialog(kDialogUserDetails, 1, typeAndRead("reader.Marrowby", "wrong"))
        .ExpectBox(ModalKind::WarningBox, RestoreApp::kLoginRefused, RET_OK)
        .ExpectDialog(kDialogUserDetails, 1, typeAndRead("reader.Marrowby", "r3ad.me"));
    EXPECT_TRUE(s.app.Login());
    // Nothing to say at first (no bind is configured); then why the server refused.
    ASSERT_EQ(reasons.size(), 2u);
    EXPECT_EQ(reasons[0], "");
    EXPECT_THAT(reasons[1], HasSubstr("Invalid credentials"));
    EXPECT_STREQ(s.Record().UserName(), "reader.Marrowby");
    EXPECT_STREQ(s.Record().Context(), "Marrowby");
}
} // namespace
