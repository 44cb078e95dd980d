// Builds the benchmark's forests: ours through the scripted server, the peer's into its model.
#include "bench/side/Forests.h"

#include <QApplication>

#include "bench/side/OursTree.h"
#include "bench/side/PeerTree.h"

namespace
{
constexpr unsigned kShuffleSeed = 1;

std::string ContainerName(std::size_t i)
{
    return "C-" + std::to_string(1000 + i);
}

std::string LeafName(std::size_t i)
{
    return "Leaf-" + std::to_string(1000 + i);
}

template <typename Name> std::vector<QString> Names(std::size_t count, Name name)
{
    std::vector<QString> names;
    names.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        names.push_back(QString::fromStdString(name(i))); // a string of its own for each node
    }
    return names;
}
} // namespace

void BuildMillionRows(OursTree &tree)
{
    tree.Script().SetChildren("Top", kForestContainers,
                              [](std::size_t i) { return Container(ContainerName(i)); });
    tree.Script().SetDefaultChildren(kForestLeaves,
                                     [](std::size_t i) { return Leaf(LeafName(i)); });
    tree.Root("Top");
    tree.OpenChildrenOfTop();
}

void BuildMillionRows(PeerTree &tree)
{
    PeerModel &model = tree.Model();
    model.Fill(model.Root(), {QStringLiteral("Top")}, true);
    PeerNode &top = *model.Root().children.front();
    model.Fill(top, Names(kForestContainers, ContainerName), true);
    for (auto &container : top.children) {
        model.Fill(*container, Names(kForestLeaves, LeafName), false);
    }
    tree.View().expandAll();
    tree.View().setCurrentIndex(model.IndexOf(top)); // where our caret starts too
    QApplication::processEvents();
}

void BuildLargeContainer(OursTree &tree)
{
    tree.Script().SetChildren("Top", {Container("Big")});
    tree.Script().SetChildren("Big.Top", kLargeContainer,
                              ScriptedServer::ShuffledLeaves(kLargeContainer, kShuffleSeed));
    tree.Root("Top");
    tree.Panel().SelectRow(1);
    QApplication::processEvents();
}

PeerNode &BuildLargeContainer(PeerTree &tree)
{
    PeerModel &model = tree.Model();
    model.Fill(model.Root(), {QStringLiteral("Top")}, true);
    PeerNode &top = *model.Root().children.front();
    model.Fill(top, {QStringLiteral("Big")}, true);
    tree.View().expand(model.IndexOf(top));
    PeerNode &big = *top.children.front();
    tree.View().setCurrentIndex(model.IndexOf(big));
    QApplication::processEvents();
    return big;
}

std::vector<QString> LargeContainerNames()
{
    const auto generate = ScriptedServer::ShuffledLeaves(kLargeContainer, kShuffleSeed);
    return Names(kLargeContainer, [&generate](std::size_t i) { return generate(i).name; });
}
