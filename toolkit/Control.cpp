#include "toolkit/Control.h"

#include <QEvent>
#include <QWidget>

#include "toolkit/AccessibleLabel.h"
#include "toolkit/Dialog.h"
#include "toolkit/Font.h"
#include "toolkit/QtText.h"

namespace
{

// Hands a control's focus changes to its reactions.
class FocusWatcher : public QObject
{
  public:
    explicit FocusWatcher(Control *control) : control_(control) {}

  protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            control_->GetFocus();
        } else if (event->type() == QEvent::FocusOut) {
            control_->LoseFocus();
        }
        return false;
    }

  private:
    Control *control_;
};

QWidget *ContentOf(Window *window)
{
    return window ? window->Widget() : nullptr;
}

} // namespace

Control::Control(Dialog *dialog, ControlKind kind, ResId id, QWidget *widget)
    : Window(dialog, widget, AdoptWidget{}), dialog_(dialog),
      resource_(dialog->FindControlResource(kind, id))
{
    widget->setParent(dialog->Widget());
    if (resource_) {
        const DialogUnits &units = dialog->Units();
        widget->setGeometry(units.ToPixelX(resource_->x), units.ToPixelY(resource_->y),
                            units.ToPixelX(resource_->width), units.ToPixelY(resource_->height));
        if (resource_->fontId != 0) {
            widget->setFont(Font(ResId(resource_->fontId)).QtFont());
        }
        // Controls with a text of their own are named by it; the others by their label.
        if (NeedsAccessibleLabel(kind)) {
            widget->setAccessibleName(ToQt(AccessibleLabelOf(dialog->Resource(), *resource_)));
        }
        widget->setAccessibleDescription(ToQt(AccessibleGroupOf(dialog->Resource(), *resource_)));
    }
    dialog->RegisterControl(kind, id, this);
    WatchFocus();
}

Control::Control(Window *parent, QWidget *widget) : Window(parent, widget, AdoptWidget{})
{
    widget->setParent(ContentOf(parent));
    WatchFocus();
}

Control::~Control()
{
    if (Widget()) {
        Widget()->removeEventFilter(focusWatcher_.get());
    }
    if (dialog_) {
        dialog_->UnregisterControl(this);
    }
}

void Control::SetAccessibleName(const std::string &name)
{
    Widget()->setAccessibleName(ToQt(name));
}

Rectangle Control::ResourceRect() const
{
    if (!resource_ || !dialog_) {
        return {};
    }
    const DialogUnits &units = dialog_->Units();
    const Point place = units.ToPixel(resource_->x, resource_->y);
    const Size size = units.ToPixelSize(resource_->width, resource_->height);
    return Rectangle::FromPosSize({place.x - widenedLeftwards_, place.y},
                                  {size.width + widenedLeftwards_, size.height});
}

void Control::WidenLeftwards(int pixels)
{
    widenedLeftwards_ += pixels;
    const Rectangle place = ResourceRect();
    SetPosSizePixel({GetPosPixel().x - pixels, GetPosPixel().y},
                    {place.Width(), GetSizePixel().height});
}

void Control::PlaceFromResource(Point move, Size grow)
{
    const Rectangle place = ResourceRect();
    SetPosSizePixel({place.left + move.x, place.top + move.y},
                    {place.Width() + grow.width, place.Height() + grow.height});
}

void Control::WatchFocus()
{
    focusWatcher_ = std::make_unique<FocusWatcher>(this);
    Widget()->installEventFilter(focusWatcher_.get());
}

void Control::Click()
{
    CallLink(clickHdl_, *this);
}
void Control::GetFocus()
{
    CallLink(getFocusHdl_, *this);
}
void Control::LoseFocus()
{
    CallLink(loseFocusHdl_, *this);
}
