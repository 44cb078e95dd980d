// What a restore run asks of the window that holds the tree view.
#pragma once

class Window;

class RestoreRunHost
{
  public:
    virtual ~RestoreRunHost() = default;
    virtual Window *DialogParent() = 0;
    // After the walk: the tree view, the selected object's history and the counts again.
    virtual void AfterRestoreRun() = 0;
};
