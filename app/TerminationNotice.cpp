// The one message box about a termination signal, shown when the window is free for it.
#include "app/TerminationNotice.h"

#include "toolkit/MessageBox.h"

TerminationNotice::TerminationNotice(MW_SIGTERMClientList *registry, std::function<bool()> busy,
                                     std::function<Window *()> parent)
    : MW_SIGTERMClient(registry), busy_(std::move(busy)), parent_(std::move(parent))
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
    if (!Informed() || shown_ || (busy_ && busy_())) {
        return;
    }
    shown_ = true;
    WarningBox(parent_ ? parent_() : nullptr, WB_OK, kText).Execute();
}
