#include "toolkit/PopupMenu.h"

#include <QMenu>

QAction *PopupMenu::Action(uint16_t id) const
{
    for (QAction *action : menu_->actions()) {
        if (action->data().toInt() == id) {
            return action;
        }
    }
    return nullptr;
}

void PopupMenu::EnableItem(uint16_t id, bool enable)
{
    if (QAction *action = Action(id)) {
        action->setEnabled(enable);
    }
}

bool PopupMenu::IsItemEnabled(uint16_t id) const
{
    QAction *action = Action(id);
    return action && action->isEnabled();
}

int PopupMenu::GetItemCount() const
{
    return static_cast<int>(menu_->actions().size());
}

uint16_t PopupMenu::GetItemId(int position) const
{
    QList<QAction *> actions = menu_->actions();
    return position >= 0 && position < actions.size()
               ? static_cast<uint16_t>(actions[position]->data().toInt())
               : 0;
}
