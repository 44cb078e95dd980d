// The commands that must wait while the server is at work for the window: their menu entries
// look disabled meanwhile and come back as they were wanted once the server is free, and a
// command turned away (a mark, an opening, a key) is answered in the status bar, so that no key
// of the user's vanishes without a word. What only shows something (About, Release Notes, Past
// Runs) never waits.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "session/BusyWatcher.h"

class MenuBar;
class ServerSession;
class StatusBar;

class BusyCommands : public BusyWatcher
{
  public:
    // "The server is at work (Listing Sales.Marrowby): try again once it is done."
    static constexpr const char *kTurnedAwayStart = "The server is at work";
    static constexpr const char *kTurnedAwayEnd = ": try again once it is done.";

    // menuBar may be null (no menu). hint: shows a word in the status bar for a while.
    BusyCommands(MenuBar *menuBar, ServerSession &session, StatusBar &statusBar,
                 std::function<void(const std::string &)> hint);
    ~BusyCommands() override;
    BusyCommands(const BusyCommands &) = delete;
    BusyCommands &operator=(const BusyCommands &) = delete;

    static bool Waits(uint16_t command);
    // What the window wants of a command's entry; it shows so whenever the server is free.
    void Enable(uint16_t command, bool enable);
    // The word for a command turned away while `activity` is under way.
    static std::string TurnedAwayText(const std::string &activity);

    void BusyChanged(bool busy) override;
    void TurnedAway() override;

  private:
    void Show(uint16_t command);

    MenuBar *menuBar_;
    ServerSession &session_;
    StatusBar &statusBar_;
    std::function<void(const std::string &)> hint_;
    std::map<uint16_t, bool> wanted_; // the waiting commands, as the window wants them
    bool busy_ = false;
    std::string said_; // the word last shown, withdrawn once the server is free
};
