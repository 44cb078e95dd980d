#include "toolkit/Dialog.h"

#include <QDialog>

#include "toolkit/EventDispatcher.h"
#include "toolkit/QtText.h"

namespace
{

DialogResource ResourceOrEmpty(ResId id)
{
    const DialogResource *resource = Resources::Dialog(id);
    return resource ? *resource : DialogResource{id.Id(), true, "", 0, 0, 0, 0, {}};
}

QWidget *FrameOf(Window *parent)
{
    return parent ? parent->FrameWidget() : nullptr;
}

QDialog *MakeDialogWidget(Window *owner, Window *parent, bool modal, bool titled)
{
    auto *widget = new toolkit_detail::EventDispatcher<QDialog>(owner, FrameOf(parent));
    widget->KeepTabForFocusChain();
    widget->setModal(modal);
    if (!titled) {
        widget->setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    }
    return widget;
}

} // namespace

Dialog::Dialog(Window *parent, ResId id, bool modal)
    : Window(parent, MakeDialogWidget(this, parent, modal, !ResourceOrEmpty(id).title.empty()),
             AdoptWidget{}),
      resource_(ResourceOrEmpty(id))
{
    QDialog *dialog = QtDialog();
    dialog->setWindowTitle(ToQt(resource_.title));
    dialog->setAccessibleName(ToQt(resource_.title));
    dialog->setFixedSize(StartSize().width, StartSize().height);
    // The resource places the dialog relative to its parent's drawable area (or the screen).
    Point origin = parent ? parent->ScreenPos() : Point{};
    Point offset = units_.ToPixel(resource_.x, resource_.y);
    dialog->move(origin.x + offset.x, origin.y + offset.y);
}

Dialog::~Dialog() = default;

void Dialog::SetResizable()
{
    const Size start = StartSize();
    QtDialog()->setMinimumSize(start.width, start.height);
    QtDialog()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    QtDialog()->setSizeGripEnabled(true);
}

Size Dialog::StartSize() const
{
    return units_.ToPixelSize(resource_.width, resource_.height);
}

QDialog *Dialog::QtDialog() const
{
    return static_cast<QDialog *>(Widget());
}

const ControlResource *Dialog::FindControlResource(ControlKind kind, ResId id) const
{
    for (const ControlResource &control : resource_.controls) {
        if (control.kind == kind && control.id == id.Id()) {
            return &control;
        }
    }
    return nullptr;
}

Control *Dialog::FindControl(ControlKind kind, ResId id) const
{
    auto it = controls_.find({kind, id.Id()});
    return it == controls_.end() ? nullptr : it->second;
}

void Dialog::RegisterControl(ControlKind kind, ResId id, Control *control)
{
    controls_[{kind, id.Id()}] = control;
}

void Dialog::UnregisterControl(Control *control)
{
    std::erase_if(controls_, [control](const auto &entry) { return entry.second == control; });
}
