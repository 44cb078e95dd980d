// A restore run's host without a window, for benchmarks: its dialogs have no parent, its
// requests run on a server worker of its own, and it keeps each run in a journal of past runs
// in a scratch directory.
#pragma once

#include <string>

#include "report/RunJournal.h"
#include "restore/RestoreRunHost.h"
#include "server/ServerClient.h"
#include "session/ServerSession.h"
#include "tests/mwlib/TempDir.h"

class HeadlessRunHost : public RestoreRunHost
{
  public:
    explicit HeadlessRunHost(ServerClient &client)
        : session_(&client, nullptr, [] { return nullptr; })
    {
    }
    Window *DialogParent() override { return nullptr; }
    void AfterRestoreRun() override {}
    bool CanCompare() override { return false; }
    std::string ServerName() override { return "BENCH"; }
    std::string UserName() override { return "bench"; }
    const RunJournal &Journal() override { return journal_; }
    ServerSession &Session() override { return session_; }

  private:
    ServerSession session_;
    TempDir data_;
    RunJournal journal_{data_.Path("runs.jsonl")};
};
