// MW_Application: recorded name and path, SIGTERM informing on the program's thread, exit hook.
// Every test runs in a child process, since the application object installs process-wide hooks.
#include "ChildProcess.h"

#include "mwlib/MW_Application.h"
#include "mwlib/MW_SIGTERMClient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <poll.h>
#include <pthread.h>
#include <sstream>

namespace
{

using Lines = std::vector<std::string>;

Lines SplitLines(const std::string &text)
{
    Lines lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

pthread_t testThread;

// Writes each reaction to the log, noting when it does not run on the thread that made it.
class LoggingHooks : public MW_Application
{
  public:
    LoggingHooks(std::FILE *log, int32_t *traceSwitch, int32_t beforeResult = 0)
        : MW_Application("TARVIK", "/opt/tarvik/bin/tarvik", traceSwitch, log), log(log),
          beforeResult(beforeResult)
    {
    }
    ~LoggingHooks() override { std::fprintf(log, "LoggingHooks destroyed\n"); }
    int32_t Before_SIGTERM() override
    {
        Note("Before_SIGTERM");
        return beforeResult;
    }
    int32_t After_SIGTERM() override
    {
        Note("After_SIGTERM");
        return 0;
    }
    void M_SIGTERM() override { Note("M_SIGTERM"); }

  private:
    void Note(const char *what)
    {
        std::fprintf(log, "%s%s\n", what,
                     pthread_equal(pthread_self(), testThread) ? "" : " on another thread");
    }
    std::FILE *log;
    int32_t beforeResult;
};

class LoggingClient : public MW_SIGTERMClient
{
  public:
    LoggingClient(MW_SIGTERMClientList *registry, const char *name, std::FILE *log)
        : MW_SIGTERMClient(registry), name(name), log(log)
    {
    }
    void M_SIGTERM() override { std::fprintf(log, "%s informed\n", name); }

  private:
    const char *name;
    std::FILE *log;
};

class LoggingList : public MW_SIGTERMClientList
{
  public:
    LoggingList(MW_SIGTERMClientList *registry, const char *name, std::FILE *log)
        : MW_SIGTERMClientList(registry), name(name), log(log)
    {
    }
    void M_SIGTERM() override { std::fprintf(log, "%s informed\n", name); }

  private:
    const char *name;
    std::FILE *log;
};

bool SignalPending()
{
    pollfd watch = {MW_Application::SIGTERMNotifyFd(), POLLIN, 0};
    return poll(&watch, 1, 5000) == 1;
}

class Application : public testing::Test
{
  protected:
    void SetUp() override { testThread = pthread_self(); }
};

TEST_F(Application, RecordsNameAndPathAndTracesItsLife)
{
    const ChildOutcome child = RunInChild([](std::FILE *out) {
        int32_t on = 1;
        {
            MW_Application app("TARVIK", "/opt/tarvik/bin/tarvik", &on, out);
            std::fprintf(out, "%s %s %s\n", MW_Application::ApplicationName().Text(),
                         MW_Application::ProgramPath().Text(),
                         MW_Application::MySelf == &app ? "MySelf" : "?");
        }
        std::fprintf(out, "MySelf %s\n", MW_Application::MySelf ? "dangling" : "cleared");
        // The handler stays installed, finds nobody, and the process goes on.
        raise(SIGTERM);
        std::fprintf(out, "pending ran %d\n", MW_Application::RunPendingSIGTERM());
    });
    EXPECT_TRUE(child.exited);
    EXPECT_EQ(child.exitCode, 0);
    EXPECT_EQ(SplitLines(child.output),
              (Lines{"MW_Application::Application",
                     "MW_Application::Application.RegisterSIGTERMHandler",
                     "MW_Application::RegisterSIGTERMHandler",
                     "MW_Application::RegisterSIGTERMHandler.signal",
                     "MW_Application::RegisterSIGTERMHandler.return",
                     "MW_Application::Application.RegisterATEXITHandler",
                     "MW_Application::RegisterATEXITHandler",
                     "MW_Application::RegisterATEXITHandler.atexit",
                     "MW_Application::RegisterATEXITHandler.return",
                     "MW_Application::Application.return",
                     "TARVIK /opt/tarvik/bin/tarvik MySelf",
                     "MW_Application::~Application",
                     "MW_Application::~Application.DeregisterATEXITHandler",
                     "MW_Application::DeregisterATEXITHandler",
                     "MW_Application::~Application.DeregisterSIGTERMHandler",
                     "MW_Application::DeregisterSIGTERMHandler",
                     "MW_Application::DeregisterSIGTERMHandler.return",
                     "MW_Application::~Application.return",
                     "MySelf cleared",
                     "pending ran 0"}));
}

TEST_F(Application, SignalInformsEveryClientOnceDepthFirstOnTheProgramsThread)
{
    const ChildOutcome child = RunInChild([](std::FILE *out) {
        auto *hooks = new LoggingHooks(out, nullptr);
        {
            LoggingList directory(hooks, "directory", out);
            LoggingClient leaf(&directory, "leaf", out);
            LoggingClient item(hooks, "item", out);
            std::fprintf(out, "nothing pending: ran %d\n", MW_Application::RunPendingSIGTERM());
            kill(getpid(), SIGTERM);
            kill(getpid(), SIGTERM);
            std::fprintf(out, "signalled, pending %d\n", SignalPending());
            std::fprintf(out, "ran %d\n", MW_Application::RunPendingSIGTERM());
            std::fprintf(out, "ran again %d\n", MW_Application::RunPendingSIGTERM());
            kill(getpid(), SIGTERM);
            SignalPending();
            std::fprintf(out, "third signal ran %d\n", MW_Application::RunPendingSIGTERM());
        }
        delete hooks;
        std::fprintf(out, "still running\n");
    });
    EXPECT_TRUE(child.exited);
    EXPECT_EQ(child.exitCode, 0);
    EXPECT_EQ(
        SplitLines(child.output),
        (Lines{"nothing pending: ran 0", "signalled, pending 1", "Before_SIGTERM", "leaf informed",
               "directory informed", "item informed", "M_SIGTERM", "After_SIGTERM", "ran 1",
               "ran again 0", "Before_SIGTERM", "M_SIGTERM", "After_SIGTERM", "third signal ran 1",
               "LoggingHooks destroyed", "still running"}));
}

TEST_F(Application, TracedInformingWritesEveryStep)
{
    const ChildOutcome child = RunInChild([](std::FILE *out) {
        int32_t tracing = 0;
        auto *hooks = new LoggingHooks(out, &tracing);
        LoggingClient client(hooks, "client", out);
        tracing = 1;
        raise(SIGTERM);
        MW_Application::RunPendingSIGTERM();
        std::fflush(out);
        _exit(0); // the hooks object stays, as in the program
    });
    EXPECT_EQ(SplitLines(child.output),
              (Lines{"MW_Application::C_SIGTERM", "Before_SIGTERM",
                     "MW_Application::C_SIGTERM.MySelf->SIGTERMInformRegisteredClients",
                     "client informed", "MW_Application::C_SIGTERM.MySelf->M_SIGTERM", "M_SIGTERM",
                     "MW_Application::C_SIGTERM.MySelf->After_SIGTERM", "After_SIGTERM",
                     "MW_Application::C_SIGTERM.return"}));
}

TEST_F(Application, BeforeSIGTERMRefusingStopsEverything)
{
    const ChildOutcome child = RunInChild([](std::FILE *out) {
        int32_t tracing = 0;
        auto *hooks = new LoggingHooks(out, &tracing, 1);
        LoggingClient client(hooks, "client", out);
        tracing = 1;
        raise(SIGTERM);
        const bool ran = MW_Application::RunPendingSIGTERM();
        tracing = 0;
        std::fprintf(out, "ran %d, client informed %d, still registered %u\n", ran,
                     client.Informed(), hooks->RegisteredCount());
        std::fflush(out);
        _exit(0);
    });
    EXPECT_EQ(SplitLines(child.output), (Lines{"MW_Application::C_SIGTERM", "Before_SIGTERM",
                                               "MW_Application::C_SIGTERM returned error",
                                               "ran 1, client informed 0, still registered 1"}));
}

TEST_F(Application, NormalExitDeletesTheHooksObject)
{
    const ChildOutcome child = RunInChild([](std::FILE *out) {
        static int32_t on = 1;
        new LoggingHooks(out, &on);
        std::fprintf(out, "exiting\n");
        std::exit(3);
    });
    EXPECT_TRUE(child.exited);
    EXPECT_EQ(child.exitCode, 3);
    const Lines lines = SplitLines(child.output);
    const auto exiting = std::find(lines.begin(), lines.end(), "exiting");
    ASSERT_NE(exiting, lines.end());
    EXPECT_EQ(Lines(exiting + 1, lines.end()),
              (Lines{"MW_Application::C_ATEXIT", "MW_Application::C_ATEXIT.MySelf->M_ATEXIT",
                     "MW_Application::M_ATEXIT", "MW_Application::M_ATEXIT.delete this",
                     "LoggingHooks destroyed", "MW_Application::~Application",
                     "MW_Application::~Application.DeregisterATEXITHandler",
                     "MW_Application::DeregisterATEXITHandler",
                     "MW_Application::~Application.DeregisterSIGTERMHandler",
                     "MW_Application::DeregisterSIGTERMHandler",
                     "MW_Application::DeregisterSIGTERMHandler.return",
                     "MW_Application::~Application.return"}));
}

} // namespace
