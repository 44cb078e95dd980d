// Start-up's server list and login: which server opens, which messages the user sees on the
// way, and the User Details dialog asked until the login is accepted or cancelled.
#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

#include "app/RestoreApp.h"
#include "startup/RestoreProfile.h"
#include "mwlib/MW_Application.h"
#include "mwlib/MW_Cache.h"
#include "mwlib/MW_String.h"
#include "res/ResourceIds.h"
#include "res/TarvikResources.h"
#include "tests/support/core/ScriptedServer.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/Edit.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ModalDialog.h"

namespace
{

using Files = std::vector<std::pair<std::string, std::string>>;

// A program directory with the given profiles in it (name → contents, where "@DIR@" stands for
// the directory, so that one profile can name another by its full path).
class Startup
{
  public:
    explicit Startup(const Files &files = Files{})
        : hooks(MW_String("TARVIK"), MW_String(Path("tarvik").c_str())),
          app(serverNames, section, key, script)
    {
        InstallTarvikResources();
        for (const auto &[name, contents] : files) {
            std::string text = contents;
            for (size_t at; (at = text.find("@DIR@")) != std::string::npos;) {
                text.replace(at, 5, dir.path().toStdString());
            }
            std::ofstream(Path(name)) << text;
        }
        app.LoadProfile(&hooks);
    }
    std::string Path(const std::string &name) const
    {
        return dir.path().toStdString() + "/" + name;
    }

    QTemporaryDir dir;
    MW_Application hooks;
    MW_Cache serverNames;
    MW_String section{"SERVER"};
    MW_String key{"BackupServer"};
    ScriptedServer script;
    RestoreApp app;
    ModalScript modal;
};

const std::string kThreeServers =
    "[Server]\nBackupServer=FS1\nbackupserver = FS2\nBackupServer=FS3\n";

} // namespace

TEST(OpenServers, CommandLineNameIsUsedEvenWithoutAProfile)
{
    Startup s;
    EXPECT_FALSE(s.app.Profile()->ProfileLoaded());
    EXPECT_TRUE(s.app.OpenServers("FS9"));
    EXPECT_EQ(s.app.ServerName(), "FS9");
    EXPECT_EQ(s.script.OpenedNames(), (std::vector<std::string>{"FS9"}));
}

TEST(OpenServers, FailingCommandLineServerIsReportedAndTheListIsNotTried)
{
    Startup s(Files{{"TARVIK.INI", kThreeServers}});
    s.script.SetOpenResult("FS9", 1);
    s.modal.ExpectBox(ModalKind::ErrorBox, "Unable to open server: FS9", RET_OK);
    EXPECT_FALSE(s.app.OpenServers("FS9"));
    EXPECT_EQ(s.script.OpenedNames(), (std::vector<std::string>{"FS9"}));
    EXPECT_EQ(s.modal.Steps().back().parent, nullptr);
}

TEST(OpenServers, FirstServerThatOpensIsUsedAndLaterOnesAreNeverRead)
{
    Startup s(Files{{"TARVIK.INI", kThreeServers}});
    s.script.SetOpenResult("FS1", 1);
    EXPECT_TRUE(s.app.OpenServers(""));
    EXPECT_EQ(s.script.OpenedNames(), (std::vector<std::string>{"FS1", "FS2"}));
    EXPECT_EQ(s.app.ServerName(), "FS2");
    // The names never tried are released with the rest of the list, not left behind.
    EXPECT_EQ(s.serverNames.Count(), 0u);
}

TEST(OpenServers, EveryConfiguredServerFailingGivesTheAnyServersMessage)
{
    Startup s(
        Files{{"TARVIK.INI", "[SERVER]\nBackupServer=FS1\nBackupServer=\nBackupServer=FS2\n"}});
    s.script.SetOpenResult("FS1", 1);
    s.script.SetOpenResult("FS2", 1);
    s.modal.ExpectBox(ModalKind::ErrorBox, "Unable to open any servers defined in TARVIK.INI",
                      RET_OK);
    EXPECT_FALSE(s.app.OpenServers(""));
    // The empty value was skipped.
    EXPECT_EQ(s.script.OpenedNames(), (std::vector<std::string>{"FS1", "FS2"}));
}

