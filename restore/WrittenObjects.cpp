// Finding the loaded objects a restore added: the object's ancestors and its loaded subtree.
#include "restore/WrittenObjects.h"

#include <string>
#include <unordered_set>

#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/TreeNode.h"
#include "model/TreeWalker.h"

void WrittenObjects::ShowPresent(ObjectItem &object, int32_t status,
                                 const std::optional<RestoreReport> &written, bool withSubtree)
{
    if (written) {
        ShowReported(object, status, *written);
    } else {
        ShowRestored(object, status, withSubtree);
    }
}

void WrittenObjects::ShowReported(ObjectItem &object, int32_t status, const RestoreReport &written)
{
    std::unordered_set<std::string> added(written.added.begin(), written.added.end());
    // A failure further down a subtree leaves the object added all the same.
    const bool addedItself = !added.empty() && added.erase(object.FullName()) > 0;
    if (addedItself || status == 0) {
        object.SetPresent();
    }
    TreeNode *node = object.Node();
    if (added.empty() || node == nullptr) {
        return;
    }
    for (TreeNode *above = node->Parent(); above != nullptr && !added.empty();
         above = above->Parent()) {
        auto &ancestor = static_cast<ObjectItem &>(*above->Item());
        if (added.erase(ancestor.FullName()) > 0) {
            ancestor.SetPresent();
        }
    }
    TreeWalker walker(node->Children());
    for (DisplayItem *item = walker.NextItem(); item != nullptr && !added.empty();
         item = walker.NextItem()) {
        auto &descendant = static_cast<ObjectItem &>(*item);
        if (added.erase(descendant.FullName()) > 0) {
            descendant.SetPresent();
        }
    }
}

void WrittenObjects::ShowRestored(ObjectItem &object, int32_t status, bool withSubtree)
{
    if (status != 0) {
        return;
    }
    object.SetPresent();
    if (!withSubtree || object.Node() == nullptr) {
        return;
    }
    TreeWalker walker(object.Node()->Children());
    for (DisplayItem *item = walker.NextItem(); item != nullptr; item = walker.NextItem()) {
        static_cast<ObjectItem *>(item)->SetPresent();
    }
}
