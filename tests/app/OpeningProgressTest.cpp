// Opening a server whose catalogue takes a while to index: the window goes on, the progress
// window comes after half a second with what the server says, and Stop reaches the server's
// indexing, which ends; the opening's result is the server's.
#include <gmock/gmock.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <atomic>

#include "app/OpeningProgress.h"
#include "server/BackupServer.h"
#include "tests/support/core/ScriptedServer.h"
#include "toolkit/EventWait.h"
#include "toolkit/ProgressWindow.h"

namespace
{
// Indexes until it is told to stop, saying how far it is.
class IndexingServer : public ScriptedServer
{
  public:
    void WatchOpening(const OpenProgress &progress) override { progress_ = progress; }
    int32_t Open(const char *) override
    {
        for (uint64_t done = 0; progress_.stop == nullptr || !progress_.stop->load(); ++done) {
            if (progress_.report) {
                progress_.report("Indexing snapshot 1 of 1: 1700000000.ldif.gz", done % 1000,
                                 1000);
            }
            ++reports;
        }
        stopped = true;
        return 7;
    }

    std::atomic<uint64_t> reports{0};
    std::atomic<bool> stopped{false};

  private:
    OpenProgress progress_;
};

TEST(OpeningProgress, ShowsTheIndexingAndStopEndsIt)
{
    IndexingServer backend;
    BackupServer server(backend);
    OpeningProgress opening(server);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(10);
    std::string text;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const ProgressWindow *window = opening.Progress();
        if (window != nullptr && window->IsVisible() && text.empty()) {
            text = window->Text();
            QTest::mouseClick(window->StopButton(), Qt::LeftButton);
        }
    });
    watch.start(20);
    const int result = opening.Run([&] { return server.Open("DIR1"); });
    ticker.stop();
    watch.stop();

    EXPECT_EQ(result, 7);
    EXPECT_TRUE(backend.stopped);
    EXPECT_EQ(text, "Indexing snapshot 1 of 1: 1700000000.ldif.gz");
    EXPECT_GT(ticks, 10); // the event loop went on while the server indexed
    ASSERT_NE(opening.Progress(), nullptr);
    EXPECT_FALSE(opening.Progress()->IsVisible());
}

// An opening that is over at once shows nothing.
TEST(OpeningProgress, QuickOpeningShowsNoWindow)
{
    ScriptedServer backend;
    BackupServer server(backend);
    OpeningProgress opening(server);
    EXPECT_EQ(opening.Run([&] { return server.Open("FS1"); }), 0);
    EXPECT_EQ(opening.Progress(), nullptr);
}
} // namespace
