// The menu bar built from a menu resource. A chosen entry makes its id the current item id and
// calls the handler on top of the select-handler stack.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Link.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/ResId.h"

class QAction;
class QMenuBar;
class QWidget;
struct MenuItemResource;

class MenuBar
{
  public:
    explicit MenuBar(ResId id);
    ~MenuBar();
    MenuBar(const MenuBar &) = delete;
    MenuBar &operator=(const MenuBar &) = delete;

    void PushSelectHdl(Link<MenuBar> link);
    void PopSelectHdl();
    uint16_t GetCurItemId() const { return currentId_; }

    PopupMenu *GetPopupMenu(uint16_t id);
    void EnableItem(uint16_t id, bool enable = true);
    bool IsItemEnabled(uint16_t id) const;
    std::string GetItemText(uint16_t id) const; // with "~" for the mnemonic
    std::string GetHelpText(uint16_t id) const;

    // Chooses an entry as the user would; a disabled entry does nothing. Returns the handler's
    // result.
    long Select(uint16_t id);

    QMenuBar *HandOver(); // the window that shows the bar owns it from now on
    QAction *Action(uint16_t id) const;

  private:
    void AddItem(const MenuItemResource &item, QWidget *into);
    QAction *MakeAction(const MenuItemResource &item, QWidget *into);

    std::unique_ptr<QMenuBar> owned_; // until a window takes the bar over
    QMenuBar *bar_;
    std::map<uint16_t, QAction *> actions_;
    std::map<uint16_t, std::unique_ptr<PopupMenu>> popups_;
    std::map<uint16_t, std::string> texts_;
    std::map<uint16_t, std::string> helpTexts_;
    std::vector<Link<MenuBar>> selectHdls_;
    uint16_t currentId_ = 0;
};
