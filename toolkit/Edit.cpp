#include "toolkit/Edit.h"

#include <QLineEdit>

#include "toolkit/QtText.h"

Edit::Edit(Dialog *dialog, ResId id) : Control(dialog, Kind, id, new QLineEdit)
{
    auto *edit = static_cast<QLineEdit *>(Widget());
    if (ResourceEntry()) {
        edit->setText(ToQt(ResourceEntry()->text));
        if (ResourceEntry()->masked) {
            edit->setEchoMode(QLineEdit::Password);
        }
    }
}

void Edit::SetText(const std::string &text)
{
    static_cast<QLineEdit *>(Widget())->setText(ToQt(text));
}
std::string Edit::GetText() const
{
    return FromQt(static_cast<QLineEdit *>(Widget())->text());
}
bool Edit::IsMasked() const
{
    return static_cast<QLineEdit *>(Widget())->echoMode() == QLineEdit::Password;
}
void Edit::SelectAll()
{
    static_cast<QLineEdit *>(Widget())->selectAll();
}
bool Edit::HasSelectedAll() const
{
    auto *edit = static_cast<QLineEdit *>(Widget());
    return edit->selectedText() == edit->text();
}
