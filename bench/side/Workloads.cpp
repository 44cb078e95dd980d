// The seven workloads, ours beside the peer's. Each timed step ends by rendering the view into a
// 600 × 800 image and then letting the event loop deliver whatever either side left pending
// (relayouts, repaints), so nothing escapes the measurement.
#include "bench/side/Workloads.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "bench/side/ChildProcess.h"
#include "bench/side/Forests.h"
#include "bench/side/OursTree.h"
#include "bench/side/PeerTree.h"
#include "bench/side/Stopwatch.h"
#include "model/ObjectItem.h"
#include "toolkit/TriStateBox.h"

namespace
{
constexpr int kCaretMoves = 100;

// One pass of the event loop: what either side left pending for it (relayouts, repaints, a slice
// of idle work) is paid inside the timed step.
void Settle()
{
    QApplication::processEvents();
}

// Between timed steps: lets both sides finish whatever they left for idle moments.
void Drain()
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    QApplication::processEvents();
    for (int pass = 0; pass < 100000 && dispatcher->processEvents(QEventLoop::AllEvents); ++pass) {
    }
}

// Alternates the sides, so that a disturbance of the machine falls on both alike.
template <typename Ours, typename Peer>
void Measure(Comparison &result, int repetitions, Ours ours, Peer peer)
{
    std::vector<double> oursMs;
    std::vector<double> peerMs;
    for (int i = 0; i < repetitions; ++i) {
        oursMs.push_back(ours());
        peerMs.push_back(peer());
    }
    result.ours = MedianOf(oursMs);
    result.peer = MedianOf(peerMs);
}

void Expect(Comparison &result, bool condition, const char *what)
{
    if (!condition && result.failure.empty()) {
        result.failure = what;
    }
}

// Both sides of workloads 1, 4 and 5: a closed container of 100,000 children in row 1.
struct LargeContainer {
    LargeContainer() : peerBig(BuildLargeContainer(peer)), names(LargeContainerNames())
    {
        BuildLargeContainer(ours);
    }
    ObjectItem &OursBig() { return ours.ItemAt(1); }
    QModelIndex PeerBigIndex() { return peer.Model().IndexOf(peerBig); }
    void OpenOurs()
    {
        if (!OursBig().IsOpen()) {
            ours.Panel().Activate();
        }
        Drain();
    }
    void OpenPeer()
    {
        if (peerBig.children.empty()) {
            peer.Model().Fill(peerBig, names, false);
        }
        peer.View().expand(PeerBigIndex());
        Drain();
    }

    OursTree ours;
    PeerTree peer;
    PeerNode &peerBig;
    const std::vector<QString> names;
};

// Both sides of workloads 2 and 3.
struct MillionRows {
    MillionRows()
    {
        BuildMillionRows(ours);
        BuildMillionRows(peer);
    }
    bool OursAtLastRow()
    {
        const auto last = static_cast<int32_t>(kForestRows - 1);
        return ours.Panel().CaretRow() == last &&
               ours.Panel().TopRow() == last + 1 - ours.Panel().VisibleRows();
    }
    bool PeerAtLastRow()
    {
        const PeerNode &top = *peer.Model().Root().children.front();
        const PeerNode &last = *top.children.back()->children.back();
        const QScrollBar &bar = *peer.View().verticalScrollBar();
        return peer.View().currentIndex() == peer.Model().IndexOf(last) &&
               bar.value() == bar.maximum();
    }

    OursTree ours;
    PeerTree peer;
};

Comparison ExpandLargeContainer(LargeContainer &large, int repetitions)
{
    Comparison result("1. Expand a container of 100,000 children (random order), paint", "ms");
    Measure(
        result, repetitions,
        [&] {
            Stopwatch watch;
            large.ours.Panel().Activate();
            large.ours.Render();
            Settle();
            const double ms = watch.ElapsedMs();
            Expect(result, large.ours.Forest().TotalCount() == kLargeContainer + 2,
                   "ours did not open the container");
            large.ours.Panel().Activate(); // closes it again
            Drain();
            return ms;
        },
        [&] {
            std::vector<QString> arrived = large.names;
            Stopwatch watch;
            large.peer.Model().Fill(large.peerBig, std::move(arrived), false);
            large.peer.View().expand(large.PeerBigIndex());
            large.peer.Render();
            Settle();
            const double ms = watch.ElapsedMs();
            Expect(result, large.peerBig.children.size() == kLargeContainer,
                   "the peer did not fill the container");
            large.peer.View().collapse(large.PeerBigIndex());
            large.peer.Model().Clear(large.peerBig);
            Drain();
            return ms;
        });
    return result;
}

