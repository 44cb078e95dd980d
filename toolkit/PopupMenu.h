// A drop-down menu of the menu bar: its entries can be enabled and disabled by id.
#pragma once

#include <cstdint>
#include <string>

class QMenu;
class QAction;

class PopupMenu
{
  public:
    explicit PopupMenu(QMenu *menu) : menu_(menu) {}

    void EnableItem(uint16_t id, bool enable = true);
    bool IsItemEnabled(uint16_t id) const;
    int GetItemCount() const;
    uint16_t GetItemId(int position) const;

  private:
    QAction *Action(uint16_t id) const;

    QMenu *menu_;
};
