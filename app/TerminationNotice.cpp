// The one message box about a termination signal, shown when the window is free for it.
#include "app/TerminationNotice.h"

#include "toolkit/MessageBox.h"

TerminationNotice::TerminationNotice(MW_SIGTERMClientList *registry, std::function<bool()> busy,
                                     std::function<Window *()> parent,
                                     std::function<void(std::function<void()>)> later)
    : MW_SIGTERMClient(registry), busy_(std::move(busy)), parent_(std::move(parent)),
      later_(std::move(later))
{
    timer_.SetTimeout(0);
    timer_.SetTimeoutHdl([this](Timer &) {
        ShowIfDue();
        return 1L;
    });
    // Made after the signal (the registry had informed its clients already): due at once.
    if (Informed()) {
        timer_.Start();
    }
}

void TerminationNotice::M_SIGTERM()
{
    timer_.Start();
}

void TerminationNotice::ShowIfDue()
{
    if (!Informed() || shown_) {
        return;
    }
    if (busy_ && busy_()) {
        if (later_) {
            later_([this] { ShowIfDue(); });
        }
        return;
    }
    shown_ = true;
    WarningBox(parent_ ? parent_() : nullptr, WB_OK, kText).Execute();
}