Comparison PaintLastScreenful(MillionRows &rows, int repetitions)
{
    Comparison result("2. Jump to the end of 1,000,000 rows, paint the last screenful", "ms");
    Measure(
        result, repetitions,
        [&] {
            rows.ours.Press(Qt::Key_Home);
            Drain();
            Stopwatch watch;
            rows.ours.Press(Qt::Key_End);
            rows.ours.Render();
            Settle();
            const double ms = watch.ElapsedMs();
            Expect(result, rows.OursAtLastRow(), "ours did not reach the last row");
            return ms;
        },
        [&] {
            rows.peer.Press(Qt::Key_Home);
            Drain();
            Stopwatch watch;
            rows.peer.Press(Qt::Key_End);
            rows.peer.Render();
            Settle();
            const double ms = watch.ElapsedMs();
            Expect(result, rows.PeerAtLastRow(), "the peer did not reach the last row");
            return ms;
        });
    return result;
}

// From the last row up 100 rows (untimed), then 100 times Down, each move painted.
template <typename Tree> double CaretMoves(Tree &tree)
{
    tree.Press(Qt::Key_End);
    for (int i = 0; i < kCaretMoves; ++i) {
        tree.Press(Qt::Key_Up);
    }
    Drain();
    Stopwatch watch;
    for (int i = 0; i < kCaretMoves; ++i) {
        tree.Press(Qt::Key_Down);
        tree.Render();
        Settle();
    }
    return watch.ElapsedMs();
}

Comparison MoveCaretAtTheBottom(MillionRows &rows, int repetitions)
{
    Comparison result("3. 100 caret moves (Down) at the bottom, each painted", "ms");
    Measure(
        result, repetitions,
        [&] {
            const double ms = CaretMoves(rows.ours);
            Expect(result, rows.OursAtLastRow(), "ours did not end at the last row");
            return ms;
        },
        [&] {
            const double ms = CaretMoves(rows.peer);
            Expect(result, rows.PeerAtLastRow(), "the peer did not end at the last row");
            return ms;
        });
    return result;
}

Comparison MarkAndClear(LargeContainer &large, int repetitions)
{
    Comparison result("4. Mark a container of 100,000, paint, count; clear it again", "ms");
    Measure(
        result, repetitions,
        [&] {
            large.OpenOurs();
            Stopwatch watch;
            large.ours.ClickBox(1, STATE_CHECK);
            large.ours.Render();
            const std::string marked = large.ours.CountsText();
            large.ours.ClickBox(1, STATE_NOCHECK);
            large.ours.Render();
            const std::string cleared = large.ours.CountsText();
            Settle();
            const double ms = watch.ElapsedMs();
            Expect(result,
                   marked == "Containers: 1, Objects: 0" &&
                       cleared == "Containers: 0, Objects: 0" && !large.OursBig().IsCovered() &&
                       large.ours.ItemAt(2).IsEnabled(),
                   "ours counted wrong");
            return ms;
        },
        [&] {
            large.OpenPeer();
            PeerModel &model = large.peer.Model();
            Stopwatch watch;
            model.setData(large.PeerBigIndex(), Qt::Checked, Qt::CheckStateRole);
            large.peer.Render();
            const auto marked = model.CountMarked();
            model.setData(large.PeerBigIndex(), Qt::Unchecked, Qt::CheckStateRole);
            large.peer.Render();
            const auto cleared = model.CountMarked();
            Settle();
            const double ms = watch.ElapsedMs();
            Expect(result,
                   marked == std::pair{1, 0} && cleared == std::pair{0, 0} &&
                       large.peerBig.children.back()->enabled,
                   "the peer counted wrong");
            return ms;
        });
    return result;
}

