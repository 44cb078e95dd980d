// The marking rules on a forest of directory objects, and the walk of a restore run.
#include "model/RestoreSelection.h"

#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/TreeNode.h"

namespace
{
ObjectItem &ObjectOf(const TreeNode &node)
{
    return *static_cast<ObjectItem *>(node.Item());
}

// The node of list (or below it) whose full name is fullName, where every name of the list is
// followed by suffix. Names may hold dots themselves, so each way of splitting is tried.
ObjectItem *FindIn(const NodeList &list, std::string_view fullName, std::string_view suffix)
{
    if (fullName.size() < suffix.size() ||
        fullName.substr(fullName.size() - suffix.size()) != suffix) {
        return nullptr;
    }
    const std::string_view rest = fullName.substr(0, fullName.size() - suffix.size());
    for (std::size_t i = 0; i < list.Count(); ++i) {
        TreeNode &node = *list.ElementAt(i);
        const std::string &name = node.Item()->StoredText();
        if (rest.size() < name.size() || rest.substr(rest.size() - name.size()) != name) {
            continue;
        }
        if (rest.size() == name.size()) {
            return &ObjectOf(node);
        }
        if (rest[rest.size() - name.size() - 1] != '.') {
            continue;
        }
        const std::string below = "." + name + std::string(suffix);
        if (ObjectItem *found = FindIn(node.Children(), fullName, below)) {
            return found;
        }
    }
    return nullptr;
}
} // namespace

RestoreSelection::RestoreSelection(NodeList &forest) : forest_(forest) {}

bool RestoreSelection::Mark(ObjectItem &object, CheckState state)
{
    if (object.IsCovered()) {
        return false;
    }
    if (object.Node() != nullptr) {
        DropMarksBelow(*object.Node());
    }
    object.SetCheckState(state);
    if (state == Marked) {
        object.SetChosenVersion(0);
    }
    return true;
}

bool RestoreSelection::Clear(ObjectItem &object)
{
    if (!HasMarks(object)) {
        return false;
    }
    if (object.Node() != nullptr) {
        DropMarksBelow(*object.Node());
    }
    object.SetCheckState(Unmarked);
    return true;
}

// Only the paths that lead to marks are visited.
void RestoreSelection::DropMarksBelow(TreeNode &node)
{
    if (node.Item() == nullptr || node.Item()->MarkedBelow() == 0) {
        return;
    }
    TreeWalker walker(node.Children());
    for (TreeNode *below = walker.NextNode(); below != nullptr;) {
        DisplayItem &item = *below->Item();
        if (item.OwnCheckState() != Unmarked) {
            item.SetCheckState(Unmarked);
        }
        below = item.MarkedBelow() > 0 ? walker.NextNode() : walker.NextNodeOutsideSubtree();
    }
}

bool RestoreSelection::HasMarks(const ObjectItem &object) const
{
    return object.GetCheckState() != Unmarked || HasMarkedDescendant(object);
}

bool RestoreSelection::HasMarks() const
{
    for (std::size_t i = 0; i < forest_.Count(); ++i) {
        const DisplayItem &top = *forest_.ElementAt(i)->Item();
        if (top.OwnCheckState() != Unmarked || top.MarkedBelow() > 0) {
            return true;
        }
    }
    return false;
}

bool RestoreSelection::HasMarkedDescendant(const ObjectItem &object) const
{
    if (object.MarkedBelow() > 0) {
        return true;
    }
    const bool loadedBelow = object.Node() != nullptr && object.Node()->Children().Count() > 0;
    return loadedBelow && object.GetCheckState() == Marked;
}

bool RestoreSelection::ClosingLosesMarks(const ObjectItem &object) const
{
    return object.GetCheckState() != Marked && object.MarkedBelow() > 0;
}

bool RestoreSelection::CanClearSubtree(const ObjectItem &object) const
{
    return object.IsEnabled() && object.IsContainer() && object.IsOpen() &&
           HasMarkedDescendant(object);
}

bool RestoreSelection::MostRecentOnly(const ObjectItem &object) const
{
    return !object.IsEnabled() || (object.IsContainer() && object.GetCheckState() == Marked);
}

void RestoreSelection::ChooseVersion(ObjectItem &object, BackupTime version)
{
    object.SetChosenVersion(version);
}

// A Marked container holds no marks below it, and a subtree without marks has nothing to count:
// the walk passes over both.
MarkCounts RestoreSelection::Counts() const
{
    MarkCounts counts;
    TreeWalker walker(forest_);
    for (TreeNode *node = walker.NextNode(); node != nullptr;) {
        const ObjectItem &object = ObjectOf(*node);
        const CheckState own = object.OwnCheckState();
        if (own != Unmarked && object.IsEnabled()) {
            (object.IsContainer() ? counts.containers : counts.objects) += 1;
        }
        const bool passOver = own == Marked || object.MarkedBelow() == 0;
        node = passOver ? walker.NextNodeOutsideSubtree() : walker.NextNode();
    }
    return counts;
}

ObjectItem *RestoreSelection::FindLoaded(std::string_view fullName) const
{
    return FindIn(forest_, fullName, "");
}

RestoreSelection::RunOrder::RunOrder(const NodeList &forest) : walker_(forest) {}

TreeNode *RestoreSelection::RunOrder::Advance(bool intoSubtree)
{
    return intoSubtree ? walker_.NextNode() : walker_.NextNodeOutsideSubtree();
}

RestoreSelection::RunOrder::Step RestoreSelection::RunOrder::Next()
{
    TreeNode *node = started_ ? Advance(intoCurrent_) : walker_.NextNode();
    started_ = true;
    while (node != nullptr) {
        ObjectItem &object = ObjectOf(*node);
        intoCurrent_ = object.MarkedBelow() > 0; // the walk goes only where marks are
        if (object.OwnCheckState() != Unmarked && object.IsEnabled()) {
            current_ = node;
            return {&object, object.OwnCheckState(), object.ChosenVersion()};
        }
        node = Advance(intoCurrent_);
    }
    current_ = nullptr;
    return {};
}

void RestoreSelection::RunOrder::Restored()
{
    if (current_ != nullptr) {
        ObjectItem &object = ObjectOf(*current_);
        object.SetCheckState(Unmarked);
        intoCurrent_ = object.MarkedBelow() > 0;
    }
}

void RestoreSelection::RunOrder::Failed()
{
    intoCurrent_ = false;
}
