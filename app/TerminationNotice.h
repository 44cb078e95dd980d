// Tells the user once that the program was asked to end (SIGTERM): from then on it makes no
// further requests of the backup server, while the window stays as it is.
#pragma once

#include <functional>

#include "mwlib/MW_SIGTERMClient.h"
#include "toolkit/Timer.h"

class Window;

class TerminationNotice : public MW_SIGTERMClient
{
  public:
    static constexpr const char *kText =
        "The program was asked to end.\nIt makes no further requests of the backup server.";

    // busy: true while the window is in the middle of something that the box must not cut into
    // (a restore run, a wait for the server); parent: the box's parent window; later: keeps a
    // call for when the window is free again, or drops it when whoever is busy shows the box
    // itself afterwards.
    TerminationNotice(MW_SIGTERMClientList *registry, std::function<bool()> busy,
                      std::function<Window *()> parent,
                      std::function<void(std::function<void()>)> later = {});

    // The news: the box is shown from the event loop, not from inside the informing.
    void M_SIGTERM() override;
    // Shows the box now if the news came, it was not shown yet and nothing is busy.
    void ShowIfDue();

  private:
    std::function<bool()> busy_;
    std::function<Window *()> parent_;
    std::function<void(std::function<void()>)> later_;
    Timer timer_;
    bool shown_ = false;
};