Comparison CollapseLargeContainer(LargeContainer &large, int repetitions)
{
    Comparison result("5. Collapse that container, paint", "ms");
    Measure(
        result, repetitions,
        [&] {
            large.OpenOurs();
            Stopwatch watch;
            large.ours.Panel().Activate();
            large.ours.Render();
            Settle();
            const double ms = watch.ElapsedMs();
            Expect(result, !large.OursBig().IsOpen() && large.ours.Forest().TotalCount() == 2,
                   "ours did not close the container");
            return ms;
        },
        [&] {
            large.OpenPeer();
            Stopwatch watch;
            large.peer.View().collapse(large.PeerBigIndex());
            large.peer.Render();
            Settle();
            const double ms = watch.ElapsedMs();
            Expect(result, !large.peer.View().isExpanded(large.PeerBigIndex()),
                   "the peer did not collapse the container");
            return ms;
        });
    return result;
}

Comparison PeakMemory(const WorkloadOptions &options)
{
    Comparison result("6. Peak memory with 1,000,000 rows shown (whole process)", "MB");
    const int runs = std::min(options.repetitions, 3);
    std::vector<double> ours;
    std::vector<double> peer;
    for (int i = 0; i < runs; ++i) {
        for (const char *side : {"ours", "peer"}) {
            const ChildRun run = RunChild(options.self, {std::string("--forest=") + side});
            const long peakKb = std::atol(run.output.c_str());
            Expect(result, run.succeeded && peakKb > 0, "a forest process failed");
            (side[0] == 'o' ? ours : peer).push_back(static_cast<double>(peakKb) / 1024.0);
        }
    }
    result.ours = MedianOf(ours);
    result.peer = MedianOf(peer);
    return result;
}

Comparison StartUp(const WorkloadOptions &options)
{
    Comparison result("7. Start-up to the first painted main window (whole process)", "ms", 1.0);
    const std::string dir = ExecutableDir();
    const std::vector<std::string> environment{"QT_QPA_PLATFORM=offscreen",
                                               "TARVIK_QUIT_AFTER_FIRST_PAINT=1"};
    std::vector<double> ours;
    std::vector<double> peer;
    for (int i = 0; i < options.processRuns; ++i) {
        const ChildRun tarvik = RunChild(dir + "/../tarvik", {"FS1"}, environment);
        const ChildRun stock = RunChild(dir + "/peer_main_window_with_splash", {}, environment);
        Expect(result, tarvik.succeeded && stock.succeeded, "a start-up process failed");
        const bool wall = Stopwatch::UsesWallClock();
        ours.push_back(wall ? tarvik.wallMs : tarvik.cpuMs);
        peer.push_back(wall ? stock.wallMs : stock.cpuMs);
    }
    result.ours = MedianOf(ours);
    result.peer = MedianOf(peer);
    return result;
}
} // namespace

void RunWorkloads(const WorkloadOptions &options,
                  const std::function<void(const Comparison &)> &report)
{
    const auto wanted = [&options](int number) {
        return options.only == 0 || options.only == number;
    };
    const int repetitions = options.repetitions;
    {
        std::unique_ptr<LargeContainer> large;
        if (wanted(1) || wanted(4) || wanted(5)) {
            large = std::make_unique<LargeContainer>();
        }
        if (wanted(1)) {
            report(ExpandLargeContainer(*large, repetitions));
        }
        if (wanted(2) || wanted(3)) {
            MillionRows rows;
            if (wanted(2)) {
                report(PaintLastScreenful(rows, repetitions));
            }
            if (wanted(3)) {
                report(MoveCaretAtTheBottom(rows, repetitions));
            }
        }
        if (wanted(4)) {
            report(MarkAndClear(*large, repetitions));
        }
        if (wanted(5)) {
            report(CollapseLargeContainer(*large, repetitions));
        }
    }
    if (wanted(6)) {
        report(PeakMemory(options));
    }
    if (wanted(7)) {
        report(StartUp(options));
    }
}

int BuildForestAndExit(const std::string &side)
{
    // Left alive on purpose: the process ends right after its peak, as the figure asks.
    if (side == "ours") {
        auto *tree = new OursTree;
        BuildMillionRows(*tree);
        tree->Press(Qt::Key_End);
        tree->Render();
    } else if (side == "peer") {
        auto *tree = new PeerTree;
        BuildMillionRows(*tree);
        tree->Press(Qt::Key_End);
        tree->Render();
    } else {
        return 2;
    }
    Settle();
    std::printf("%ld\n", PeakResidentKb());
    std::fflush(nullptr);
    std::_Exit(0);
}
