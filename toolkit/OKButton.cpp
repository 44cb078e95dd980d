#include "toolkit/OKButton.h"

#include <QDialog>
#include <QPushButton>

#include "toolkit/ModalDialog.h"
#include "toolkit/QtText.h"

OKButton::OKButton(Dialog *dialog, ResId id) : OKButton(dialog, id, Kind, "OK", 1)
{
    Button()->setDefault(true);
}

OKButton::OKButton(Dialog *dialog, ResId id, ControlKind kind, const char *caption, long result)
    : Control(dialog, kind, id, new QPushButton(QString::fromUtf8(caption))), dialog_(dialog),
      result_(result)
{
    QObject::connect(Button(), &QPushButton::clicked, [this] { Click(); });
}

QPushButton *OKButton::Button() const
{
    return static_cast<QPushButton *>(Widget());
}

void OKButton::Click()
{
    // The toolkit's button ends the dialog; a program that installs a handler decides itself.
    Control::Click();
    if (auto *modal = dynamic_cast<ModalDialog *>(dialog_)) {
        modal->EndDialog(result_);
    } else {
        dialog_->QtDialog()->done(static_cast<int>(result_));
    }
}

void OKButton::SetDefault(bool isDefault)
{
    Button()->setDefault(isDefault);
}

void OKButton::SetText(const std::string &text)
{
    Button()->setText(MnemonicToQt(text));
}
std::string OKButton::GetText() const
{
    return FromQt(Button()->text());
}
