#include "toolkit/PushButton.h"

#include <QPushButton>

#include "toolkit/QtText.h"

PushButton::PushButton(Dialog *dialog, ResId id) : Control(dialog, Kind, id, new QPushButton)
{
    if (ResourceEntry()) {
        SetText(ResourceEntry()->text);
    }
    // A click leaves the keyboard where it was, so that Return goes on doing the dialog's main
    // action (Copy clicked in the result list, then Return, is OK); Tab still reaches the button.
    Button()->setFocusPolicy(Qt::TabFocus);
    QObject::connect(Button(), &QPushButton::clicked, [this] { Click(); });
}

QPushButton *PushButton::Button() const
{
    return static_cast<QPushButton *>(Widget());
}

void PushButton::SetText(const std::string &text)
{
    Button()->setText(MnemonicToQt(text));
}

std::string PushButton::GetText() const
{
    return FromQt(Button()->text());
}

void PushButton::SetDefault(bool isDefault)
{
    Button()->setDefault(isDefault);
}

void PushButton::SetQuickHelpText(const std::string &text)
{
    Button()->setToolTip(ToQt(text));
}

std::string PushButton::GetQuickHelpText() const
{
    return FromQt(Button()->toolTip());
}
