#include "toolkit/WorkWindow.h"

#include <QCloseEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusTipEvent>

#include "toolkit/Application.h"
#include "toolkit/EventDispatcher.h"
#include "toolkit/Icon.h"
#include "toolkit/MenuBar.h"
#include "toolkit/QtText.h"
#include "toolkit/WindowPlace.h"

namespace
{

// The frame: asks the window before it closes and passes menu help texts on.
class Frame : public QMainWindow
{
  public:
    explicit Frame(QWidget *parent) : QMainWindow(parent) {}

    WorkWindow *owner = nullptr;
    std::function<void(const std::string &)> helpTextHdl;

  protected:
    void closeEvent(QCloseEvent *event) override
    {
        if (owner && !owner->Close()) {
            event->ignore();
        } else {
            event->accept();
        }
    }
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::StatusTip && helpTextHdl) {
            helpTextHdl(FromQt(static_cast<QStatusTipEvent *>(event)->tip()));
            return true;
        }
        return QMainWindow::event(event);
    }
};

Frame *MakeFrame(Window *parent)
{
    return new Frame(parent ? parent->FrameWidget() : nullptr);
}

QWidget *MakeContent(WorkWindow *owner, Frame *frame)
{
    auto *content = new toolkit_detail::EventDispatcher<QWidget>(owner, frame);
    content->setFocusPolicy(Qt::StrongFocus);
    frame->setCentralWidget(content);
    frame->owner = owner;
    return content;
}

} // namespace

WorkWindow::WorkWindow(Window *parent, int) : WorkWindow(parent, MakeFrame(parent)) {}

WorkWindow::WorkWindow(Window *parent, QMainWindow *frame)
    : Window(parent, MakeContent(this, static_cast<Frame *>(frame)), AdoptWidget{}), frame_(frame)
{
    if (Application *app = Application::Get()) {
        app->OfferAppWindow(this);
    }
}

WorkWindow::~WorkWindow()
{
    static_cast<Frame *>(frame_)->owner = nullptr;
    if (Application *app = Application::Get()) {
        app->WithdrawAppWindow(this);
    }
    DetachFromWidget();
}

QWidget *WorkWindow::FrameWidget() const
{
    return frame_;
}

void WorkWindow::OpenPlaced(const std::string &key, Size usual)
{
    placeKey_ = key;
    WindowPlace::Open(frame_, key, usual);
}

bool WorkWindow::Close()
{
    if (!placeKey_.empty() && frame_->isVisible()) {
        WindowPlace::Keep(frame_, placeKey_);
    }
    frame_->hide();
    if (Application *app = Application::Get(); app && app->GetAppWindow() == this) {
        app->Quit();
    }
    return true;
}

void WorkWindow::SetIcon(const Icon &icon)
{
    frame_->setWindowIcon(icon.QtIcon());
}

void WorkWindow::SetMenuBar(MenuBar *menu)
{
    frame_->setMenuBar(menu->HandOver());
}

bool WorkWindow::IsMinimized() const
{
    return frame_->isMinimized();
}
void WorkWindow::Minimize()
{
    frame_->showMinimized();
}
void WorkWindow::Restore()
{
    frame_->showNormal();
}

void WorkWindow::SetHelpTextHdl(std::function<void(const std::string &)> handler)
{
    static_cast<Frame *>(frame_)->helpTextHdl = std::move(handler);
}
