#include "toolkit/CheckBox.h"

#include "toolkit/CycleCheckBox.h"
#include "toolkit/QtText.h"

using toolkit_detail::CycleCheckBox;

CheckBox::CheckBox(Window *parent) : CheckBox(parent, false) {}

CheckBox::CheckBox(Window *parent, bool triState) : Control(parent, new CycleCheckBox(triState))
{
    QObject::connect(static_cast<CycleCheckBox *>(Widget()), &CycleCheckBox::clicked,
                     [this] { Click(); });
}

CheckBox::CheckBox(Dialog *dialog, ResId id) : Control(dialog, Kind, id, new CycleCheckBox(false))
{
    auto *box = static_cast<CycleCheckBox *>(Widget());
    if (ResourceEntry()) {
        box->setText(MnemonicToQt(ResourceEntry()->text));
    }
    QObject::connect(box, &CycleCheckBox::clicked, [this] { Click(); });
}

void CheckBox::Check(bool check)
{
    static_cast<CycleCheckBox *>(Widget())->setCheckState(check ? Qt::Checked : Qt::Unchecked);
}

bool CheckBox::IsChecked() const
{
    return static_cast<CycleCheckBox *>(Widget())->checkState() == Qt::Checked;
}

void CheckBox::Cycle()
{
    static_cast<CycleCheckBox *>(Widget())->Cycle();
}
