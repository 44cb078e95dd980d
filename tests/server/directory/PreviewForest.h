// The tree as the window holds it over a server, with the containers a test opens, to mark
// objects and preview a run over them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/RestorePreview.h"
#include "model/RestoreSelection.h"
#include "run/PreviewWalk.h"
#include "server/ServerClient.h"

class PreviewForest
{
  protected:
    // The top context, then each container in turn, opened as a user would.
    void Load(BackupServer &server, const std::string &top,
              const std::vector<std::string> &containers)
    {
        client = std::make_unique<ServerClient>(server);
        topName = top;
        forest.AppendItem(
            std::make_unique<ObjectItem>(top, DisplayItem::ContainerKind, client.get(), nullptr));
        for (const std::string &name : containers) {
            ASSERT_EQ(At(name).Open(), ObjectItem::OpenResult::Opened) << name;
        }
    }
    ObjectItem &At(const std::string &name)
    {
        ObjectItem *object = name == topName ? static_cast<ObjectItem *>(forest.ItemAt(0))
                                             : selection.FindLoaded(name);
        EXPECT_NE(object, nullptr) << name;
        return *object;
    }
    // "full name: action", one per object of the run, in its order.
    std::vector<std::string> Preview()
    {
        std::vector<std::string> lines;
        for (const PreviewLine &line : PreviewWalk(selection).Build()) {
            lines.push_back(line.name + ": " + RestorePreview::ActionText(line));
        }
        return lines;
    }

    std::unique_ptr<ServerClient> client;
    std::string topName;
    NodeList forest;
    RestoreSelection selection{forest};
};
