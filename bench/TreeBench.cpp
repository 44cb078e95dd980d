// The object tree at scale: opening a container of 100,000 children delivered in random order,
// and reaching the last rows of a 1,000,000-row forest.
#include <cstdio>
#include <memory>
#include <string>

#include "bench/BenchMain.h"
#include "mwlib/MW_SIGTERMClientList.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "tests/support/core/ScriptedServer.h"
#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/TreeNode.h"
#include "model/TreeWalker.h"

namespace
{
constexpr std::size_t LargeContainer = 100000;
constexpr std::size_t ForestRows = 1000000;

// A top context and its loaded descendants, answered by the scripted server.
struct Forest {
    Forest()
    {
        script.SetLogging(false);
        forest.AppendItem(
            std::make_unique<ObjectItem>("Top", DisplayItem::ContainerKind, &client, &registry));
    }
    ObjectItem &Top() { return *static_cast<ObjectItem *>(forest.ItemAt(0)); }

    ScriptedServer script;
    BackupServer server{script};
    ServerClient client{server};
    MW_SIGTERMClientList registry;
    NodeList forest;
};

// 1 + 999 containers of 1,000 leaves each: 1,000,000 rows, all loaded.
Forest &MillionRows()
{
    static Forest *rows = [] {
        auto *made = new Forest;
        made->script.SetChildren("Top", 999, [](std::size_t i) {
            char name[16];
            std::snprintf(name, sizeof name, "Contain-%03zu", i);
            return Container(name);
        });
        made->script.SetDefaultChildren(1000, ScriptedServer::ShuffledLeaves(1000, 3));
        made->Top().Open();
        for (std::size_t i = 0; i < 999; ++i) {
            static_cast<ObjectItem *>(made->Top().Node()->Children().ElementAt(i)->Item())->Open();
        }
        return made;
    }();
    return *rows;
}

void BM_OpenContainerOf100000ShuffledChildren(benchmark::State &state)
{
    Forest tree;
    tree.script.SetChildren("Top", LargeContainer,
                            ScriptedServer::ShuffledLeaves(LargeContainer, 1));
    for (auto _ : state) {
        tree.Top().Open();
        state.PauseTiming();
        if (tree.forest.TotalCount() != LargeContainer + 1) {
            state.SkipWithError("wrong number of rows");
        }
        tree.Top().Close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenContainerOf100000ShuffledChildren)->Unit(benchmark::kMillisecond);

void BM_CloseContainerOf100000Children(benchmark::State &state)
{
    Forest tree;
    tree.script.SetChildren("Top", LargeContainer,
                            ScriptedServer::ShuffledLeaves(LargeContainer, 1));
    for (auto _ : state) {
        state.PauseTiming();
        tree.Top().Open();
        state.ResumeTiming();
        tree.Top().Close();
    }
}
BENCHMARK(BM_CloseContainerOf100000Children)->Unit(benchmark::kMillisecond);

void BM_ItemAtRow999999(benchmark::State &state)
{
    const NodeList &forest = MillionRows().forest;
    if (forest.TotalCount() != ForestRows) {
        state.SkipWithError("wrong number of rows");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(forest.ItemAt(ForestRows - 1));
    }
}
BENCHMARK(BM_ItemAtRow999999);

void BM_WalkerStartedAtTheLastRow(benchmark::State &state)
{
    const NodeList &forest = MillionRows().forest;
    for (auto _ : state) {
        TreeWalker walker(forest, ForestRows - 1);
        benchmark::DoNotOptimize(walker.NextNode());
    }
}
BENCHMARK(BM_WalkerStartedAtTheLastRow);

// What painting a screen near the end costs: a walker at row n, then 50 rows.
void BM_ScreenfulOf50RowsNearTheEnd(benchmark::State &state)
{
    const NodeList &forest = MillionRows().forest;
    for (auto _ : state) {
        TreeWalker walker(forest, ForestRows - 60);
        for (int i = 0; i < 50; ++i) {
            benchmark::DoNotOptimize(walker.NextItem());
        }
    }
}
BENCHMARK(BM_ScreenfulOf50RowsNearTheEnd);

void BM_RowOfTheLastNode(benchmark::State &state)
{
    const NodeList &forest = MillionRows().forest;
    TreeNode *last = forest.NodeAt(ForestRows - 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(forest.RowOf(*last));
    }
}
BENCHMARK(BM_RowOfTheLastNode);
} // namespace

// Object items load their bitmaps, which needs the GUI application; no screen is needed.
TARVIK_GUI_BENCHMARK_MAIN()
