#include "toolkit/RadioButton.h"

#include <QRadioButton>

#include "toolkit/AccessibleRadioButton.h"
#include "toolkit/QtText.h"

namespace
{
// Assistive tools are to read our buttons as radio buttons from the first question on.
QRadioButton *NewRadioButton()
{
    toolkit_detail::AccessibleRadioButton::Install();
    return new QRadioButton;
}
} // namespace

RadioButton::RadioButton(Dialog *dialog, ResId id) : Control(dialog, Kind, id, NewRadioButton())
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
