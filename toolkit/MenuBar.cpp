#include "toolkit/MenuBar.h"

#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include "toolkit/QtText.h"
#include "toolkit/Resource.h"

MenuBar::MenuBar(ResId id) : owned_(std::make_unique<QMenuBar>()), bar_(owned_.get())
{
    if (const MenuResource *resource = Resources::Menu(id)) {
        for (const MenuItemResource &item : resource->items) {
            AddItem(item, bar_);
        }
    }
}

// Once a window has taken the bar over, the window deletes it.
MenuBar::~MenuBar() = default;

QMenuBar *MenuBar::HandOver()
{
    return owned_.release();
}

void MenuBar::AddItem(const MenuItemResource &item, QWidget *into)
{
    texts_[item.id] = item.text;
    helpTexts_[item.id] = item.helpText;
    if (item.items.empty()) {
        into->addAction(MakeAction(item, into));
        return;
    }
    auto *menu = new QMenu(MnemonicToQt(item.text), into);
    for (const MenuItemResource &entry : item.items) {
        AddItem(entry, menu);
    }
    QAction *action = menu->menuAction();
    action->setData(item.id);
    action->setStatusTip(ToQt(item.helpText));
    action->setEnabled(item.enabled);
    into->addAction(action);
    actions_[item.id] = action;
    popups_[item.id] = std::make_unique<PopupMenu>(menu);
}

QAction *MenuBar::MakeAction(const MenuItemResource &item, QWidget *into)
{
    auto *action = new QAction(MnemonicToQt(item.text), into);
    action->setData(item.id);
    action->setStatusTip(ToQt(item.helpText));
    action->setEnabled(item.enabled);
    if (!item.accelerator.empty()) {
        QKeySequence accelerator(ToQt(item.accelerator));
        // The same keys as the mnemonic would make Qt see an ambiguous shortcut and fire neither.
        if (accelerator != QKeySequence::mnemonic(action->text())) {
            action->setShortcut(accelerator);
        }
    }
    QObject::connect(action, &QAction::triggered, [this, id = item.id] { Select(id); });
    actions_[item.id] = action;
    return action;
}

void MenuBar::PushSelectHdl(Link<MenuBar> link)
{
    selectHdls_.push_back(std::move(link));
}

void MenuBar::PopSelectHdl()
{
    if (!selectHdls_.empty()) {
        selectHdls_.pop_back();
    }
}

QAction *MenuBar::Action(uint16_t id) const
{
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

PopupMenu *MenuBar::GetPopupMenu(uint16_t id)
{
    auto it = popups_.find(id);
    return it == popups_.end() ? nullptr : it->second.get();
}

void MenuBar::EnableItem(uint16_t id, bool enable)
{
    if (QAction *action = Action(id)) {
        action->setEnabled(enable);
    }
}

bool MenuBar::IsItemEnabled(uint16_t id) const
{
    QAction *action = Action(id);
    return action && action->isEnabled();
}

std::string MenuBar::GetItemText(uint16_t id) const
{
    auto it = texts_.find(id);
    return it == texts_.end() ? std::string() : it->second;
}

std::string MenuBar::GetHelpText(uint16_t id) const
{
    auto it = helpTexts_.find(id);
    return it == helpTexts_.end() ? std::string() : it->second;
}

long MenuBar::Select(uint16_t id)
{
    QAction *action = Action(id);
    if (!action || !action->isEnabled() || selectHdls_.empty()) {
        return 0;
    }
    currentId_ = id;
    // A copy: the handler may push or pop handlers while it runs.
    Link<MenuBar> handler = selectHdls_.back();
    return CallLink(handler, *this);
}
