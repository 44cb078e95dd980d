#include "toolkit/PushButton.h"

#include <QPushButton>
#include <QWidget>

#include "toolkit/QtText.h"

PushButton::PushButton(Dialog *dialog, ResId id) : Control(dialog, Kind, id, new QPushButton)
{
    auto *button = static_cast<QPushButton *>(Widget());
    button->setAutoDefault(false);
    if (ResourceEntry()) {
        button->setText(MnemonicToQt(ResourceEntry()->text));
    }
    QObject::connect(button, &QPushButton::clicked, [this] { Click(); });
}

void PushButton::SetText(const std::string &text)
{
    static_cast<QPushButton *>(Widget())->setText(MnemonicToQt(text));
}

std::string PushButton::GetText() const
{
    return FromQt(static_cast<QPushButton *>(Widget())->text());
}

void PushButton::SetQuickHelpText(const std::string &text)
{
    Widget()->setToolTip(ToQt(text));
}

std::string PushButton::GetQuickHelpText() const
{
    return FromQt(Widget()->toolTip());
}
