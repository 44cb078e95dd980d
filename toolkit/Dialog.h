// A window built from a dialog resource: its size, title and position come from the table; its
// controls are built from the same resource by their local ids and can be found again by them.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "toolkit/Anchor.h"
#include "toolkit/DialogUnits.h"
#include "toolkit/ResId.h"
#include "toolkit/Resource.h"
#include "toolkit/Window.h"

class Control;
class QDialog;
class QObject;

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
    // Makes the dialog wide enough to show its whole title, as far as the screen allows; the
    // controls that follow its growth move with it.
    void WidenForTitle();
    // Makes the dialog wider (and a resizable one's least width); the controls that follow its
    // growth move and grow with it.
    void GrowWider(int pixels);
    // The control keeps its resource place at the starting size and follows the dialog's growth
    // as the anchor says; the default Resize reaction places every such control.
    void Follow(Control &control, Anchor anchor);
    void Resize() override;
    // The dialog comes back at the size it had when it last closed (in this run or an earlier
    // one), with the column widths the user gave its tables, all kept under this key. Never
    // smaller than its start nor larger than the screen's free area.
    void RememberSize(std::string key);

    // The title: the whole of it for assistive tools and GetText; the title bar shows it cut in
    // the middle when the dialog is too narrow for it.
    void SetText(const std::string &text) override;
    std::string GetText() const override;
    std::string ShownTitle() const;

  protected:
    Dialog(Window *parent, ResId id, bool modal);

  private:
    class Watcher;
    void RefitTitle();
    void KeepSize();
    std::string ControlKey(const std::pair<ControlKind, uint16_t> &id) const;

    DialogResource resource_;
    DialogUnits units_;
    std::map<std::pair<ControlKind, uint16_t>, Control *> controls_;
    std::vector<std::pair<Control *, Anchor>> anchored_;
    std::string title_;
    std::string memoryKey_; // empty: the dialog remembers nothing
    std::unique_ptr<QObject> watcher_;
};
