// The tree view with a forest of a million loaded rows from the scripted server: painting the
// last screenful, caret moves at the bottom, and opening and closing a container near the bottom
// must cost what they cost at the top.
#include <QImage>
#include <QWidget>
#include <memory>

#include "bench/BenchMain.h"
#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/TreeNode.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "tests/support/core/ScriptedServer.h"
#include "toolkit/Window.h"
#include "tree/ObjectPictures.h"
#include "tree/OutlinePanel.h"

namespace
{

constexpr int kContainers = 1000;
constexpr int kLeaves = 999; // 1 + 1000 + 1000 × 999 = 1,000,001 rows

// Built once: a top context with 1000 open containers of 999 leaves each.
struct Forest {
    Forest() : server(script), host(nullptr), panel(&host, true, CheckMode::ThreeState, &list)
    {
        script.SetLogging(false);
        script.SetChildren("Top", kContainers, [](std::size_t i) {
            return Container("C-" + std::to_string(1000 + i));
        });
        script.SetDefaultChildren(
            kLeaves, [](std::size_t i) { return Leaf("Leaf-" + std::to_string(1000 + i)); });
        auto top =
            std::make_unique<ObjectItem>("Top", DisplayItem::ContainerKind, &client, nullptr);
        ObjectItem &topItem = *top;
        list.AppendItem(std::move(top));
        topItem.Open();
        NodeList &containers = topItem.Node()->Children();
        for (std::size_t i = 0; i < containers.Count(); ++i) {
            static_cast<ObjectItem *>(containers.ElementAt(i)->Item())->Open();
        }
        panel.SetPictureHdl(ObjectPictures::Of);
        panel.ShowPanel();
        host.Show();
        host.SetSizePixel({600, 800});
        panel.SetPosSizePixel({0, 0}, {600, 800});
        panel.Resize();
        QApplication::processEvents();
    }

    ScriptedServer script;
    BackupServer server;
    ServerClient client{server};
    NodeList list;
    Window host;
    OutlinePanel panel;
};

Forest &TheForest()
{
    static Forest forest;
    return forest;
}

// Outside the event loop the panel catches up with the forest first, as a pass would.
void Render(OutlinePanel &panel, QImage &image)
{
    panel.Refresh();
    panel.GetRowArea().Widget()->render(&image);
}

void BM_PaintScreenful(benchmark::State &state)
{
    Forest &forest = TheForest();
    const bool atBottom = state.range(0) != 0;
    forest.panel.MoveCaretTo(atBottom ? static_cast<int32_t>(forest.list.TotalCount() - 1) : 0);
    QImage image(forest.panel.GetRowArea().Widget()->size(), QImage::Format_ARGB32);
    for (auto _ : state) {
        Render(forest.panel, image);
    }
    state.counters["top row"] = forest.panel.TopRow();
}
BENCHMARK(BM_PaintScreenful)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// 100 caret moves, each repainting the rows it touches, near the top or the bottom.
void BM_HundredCaretMoves(benchmark::State &state)
{
    Forest &forest = TheForest();
    const bool atBottom = state.range(0) != 0;
    const int32_t last = static_cast<int32_t>(forest.list.TotalCount() - 1);
    for (auto _ : state) {
        forest.panel.MoveCaretTo(atBottom ? last : 0);
        for (int i = 0; i < 100; ++i) {
            forest.panel.MoveCaretBy(atBottom ? -1 : 1);
        }
    }
}
BENCHMARK(BM_HundredCaretMoves)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same, each move followed by rendering the whole panel into an image.
void BM_HundredCaretMovesRendered(benchmark::State &state)
{
    Forest &forest = TheForest();
    const int32_t last = static_cast<int32_t>(forest.list.TotalCount() - 1);
    QImage image(forest.panel.Widget()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        forest.panel.MoveCaretTo(last);
        for (int i = 0; i < 100; ++i) {
            forest.panel.MoveCaretBy(-1);
            forest.panel.Widget()->render(&image);
        }
    }
}
BENCHMARK(BM_HundredCaretMovesRendered)->Unit(benchmark::kMillisecond);

void BM_RenderPart(benchmark::State &state)
{
    Forest &forest = TheForest();
    QWidget *parts[] = {forest.panel.Widget(), forest.panel.GetRowArea().Widget(),
                        forest.panel.GetCheckColumn().Widget(), forest.panel.GetTitleBar().Widget(),
                        forest.panel.GetScrollBar().Widget()};
    QWidget *part = parts[state.range(0)];
    QImage image(forest.panel.Widget()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        part->render(&image);
    }
}
BENCHMARK(BM_RenderPart)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// Close the last container and open it again (999 children from the server), then repaint.
void BM_CloseAndOpenNearBottom(benchmark::State &state)
{
    Forest &forest = TheForest();
    NodeList &containers = forest.list.ElementAt(0)->Children();
    auto *lastContainer =
        static_cast<ObjectItem *>(containers.ElementAt(containers.Count() - 1)->Item());
    const int32_t row = static_cast<int32_t>(forest.list.RowOf(*lastContainer->Node()));
    forest.panel.SelectRow(row);
    QImage image(forest.panel.GetRowArea().Widget()->size(), QImage::Format_ARGB32);
    for (auto _ : state) {
        lastContainer->Close();
        lastContainer->Open();
        Render(forest.panel, image);
    }
}
BENCHMARK(BM_CloseAndOpenNearBottom)->Unit(benchmark::kMillisecond);

} // namespace

TARVIK_GUI_BENCHMARK_MAIN();
