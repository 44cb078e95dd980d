#include "toolkit/Dialog.h"

#include <QDialog>
#include <QEvent>

#include "toolkit/Control.h"
#include "toolkit/EventDispatcher.h"
#include "toolkit/QtText.h"
#include "toolkit/Screen.h"
#include "toolkit/TitleFit.h"
#include "toolkit/WindowMemory.h"

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

int Grown(double share, int by)
{
    return static_cast<int>(share * by + 0.5);
}

} // namespace

// Refits the title as the dialog's width changes, and keeps the dialog's size when it closes.
class Dialog::Watcher : public QObject
{
  public:
    explicit Watcher(Dialog &dialog) : dialog_(dialog) {}

  protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize) {
            dialog_.RefitTitle();
        } else if (event->type() == QEvent::Hide) {
            dialog_.KeepSize();
        }
        return false;
    }

  private:
    Dialog &dialog_;
};

Dialog::Dialog(Window *parent, ResId id, bool modal)
    : Window(parent, MakeDialogWidget(this, parent, modal, !ResourceOrEmpty(id).title.empty()),
             AdoptWidget{}),
      resource_(ResourceOrEmpty(id)), watcher_(std::make_unique<Watcher>(*this))
{
    QDialog *dialog = QtDialog();
    dialog->setFixedSize(StartSize().width, StartSize().height);
    SetText(resource_.title);
    // The resource places the dialog relative to its parent's drawable area (or the screen).
    Point origin = parent ? parent->ScreenPos() : Point{};
    Point offset = units_.ToPixel(resource_.x, resource_.y);
    dialog->move(origin.x + offset.x, origin.y + offset.y);
    dialog->installEventFilter(watcher_.get());
}

Dialog::~Dialog()
{
    if (Widget()) {
        Widget()->removeEventFilter(watcher_.get());
    }
}

void Dialog::SetText(const std::string &text)
{
    title_ = text;
    QtDialog()->setAccessibleName(ToQt(text));
    RefitTitle();
}

std::string Dialog::GetText() const
{
    return title_;
}

std::string Dialog::ShownTitle() const
{
    return FromQt(QtDialog()->windowTitle());
}

void Dialog::RefitTitle()
{
    if (!title_.empty()) {
        QtDialog()->setWindowTitle(ToQt(::FitTitle(title_, QtDialog()->width())));
    }
}

// A dialog that can grow starts wide enough for its title, as far as the screen allows, and
// never larger than the screen's free area.
void Dialog::SetResizable()
{
    const Rectangle area = GetScreenWorkArea();
    const Size start = StartSize();
    QtDialog()->setMinimumSize(std::min(start.width, area.Width()),
                               std::min(start.height, area.Height()));
    QtDialog()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    QtDialog()->setSizeGripEnabled(true);
    QtDialog()->resize(std::min(start.width, area.Width()), std::min(start.height, area.Height()));
    WidenForTitle();
}

void Dialog::WidenForTitle()
{
    const int wanted = std::min(TitleWidthNeeded(title_), GetScreenWorkArea().Width());
    QDialog *dialog = QtDialog();
    if (wanted <= dialog->width()) {
        return;
    }
    if (dialog->minimumWidth() == dialog->maximumWidth()) {
        dialog->setFixedWidth(wanted);
    } else {
        dialog->resize(wanted, dialog->height());
    }
}

void Dialog::GrowWider(int pixels)
{
    QDialog *dialog = QtDialog();
    if (dialog->minimumWidth() == dialog->maximumWidth()) {
        dialog->setFixedWidth(dialog->width() + pixels);
    } else {
        dialog->setMinimumWidth(dialog->minimumWidth() + pixels);
        dialog->resize(dialog->width() + pixels, dialog->height());
    }
}

Size Dialog::StartSize() const
{
    return units_.ToPixelSize(resource_.width, resource_.height);
}

void Dialog::Follow(Control &control, Anchor anchor)
{
    anchored_.emplace_back(&control, anchor);
}

void Dialog::Resize()
{
    const Size start = StartSize();
    const Size now = GetSizePixel();
    const Size grown{std::max(0, now.width - start.width), std::max(0, now.height - start.height)};
    for (const auto &[control, anchor] : anchored_) {
        control->PlaceFromResource(
            {Grown(anchor.moveX, grown.width), Grown(anchor.moveY, grown.height)},
            {Grown(anchor.growX, grown.width), Grown(anchor.growY, grown.height)});
    }
}

void Dialog::RememberSize(std::string key)
{
    memoryKey_ = std::move(key);
    if (const std::optional<std::vector<int>> size = WindowMemory::Recall(memoryKey_);
        size && size->size() == 2) {
        const Rectangle area = GetScreenWorkArea();
        const QSize least = QtDialog()->minimumSize();
        QtDialog()->resize(
            std::clamp((*size)[0], least.width(), std::max(least.width(), area.Width())),
            std::clamp((*size)[1], least.height(), std::max(least.height(), area.Height())));
    }
    for (const auto &[id, control] : controls_) {
        if (const std::optional<std::vector<int>> state = WindowMemory::Recall(ControlKey(id))) {
            control->Recall(*state);
        }
    }
}

void Dialog::KeepSize()
{
    if (memoryKey_.empty()) {
        return;
    }
    const Size size = GetSizePixel();
    WindowMemory::Keep(memoryKey_, {size.width, size.height});
    for (const auto &[id, control] : controls_) {
        std::vector<int> state = control->StateToKeep();
        if (!state.empty()) {
            WindowMemory::Keep(ControlKey(id), std::move(state));
        }
    }
}

std::string Dialog::ControlKey(const std::pair<ControlKind, uint16_t> &id) const
{
    return memoryKey_ + "." + std::to_string(id.second);
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
    std::erase_if(anchored_, [control](const auto &entry) { return entry.first == control; });
}
