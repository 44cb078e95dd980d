// The yardstick for the tree view: the small item model that a Qt program would write for a
// directory tree with check boxes, children held in vectors and each node knowing its row, shown
// by a stock QTreeView.
#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

struct PeerNode {
    PeerNode(QString name, bool container, PeerNode *parent, int row)
        : name(std::move(name)), parent(parent), row(row), container(container)
    {
    }
    PeerNode(const PeerNode &) = delete;
    PeerNode &operator=(const PeerNode &) = delete;

    QString name;
    PeerNode *parent;
    int row;
    Qt::CheckState check = Qt::Unchecked;
    bool enabled = true;
    bool container;
    std::vector<std::unique_ptr<PeerNode>> children;
};

class PeerModel : public QAbstractItemModel
{
  public:
    PeerModel();
    ~PeerModel() override;

    // The invisible root; its children are the top level.
    PeerNode &Root() { return root_; }
    QModelIndex IndexOf(const PeerNode &node) const;
    // Sorts the names and makes them the children of node (which has none yet).
    void Fill(PeerNode &node, std::vector<QString> names, bool containers);
    // Removes the children of node.
    void Clear(PeerNode &node);
    // Marks a node; its descendants take Checked and disabled, or Unchecked and enabled.
    void Mark(PeerNode &node, Qt::CheckState state);
    // Marked and enabled nodes, containers and others; a checked container covers its subtree.
    std::pair<int, int> CountMarked() const;

    QModelIndex index(int row, int column, const QModelIndex &parent) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent) const override;
    int columnCount(const QModelIndex &parent) const override;
    bool hasChildren(const QModelIndex &parent) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

  private:
    const PeerNode &NodeOf(const QModelIndex &index) const;

    PeerNode root_;
    QIcon containerIcon_;
    QIcon leafIcon_;
};
