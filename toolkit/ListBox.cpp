#include "toolkit/ListBox.h"

#include <QListWidget>

#include "toolkit/Bitmap.h"
#include "toolkit/QtText.h"

namespace
{
QListWidget *ListOf(QWidget *widget)
{
    return static_cast<QListWidget *>(widget);
}
} // namespace

ListBox::ListBox(Dialog *dialog, ResId id) : Control(dialog, Kind, id, new QListWidget)
{
    QListWidget *list = ListOf(Widget());
    list->setSortingEnabled(false);
    QObject::connect(list, &QListWidget::currentRowChanged,
                     [this](int) { CallLink(selectHdl_, *this); });
    QObject::connect(list, &QListWidget::itemDoubleClicked,
                     [this](QListWidgetItem *) { CallLink(doubleClickHdl_, *this); });
}

void ListBox::InsertEntry(const std::string &text, const Bitmap &bitmap)
{
    auto *item = new QListWidgetItem(QIcon(bitmap.Pixmap()), ToQt(text));
    item->setToolTip(item->text());
    ListOf(Widget())->addItem(item);
}

void ListBox::InsertEntry(const std::string &text)
{
    auto *item = new QListWidgetItem(ToQt(text));
    item->setToolTip(item->text());
    ListOf(Widget())->addItem(item);
}

int ListBox::GetEntryCount() const
{
    return ListOf(Widget())->count();
}

std::string ListBox::GetEntry(int position) const
{
    QListWidgetItem *item = ListOf(Widget())->item(position);
    return item ? FromQt(item->text()) : std::string();
}

void ListBox::SetEntrySpokenText(int position, const std::string &text)
{
    if (QListWidgetItem *item = ListOf(Widget())->item(position)) {
        item->setData(Qt::AccessibleTextRole, ToQt(text));
    }
}

std::string ListBox::GetEntrySpokenText(int position) const
{
    QListWidgetItem *item = ListOf(Widget())->item(position);
    return item ? FromQt(item->data(Qt::AccessibleTextRole).toString()) : std::string();
}

int ListBox::GetSelectEntryPos() const
{
    const int row = ListOf(Widget())->currentRow();
    return row < 0 ? kNoSelection : row;
}

void ListBox::SelectEntryPos(int position)
{
    ListOf(Widget())->setCurrentRow(position);
}
