// What the tree view's reactions ask of the window that holds the panels.
#pragma once

class Window;

class TreeViewReactionsHost
{
  public:
    virtual ~TreeViewReactionsHost() = default;
    virtual void EnableClearSubtree(bool enable) = 0;
    virtual Window *QueryParent() = 0; // the parent of the questions the reactions ask
};
