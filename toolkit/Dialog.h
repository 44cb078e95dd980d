// A window built from a dialog resource: its size, title and position come from the table; its
// controls are built from the same resource by their local ids and can be found again by them.
#pragma once

#include <map>
#include <utility>

#include "toolkit/DialogUnits.h"
#include "toolkit/ResId.h"
#include "toolkit/Resource.h"
#include "toolkit/Window.h"

class Control;
class QDialog;

class Dialog : public Window
{
  public:
    ~Dialog() override;

    const DialogResource &Resource() const { return resource_; }
    const ControlResource *FindControlResource(ControlKind kind, ResId id) const;
    const DialogUnits &Units() const { return units_; }
    void FreeResource() {} // the tables stay for the program's life: nothing to release

    // The control of this kind and local id, or null.
    Control *FindControl(ControlKind kind, ResId id) const;
    template <typename T> T *Find(ResId id) const
    {
        return static_cast<T *>(FindControl(T::Kind, id));
    }

    // Internal to the toolkit: controls register themselves on construction.
    void RegisterControl(ControlKind kind, ResId id, Control *control);
    void UnregisterControl(Control *control);
    QDialog *QtDialog() const;

    // The user may make the dialog larger than its resource (never smaller), with a grip in its
    // corner; its Resize reaction places the controls.
    void SetResizable();
    Size StartSize() const; // the size the resource gives it

  protected:
    Dialog(Window *parent, ResId id, bool modal);

  private:
    DialogResource resource_;
    DialogUnits units_;
    std::map<std::pair<ControlKind, uint16_t>, Control *> controls_;
};
