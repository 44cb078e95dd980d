// Termination and interrupt signals by the thousand while the directory server is slow to answer:
// the programs' handlers must never turn a call that the server answers into a failure.
#include <gmock/gmock.h>

#include <pthread.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "mwlib/MW_SIGTERMPipe.h"
#include "tests/server/directory/DirectoryFixture.h"

namespace
{
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

// The program's own handler (it writes to a pipe, installed with SA_RESTART) for the length of a
// test; what was there before is put back.
class ProgramHandler
{
  public:
    ProgramHandler()
    {
        sigaction(SIGTERM, nullptr, &previous_);
        installed_ = MW_SIGTERMPipe::Install();
    }
    ~ProgramHandler()
    {
        sigaction(SIGTERM, &previous_, nullptr);
        MW_SIGTERMPipe::Drain();
    }
    bool Installed() const { return installed_; }

  private:
    struct sigaction previous_ {
    };
    bool installed_ = false;
};

// The command-line restore's handler for SIGINT: it only records the signal (SA_RESTART), and
// the run stops after the request in flight. The signal is not held back during calls, so the
// directory library's waits must take up again after it.
class InterruptHandler
{
  public:
    InterruptHandler()
    {
        struct sigaction action {
        };
        action.sa_handler = [](int) { raised = raised + 1; };
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        raised = 0;
        installed_ = sigaction(SIGINT, &action, &previous_) == 0;
    }
    ~InterruptHandler() { sigaction(SIGINT, &previous_, nullptr); }
    bool Installed() const { return installed_; }

    static inline volatile sig_atomic_t raised = 0;

  private:
    struct sigaction previous_ {
    };
    bool installed_ = false;
};

// While it lives, a thread sends `count` signals (termination unless told) to the target thread, a
// few microseconds apart, and then lets the frozen server answer. The signals go to the thread that
// waits for the server, as they may in the program, whatever other threads it has.
class Storm
{
  public:
    Storm(SlapdServer &slapd, pthread_t target, int count, int signal = SIGTERM)
        : thread_([&slapd, target, count, signal] {
              sigset_t sent;
              sigemptyset(&sent);
              sigaddset(&sent, signal);
              pthread_sigmask(SIG_BLOCK, &sent, nullptr);
              std::this_thread::sleep_for(std::chrono::milliseconds(20)); // the call is waiting
              for (int i = 0; i < count; ++i) {
                  pthread_kill(target, signal);
                  std::this_thread::sleep_for(std::chrono::microseconds(50));
              }
              slapd.Thaw();
          })
    {
    }
    ~Storm() { thread_.join(); }

  private:
    std::thread thread_;
};

class SignalStorm : public DirectoryFixture
{
  protected:
    void SetUp() override
    {
        DirectoryFixture::SetUp();
        ASSERT_TRUE(handler.Installed());
        slapd.WriteSnapshot(1000, slapd.Slapcat());
        // Long enough for any storm on a busy machine: a failure here is never a time-out.
        LdapSettings settings = Settings();
        settings.timeoutSeconds = 60;
        ASSERT_EQ(Open(settings), 0) << Log();
        ASSERT_EQ(ldap->LoginCurrent(LoginRecord{}), 0) << Log();
    }

    ProgramHandler handler;
};

TEST_F(SignalStorm, ListingDuringAStormIsWhole)
{
    slapd.Freeze();
    std::vector<Listed> listed;
    {
        Storm storm(slapd, pthread_self(), 1000);
        listed = List("Sales.Marrowby");
    }
    EXPECT_THAT(listed, ElementsAre(Listed{"Ann", false, true}, Listed{"Bob", false, true}));
    EXPECT_EQ(server->LastFailure(), "");
    EXPECT_THAT(Log(), Not(HasSubstr("failed")));
    // The signals were not lost either: they arrived once the call was over.
    EXPECT_TRUE(MW_SIGTERMPipe::Drain());
}

TEST_F(SignalStorm, RestoreDuringAStormReportsWhatTheServerDid)
{
    ASSERT_TRUE(slapd.Delete("cn=Ann,ou=Sales,o=Marrowby"));
    List("Marrowby");
    List("Sales.Marrowby");
    slapd.Freeze();
    Restored restored;
    {
        Storm storm(slapd, pthread_self(), 3000);
        restored = Restore("Ann.Sales.Marrowby");
    }
    EXPECT_EQ(restored.status, 0) << restored.message;
    EXPECT_TRUE(slapd.Exists("cn=Ann,ou=Sales,o=Marrowby"));
    EXPECT_THAT(Log(), Not(HasSubstr("failed")));
}

TEST_F(SignalStorm, RestoreDuringAnInterruptStormReportsWhatTheServerDid)
{
    InterruptHandler interrupts;
    ASSERT_TRUE(interrupts.Installed());
    ASSERT_TRUE(slapd.Delete("cn=Bob,ou=Sales,o=Marrowby"));
    List("Marrowby");
    List("Sales.Marrowby");
    slapd.Freeze();
    Restored restored;
    {
        Storm storm(slapd, pthread_self(), 3000, SIGINT);
        restored = Restore("Bob.Sales.Marrowby");
    }
    EXPECT_EQ(restored.status, 0) << restored.message;
    EXPECT_TRUE(slapd.Exists("cn=Bob,ou=Sales,o=Marrowby"));
    EXPECT_THAT(Log(), Not(HasSubstr("failed")));
    EXPECT_GT(InterruptHandler::raised, 0); // the storm did reach the waiting thread
}
} // namespace