TEST(OpenServers, ProfilesThatDoNotLoadGiveTheConfigurationMessage)
{
    const std::string name48(48, 'n');
    const std::string name49(49, 'n');
    struct Case {
        const char *what;
        Files files;
        bool loads;
    };
    const Case cases[] = {
        {"no profile", Files{}, false},
        {"no BackupServer line", Files{{"TARVIK.INI", "[SERVER]\nOther=FS1\n"}}, false},
        {"49 characters", Files{{"TARVIK.INI", "[SERVER]\nBackupServer=" + name49 + "\n"}}, false},
        {"48 characters", Files{{"TARVIK.INI", "[SERVER]\nBackupServer=" + name48 + "\n"}}, true},
        {"local profile without servers",
         Files{{"TARVIK.INI", "[GLOBALINI]\nName=@DIR@/GLOBAL.INI\n"},
               {"GLOBAL.INI", "[SERVER]\nBackupServer=FS1\n[LOCALINI]\nName=@DIR@/LOCAL.INI\n"},
               {"LOCAL.INI", "[SERVER]\n"}},
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Startup s(c.files);
        EXPECT_EQ(s.app.Profile()->ProfileLoaded(), c.loads);
        if (!c.loads) {
            s.modal.ExpectBox(ModalKind::ErrorBox, "Unable to open configuration file: TARVIK.INI",
                              RET_OK);
            EXPECT_FALSE(s.app.OpenServers(""));
            EXPECT_TRUE(s.script.OpenedNames().empty());
        } else {
            EXPECT_TRUE(s.app.OpenServers(""));
            EXPECT_EQ(s.app.ServerName(), name48);
        }
    }
}

TEST(Login, LoggedInAlreadyShowsNoDialog)
{
    Startup s;
    EXPECT_TRUE(s.app.Login());
    EXPECT_TRUE(s.modal.Steps().empty());
}

TEST(Login, RefusedAttemptsWarnAndAskAgainWithEmptyFields)
{
    Startup s;
    s.script.SetLoggedIn(false);
    s.script.SetAcceptedLogin("Bob.Sales", " secret ");
    auto type = [](std::string name, std::string password) {
        return [name, password](ModalDialog &dialog) {
            Edit *nameEdit = dialog.Find<Edit>(ResId(kUserDetailsName));
            Edit *passwordEdit = dialog.Find<Edit>(ResId(kUserDetailsPassword));
            EXPECT_EQ(nameEdit->GetText(), "");
            EXPECT_EQ(passwordEdit->GetText(), "");
            EXPECT_TRUE(passwordEdit->IsMasked());
            nameEdit->SetText(name);
            passwordEdit->SetText(password);
        };
    };
    s.modal.ExpectDialog(kDialogUserDetails, 1, type("Bob.Sales", "wrong"))
        .ExpectBox(ModalKind::WarningBox, "User / password invalid.\nPlease re-enter.", RET_OK)
        .ExpectDialog(kDialogUserDetails, 1, type("Bob.Sales", " secret "));
    EXPECT_TRUE(s.app.Login());
    // Passed on exactly as typed, blanks included.
    ASSERT_EQ(s.script.Logins().size(), 2u);
    EXPECT_EQ(s.script.Logins()[1].second, " secret ");
    EXPECT_EQ(s.modal.Steps()[0].parent, nullptr);
}

TEST(Login, CancelEndsTheLoopAfterAnyNumberOfRefusals)
{
    Startup s;
    s.script.SetLoggedIn(false);
    s.script.SetAcceptedLogin("nobody", "never");
    for (int i = 0; i < 3; ++i) {
        s.modal.ExpectDialog(kDialogUserDetails, 1)
            .ExpectBox(ModalKind::WarningBox, "User / password invalid.\nPlease re-enter.", RET_OK);
    }
    s.modal.ExpectDialog(kDialogUserDetails, 0);
    EXPECT_FALSE(s.app.Login());
    EXPECT_EQ(s.script.Logins().size(), 3u);
}
