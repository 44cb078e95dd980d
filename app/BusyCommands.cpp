#include "app/BusyCommands.h"

#include <algorithm>
#include <iterator>

#include "res/ResourceIds.h"
#include "session/ServerSession.h"
#include "toolkit/MenuBar.h"
#include "toolkit/StatusBar.h"

namespace
{
// Every command that changes the tree, the marks or the window's life; the rest only show.
constexpr uint16_t kWaitingCommands[] = {
    kMenuItemExit,         kMenuItemSetTopContext, kMenuItemSetUserContext, kMenuItemClearAll,
    kMenuItemClearSubtree, kMenuItemRestore,       kMenuItemCompare,        kMenuItemFind,
};
} // namespace

BusyCommands::BusyCommands(MenuBar *menuBar, ServerSession &session, StatusBar &statusBar,
                           std::function<void(const std::string &)> hint)
    : menuBar_(menuBar), session_(session), statusBar_(statusBar), hint_(std::move(hint))
{
    for (uint16_t command : kWaitingCommands) {
        wanted_[command] = menuBar_ == nullptr || menuBar_->IsItemEnabled(command);
    }
    session_.Watch(this);
}

BusyCommands::~BusyCommands()
{
    session_.Watch(nullptr);
}

bool BusyCommands::Waits(uint16_t command)
{
    return std::ranges::find(kWaitingCommands, command) != std::end(kWaitingCommands);
}

void BusyCommands::Enable(uint16_t command, bool enable)
{
    if (!Waits(command)) {
        if (menuBar_ != nullptr) {
            menuBar_->EnableItem(command, enable);
        }
        return;
    }
    wanted_[command] = enable;
    Show(command);
}

std::string BusyCommands::TurnedAwayText(const std::string &activity)
{
    if (activity.empty()) {
        return std::string(kTurnedAwayStart) + kTurnedAwayEnd;
    }
    return kTurnedAwayStart + (" (" + activity + ")") + kTurnedAwayEnd;
}

void BusyCommands::BusyChanged(bool busy)
{
    busy_ = busy;
    for (const auto &entry : wanted_) {
        Show(entry.first);
    }
    // The word is true no longer; a newer one (a menu entry's help) is left standing.
    if (!busy && !said_.empty() && statusBar_.GetHelpText() == said_) {
        hint_("");
    }
    if (!busy) {
        said_.clear();
    }
}

void BusyCommands::TurnedAway()
{
    said_ = TurnedAwayText(session_.Activity());
    hint_(said_);
}

void BusyCommands::Show(uint16_t command)
{
    if (menuBar_ != nullptr) {
        menuBar_->EnableItem(command, wanted_[command] && !busy_);
    }
}
