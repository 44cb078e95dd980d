#include "toolkit/RadioButton.h"

#include <QRadioButton>

#include "toolkit/QtText.h"

RadioButton::RadioButton(Dialog *dialog, ResId id) : Control(dialog, Kind, id, new QRadioButton)
{
    auto *button = static_cast<QRadioButton *>(Widget());
    // The program's handler keeps exactly one button on; Qt's own grouping stays out of it.
    button->setAutoExclusive(false);
    if (ResourceEntry()) {
        button->setText(MnemonicToQt(ResourceEntry()->text));
    }
    QObject::connect(button, &QRadioButton::clicked, [this] { Click(); });
}

void RadioButton::Check(bool check)
{
    static_cast<QRadioButton *>(Widget())->setChecked(check);
}
bool RadioButton::IsChecked() const
{
    return static_cast<QRadioButton *>(Widget())->isChecked();
}
std::string RadioButton::GetText() const
{
    return FromQt(static_cast<QRadioButton *>(Widget())->text());
}
