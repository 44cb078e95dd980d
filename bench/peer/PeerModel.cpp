// The peer's item model: nodes in vectors, O(1) index and parent, check states that a container
// passes on to its descendants.
#include "bench/peer/PeerModel.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>

namespace
{
// The same sizes as the program's object bitmaps, so both sides draw as many pixels.
QIcon MakeIcon(int width, QColor colour)
{
    QPixmap pixmap(width, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.fillRect(1, 1, width - 2, 10, colour);
    return QIcon(pixmap);
}

void SetBelow(PeerNode &node, Qt::CheckState state, bool enabled)
{
    for (auto &child : node.children) {
        child->check = state;
        child->enabled = enabled;
        SetBelow(*child, state, enabled);
    }
}

void Count(const PeerNode &node, std::pair<int, int> &counts)
{
    for (const auto &child : node.children) {
        const bool counted = child->check != Qt::Unchecked && child->enabled;
        if (counted) {
            (child->container ? counts.first : counts.second) += 1;
        }
        if (!(counted && child->check == Qt::Checked)) {
            Count(*child, counts);
        }
    }
}
} // namespace

PeerModel::PeerModel()
    : root_(QString(), true, nullptr, 0), containerIcon_(MakeIcon(16, Qt::darkYellow)),
      leafIcon_(MakeIcon(12, Qt::darkBlue))
{
}

PeerModel::~PeerModel() = default;

QModelIndex PeerModel::IndexOf(const PeerNode &node) const
{
    return node.parent == nullptr ? QModelIndex()
                                  : createIndex(node.row, 0, const_cast<PeerNode *>(&node));
}

void PeerModel::Fill(PeerNode &node, std::vector<QString> names, bool containers)
{
    std::sort(names.begin(), names.end());
    const int count = static_cast<int>(names.size());
    if (count == 0) {
        return;
    }
    beginInsertRows(IndexOf(node), 0, count - 1);
    node.children.reserve(names.size());
    const bool covered = node.check == Qt::Checked;
    for (int row = 0; row < count; ++row) {
        auto child = std::make_unique<PeerNode>(std::move(names[row]), containers, &node, row);
        child->check = covered ? Qt::Checked : Qt::Unchecked;
        child->enabled = !covered;
        node.children.push_back(std::move(child));
    }
    endInsertRows();
}

void PeerModel::Clear(PeerNode &node)
{
    if (node.children.empty()) {
        return;
    }
    beginRemoveRows(IndexOf(node), 0, static_cast<int>(node.children.size()) - 1);
    node.children.clear();
    endRemoveRows();
}

void PeerModel::Mark(PeerNode &node, Qt::CheckState state)
{
    node.check = state;
    const bool covered = state == Qt::Checked;
    SetBelow(node, covered ? Qt::Checked : Qt::Unchecked, !covered);
    const QModelIndex index = IndexOf(node);
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    if (!node.children.empty()) {
        Q_EMIT dataChanged(this->index(0, 0, index),
                           this->index(static_cast<int>(node.children.size()) - 1, 0, index),
                           {Qt::CheckStateRole});
    }
}

std::pair<int, int> PeerModel::CountMarked() const
{
    std::pair<int, int> counts{0, 0};
    Count(root_, counts);
    return counts;
}

const PeerNode &PeerModel::NodeOf(const QModelIndex &index) const
{
    return index.isValid() ? *static_cast<const PeerNode *>(index.internalPointer()) : root_;
}

QModelIndex PeerModel::index(int row, int column, const QModelIndex &parent) const
{
    const PeerNode &node = NodeOf(parent);
    if (column != 0 || row < 0 || row >= static_cast<int>(node.children.size())) {
        return {};
    }
    return createIndex(row, 0, node.children[static_cast<std::size_t>(row)].get());
}

QModelIndex PeerModel::parent(const QModelIndex &child) const
{
    if (!child.isValid()) {
        return {};
    }
    return IndexOf(*NodeOf(child).parent);
}

int PeerModel::rowCount(const QModelIndex &parent) const
{
    return parent.column() > 0 ? 0 : static_cast<int>(NodeOf(parent).children.size());
}

int PeerModel::columnCount(const QModelIndex &) const
{
    return 1;
}

bool PeerModel::hasChildren(const QModelIndex &parent) const
{
    return !NodeOf(parent).children.empty();
}

QVariant PeerModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid()) {
        return {};
    }
    const PeerNode &node = NodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
        return node.name;
    case Qt::CheckStateRole:
        return node.check;
    case Qt::DecorationRole:
        return node.container ? containerIcon_ : leafIcon_;
    default:
        return {};
    }
}

bool PeerModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole) {
        return false;
    }
    Mark(const_cast<PeerNode &>(NodeOf(index)), static_cast<Qt::CheckState>(value.toInt()));
    return true;
}

Qt::ItemFlags PeerModel::flags(const QModelIndex &index) const
{
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    const PeerNode &node = NodeOf(index);
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    if (node.enabled) {
        flags |= Qt::ItemIsEnabled;
    }
    if (node.container) {
        flags |= Qt::ItemIsUserTristate;
    }
    return flags;
}
