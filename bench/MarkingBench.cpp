// Marking a container with 100,000 loaded descendants in the tree view and clearing it again,
// each as one click on the container's check box: the descendants take the container's child
// defaults, the check column and the history title are refreshed and the counts recomputed.
#include <memory>

#include "app/MainWindow.h"
#include "bench/BenchMain.h"
#include "model/ObjectItem.h"
#include "res/ResourceIds.h"
#include "res/TarvikResources.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "server/ServerLogin.h"
#include "tests/support/core/ScriptedServer.h"
#include "toolkit/MenuBar.h"
#include "toolkit/TriStateBox.h"

namespace
{

constexpr std::size_t kDescendants = 100000;

// Marrowby with one open container "Big" of 100,000 leaves, row 1 of the tree view.
struct Window {
    Window() : server(script), login(server)
    {
        InstallTarvikResources();
        script.SetLogging(false);
        script.SetChildren("Marrowby", {Container("Big")});
        script.SetChildren("Big.Marrowby", kDescendants,
                           ScriptedServer::ShuffledLeaves(kDescendants, 7));
        menuBar = std::make_unique<MenuBar>(ResId(kMenuMain));
        window = std::make_unique<MainWindow>(menuBar.get(), &client, &name, &login, nullptr);
        window->InitChildren();
        window->TreePanel().SelectRow(1);
        window->TreeReactions().OpenHdl(window->TreePanel());
    }
    // A click on the container's box that leaves it in the given state.
    // The panel catches up at once (in the program, at the next pass of the event loop).
    void ClickTo(int state)
    {
        auto *box = static_cast<TriStateBox *>(window->TreePanel().GetCheckColumn().Box(1));
        box->SetState(state);
        box->Click();
        window->TreePanel().Refresh();
    }

    ScriptedServer script;
    BackupServer server;
    ServerClient client{server};
    ServerLogin login;
    std::string name = "FS1";
    std::unique_ptr<MenuBar> menuBar;
    std::unique_ptr<MainWindow> window;
};

Window &TheWindow()
{
    static Window window;
    return window;
}

void BM_MarkContainer(benchmark::State &state)
{
    Window &w = TheWindow();
    for (auto _ : state) {
        w.ClickTo(STATE_CHECK);
        state.PauseTiming();
        w.ClickTo(STATE_NOCHECK);
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(w.window->ObjectForest().TotalCount());
}
BENCHMARK(BM_MarkContainer)->Unit(benchmark::kMillisecond);

void BM_ClearContainer(benchmark::State &state)
{
    Window &w = TheWindow();
    for (auto _ : state) {
        state.PauseTiming();
        w.ClickTo(STATE_CHECK);
        state.ResumeTiming();
        w.ClickTo(STATE_NOCHECK);
    }
}
BENCHMARK(BM_ClearContainer)->Unit(benchmark::kMillisecond);

// The counts alone, over 100,001 rows with nothing marked (nothing below to visit).
void BM_CountMarked(benchmark::State &state)
{
    Window &w = TheWindow();
    w.ClickTo(STATE_NOCHECK);
    for (auto _ : state) {
        benchmark::DoNotOptimize(w.window->Selection().Counts());
    }
}
BENCHMARK(BM_CountMarked)->Unit(benchmark::kMillisecond);

} // namespace

TARVIK_GUI_BENCHMARK_MAIN();
