// Our side of the side-by-side benchmark: the tree view's panel, 600 × 800 pixels and shown on the
// offscreen platform, with the main window's tree reactions, over forests that the scripted
// server delivers through the backup-server interface. Every object item is a termination client
// of a registry, as in the program.
#pragma once

#include <QImage>
#include <cstdint>
#include <string>

#include "model/NodeList.h"
#include "model/RestoreSelection.h"
#include "mwlib/MW_SIGTERMClientList.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "session/ServerSession.h"
#include "tests/support/core/ScriptedServer.h"
#include "toolkit/Window.h"
#include "tree/HistoryViewReactions.h"
#include "tree/OutlinePanel.h"
#include "tree/TreeViewReactions.h"
#include "tree/TreeViewReactionsHost.h"

class ObjectItem;

class OursTree : private TreeViewReactionsHost
{
  public:
    OursTree();
    ~OursTree() override;

    ScriptedServer &Script() { return script_; }
    // Re-roots the tree at a top context and opens it, as the main window does.
    void Root(const std::string &name);
    // Opens every container among the top context's children (a quick way to build a forest).
    void OpenChildrenOfTop();
    ObjectItem &ItemAt(int32_t row);

    OutlinePanel &Panel() { return panel_; }
    TreeViewReactions &Tree() { return tree_; }
    NodeList &Forest() { return forest_; }
    std::string CountsText() const;

    void Render(); // the whole panel into a 600 × 800 image
    void Press(int qtKey);
    // A click on the check box of a visible row that leaves it in the given state.
    void ClickBox(int32_t row, int state);

  private:
    void EnableClearSubtree(bool) override {}
    Window *QueryParent() override { return &host_; }

    ScriptedServer script_;
    BackupServer server_;
    ServerClient client_{server_};
    MW_SIGTERMClientList registry_; // outlives the items that registered with it
    ServerSession session_{&client_, &registry_, [] { return nullptr; }};
    NodeList forest_;
    NodeList versions_;
    RestoreSelection selection_{forest_};
    Window host_;
    OutlinePanel panel_;
    Window historyHost_; // never shown: the benchmark looks at the tree view only
    OutlinePanel historyPanel_;
    HistoryViewReactions history_;
    TreeViewReactions tree_;
    QImage image_;
};
