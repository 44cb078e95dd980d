// What a restore run asks of the window that holds the tree view.
#pragma once

#include <string>

class RunJournal;
class ServerSession;
class Window;

class RestoreRunHost
{
  public:
    virtual ~RestoreRunHost() = default;
    virtual Window *DialogParent() = 0;
    // After the walk: the selected object's history again (the views and the counts follow the
    // forest by themselves).
    virtual void AfterRestoreRun() = 0;
    // The server can compare versions with the live objects (and so preview a run).
    virtual bool CanCompare() = 0;
    // Who runs the restore where, for the run's record, and the journal that keeps it.
    virtual std::string ServerName() = 0;
    virtual std::string UserName() = 0;
    virtual const RunJournal &Journal() = 0;
    // The way to the server: requests run on its worker while the window goes on.
    virtual ServerSession &Session() = 0;
};
