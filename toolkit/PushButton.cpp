#include "toolkit/PushButton.h"

#include <QPushButton>

#include "toolkit/QtText.h"

PushButton::PushButton(Dialog *dialog, ResId id) : Control(dialog, Kind, id, new QPushButton)
{
    if (ResourceEntry()) {
        SetText(ResourceEntry()->text);
    }
    // Return stays with the dialog's main action even while this button has the keyboard (Copy
    // used in the result list, then Return, is OK); Space presses the button with the keyboard.
    Button()->setAutoDefault(false);
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
