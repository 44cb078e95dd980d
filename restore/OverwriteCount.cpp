// Counting the present objects below present containers that are marked with their subtrees.
#include "restore/OverwriteCount.h"

#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/TreeNode.h"
#include "model/TreeWalker.h"

OverwriteCount OverwriteCount::Of(const NodeList &forest)
{
    OverwriteCount count;
    TreeWalker walker(forest);
    DisplayItem *item = walker.NextItem();
    while (item != nullptr) {
        const auto &object = static_cast<const ObjectItem &>(*item);
        const bool covers = object.GetCheckState() == Marked && object.IsEnabled();
        if (covers && object.IsContainer() && object.IsPresent() && object.Node() != nullptr) {
            ++count.presentContainers;
            count.notOpened += object.IsOpen() ? 0 : 1;
            TreeWalker below(object.Node()->Children());
            for (DisplayItem *child = below.NextItem(); child != nullptr;
                 child = below.NextItem()) {
                const auto &loaded = static_cast<const ObjectItem &>(*child);
                count.loadedPresentBelow += loaded.IsPresent() ? 1 : 0;
                count.notOpened +=
                    loaded.IsPresent() && loaded.IsContainer() && !loaded.IsOpen() ? 1 : 0;
            }
        }
        // Nothing below an unmarked object without marks, or a covering one, is marked apart.
        const bool skip = covers || object.MarkedBelow() == 0;
        item = skip ? walker.NextItemOutsideSubtree() : walker.NextItem();
    }
    return count;
}
