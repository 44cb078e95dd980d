// Base of the controls: a Qt widget inside a dialog (built from the dialog's resource by its
// local id) or inside any window, with click and focus handlers.
#pragma once

#include <memory>
#include <vector>

#include "toolkit/Link.h"
#include "toolkit/ResId.h"
#include "toolkit/Resource.h"
#include "toolkit/Window.h"

class Dialog;
class QObject;

class Control : public Window
{
  public:
    ~Control() override;

    void SetClickHdl(Link<Control> link) { clickHdl_ = std::move(link); }
    void SetGetFocusHdl(Link<Control> link) { getFocusHdl_ = std::move(link); }
    void SetLoseFocusHdl(Link<Control> link) { loseFocusHdl_ = std::move(link); }

    virtual void Click(); // what a click does: the click handler
    // What assistive tools call the control, where the dialog's labels do not say it.
    void SetAccessibleName(const std::string &name);

    // Where the dialog's resource places the control, in pixels (empty for a free control).
    Rectangle ResourceRect() const;
    // Places the control at its resource place moved by `move` and grown by `grow`: how a
    // resizable dialog's controls follow its size.
    void PlaceFromResource(Point move, Size grow);
    // From now on the control's resource place is this much wider, to the left.
    void WidenLeftwards(int pixels);
    void GetFocus() override;
    void LoseFocus() override;

    // What the control would have back when its dialog opens again (a table's column widths
    // the user chose); empty: nothing.
    virtual std::vector<int> StateToKeep() const { return {}; }
    virtual void Recall(const std::vector<int> &) {}

  protected:
    // Built from the resource of the dialog: geometry, text and font come from the table.
    Control(Dialog *dialog, ControlKind kind, ResId id, QWidget *widget);
    // A free control inside a window; the caller places it.
    Control(Window *parent, QWidget *widget);

    const ControlResource *ResourceEntry() const { return resource_; }

  private:
    void WatchFocus();

    Dialog *dialog_ = nullptr;
    const ControlResource *resource_ = nullptr;
    int widenedLeftwards_ = 0;
    std::unique_ptr<QObject> focusWatcher_;
    Link<Control> clickHdl_;
    Link<Control> getFocusHdl_;
    Link<Control> loseFocusHdl_;
};
