// The tree view's pictures follow the object's container, present and open flags.
#include <gtest/gtest.h>

#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/TreeNode.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "tests/support/core/ScriptedServer.h"
#include "tree/ObjectPictures.h"

TEST(ObjectPictures, FollowContainerPresentAndOpenFlags)
{
    ScriptedServer script;
    BackupServer server(script);
    ServerClient client(server);
    NodeList forest;
    script.SetChildren(
        "Sales", {Leaf("a"), Leaf("b", false), Container("c"), Container("d", false), Leaf("e")});
    forest.AppendItem(
        std::make_unique<ObjectItem>("Sales", DisplayItem::ContainerKind, &client, nullptr));
    auto &top = *static_cast<ObjectItem *>(forest.ItemAt(0));
    top.Open();
    const auto child = [&top](std::size_t i) -> ObjectItem & {
        return *static_cast<ObjectItem *>(top.Node()->Children().ElementAt(i)->Item());
    };
    EXPECT_EQ(ObjectPictures::IdOf(top), ResId(257));      // CONOPRES
    EXPECT_EQ(ObjectPictures::IdOf(child(0)), ResId(259)); // objprese
    EXPECT_EQ(ObjectPictures::IdOf(child(1)), ResId(258)); // objdelet
    EXPECT_EQ(ObjectPictures::IdOf(child(2)), ResId(261)); // CONCPRES
    EXPECT_EQ(ObjectPictures::IdOf(child(3)), ResId(260)); // CONCDELE
    // One picture per id, loaded once for all rows (empty where the resources are not installed).
    EXPECT_EQ(&ObjectPictures::Of(child(0)), &ObjectPictures::Of(child(4)));
    EXPECT_NE(&ObjectPictures::Of(child(0)), &ObjectPictures::Of(child(1)));
    child(3).Open();
    EXPECT_EQ(ObjectPictures::IdOf(child(3)), ResId(256)); // CONODELE
    top.Close();
    EXPECT_EQ(ObjectPictures::IdOf(top), ResId(261));
}
