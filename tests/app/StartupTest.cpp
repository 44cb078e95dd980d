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
#include "tests/support/core/NamedPipe.h"
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

// The box names "TARVIK.INI" whatever went wrong; standard error says which file and why.
TEST(OpenServers, ProfilesThatDoNotLoadGiveTheConfigurationMessage)
{
    const std::string name48(48, 'n');
    const std::string name49(49, 'n');
    struct Case {
        const char *what;
        Files files;
        bool loads;
        std::string reason; // "@DIR@/FILE: why" on standard error
    };
    const Case cases[] = {
        {"no profile", Files{}, false, "@DIR@/TARVIK.INI: missing"},
        {"no BackupServer line", Files{{"TARVIK.INI", "[SERVER]\nOther=FS1\n"}}, false,
         "@DIR@/TARVIK.INI: no BackupServer line in section [SERVER]"},
        {"49 characters", Files{{"TARVIK.INI", "[SERVER]\nBackupServer=" + name49 + "\n"}}, false,
         "@DIR@/TARVIK.INI: a value of BackupServer in section [SERVER] is not acceptable (1 to "
         "48 characters)"},
        {"48 characters", Files{{"TARVIK.INI", "[SERVER]\nBackupServer=" + name48 + "\n"}}, true,
         ""},
        {"byte-order mark", Files{{"TARVIK.INI", "\xEF\xBB\xBF[SERVER]\nBackupServer=" + name48}},
         true, ""},
        {"local profile without servers",
         Files{{"TARVIK.INI", "[GLOBALINI]\nName=@DIR@/GLOBAL.INI\n"},
               {"GLOBAL.INI", "[SERVER]\nBackupServer=FS1\n[LOCALINI]\nName=@DIR@/LOCAL.INI\n"},
               {"LOCAL.INI", "[SERVER]\n"}},
         false, "@DIR@/LOCAL.INI: no BackupServer line in section [SERVER]"},
        {"global profile missing", Files{{"TARVIK.INI", "[GLOBALINI]\nName=@DIR@/NONE.INI\n"}},
         false, "@DIR@/NONE.INI: missing"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Startup s(c.files);
        EXPECT_EQ(s.app.Profile()->ProfileLoaded(), c.loads);
        testing::internal::CaptureStderr();
        if (!c.loads) {
            s.modal.ExpectBox(ModalKind::ErrorBox, "Unable to open configuration file: TARVIK.INI",
                              RET_OK);
            EXPECT_FALSE(s.app.OpenServers(""));
            EXPECT_TRUE(s.script.OpenedNames().empty());
        } else {
            EXPECT_TRUE(s.app.OpenServers(""));
            EXPECT_EQ(s.app.ServerName(), name48);
        }
        std::string reason = c.reason;
        for (size_t at; (at = reason.find("@DIR@")) != std::string::npos;) {
            reason.replace(at, 5, s.dir.path().toStdString());
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  c.loads ? "" : "TARVIK: profile " + reason + "\n");
    }
}

// A named pipe called TARVIK.INI would hold the program up before any window, waiting for a
// writer that never comes: it is refused like any file that is not a regular one.
TEST(OpenServers, NamedPipeAsProfileIsRefusedWithoutWaiting)
{
    Startup s;
    NamedPipe pipe(s.Path("TARVIK.INI"), "[SERVER]\nBackupServer=FS1\n");
    ASSERT_TRUE(pipe.Made());
    s.app.LoadProfile(&s.hooks);
    pipe.Finished();
    EXPECT_FALSE(pipe.ReaderWaited());
    EXPECT_FALSE(s.app.Profile()->ProfileLoaded());
    s.modal.ExpectBox(ModalKind::ErrorBox, "Unable to open configuration file: TARVIK.INI", RET_OK);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(s.app.OpenServers(""));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "TARVIK: profile " + s.Path("TARVIK.INI") + ": not a regular file\n");
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
