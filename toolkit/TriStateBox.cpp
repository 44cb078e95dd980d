#include "toolkit/TriStateBox.h"

#include "toolkit/CycleCheckBox.h"

using toolkit_detail::CycleCheckBox;

TriStateBox::TriStateBox(Window *parent) : CheckBox(parent, true) {}

void TriStateBox::SetState(int state)
{
    auto *box = static_cast<CycleCheckBox *>(Widget());
    box->setCheckState(state == STATE_CHECK      ? Qt::Checked
                       : state == STATE_DONTKNOW ? Qt::PartiallyChecked
                                                 : Qt::Unchecked);
}

int TriStateBox::GetState() const
{
    switch (static_cast<CycleCheckBox *>(Widget())->checkState()) {
    case Qt::Checked:
        return STATE_CHECK;
    case Qt::PartiallyChecked:
        return STATE_DONTKNOW;
    default:
        return STATE_NOCHECK;
    }
}

void TriStateBox::EnableTriState(bool enable)
{
    static_cast<CycleCheckBox *>(Widget())->setTristate(enable);
}
