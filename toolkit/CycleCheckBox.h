// Internal: a Qt check box whose click cycles unchecked -> checked -> third state -> unchecked
// (Qt's own order puts the third state before checked).
#pragma once

#include <QCheckBox>

namespace toolkit_detail
{

class CycleCheckBox : public QCheckBox
{
  public:
    explicit CycleCheckBox(bool triState) { setTristate(triState); }
    void Cycle() { nextCheckState(); }

  protected:
    void nextCheckState() override
    {
        switch (checkState()) {
        case Qt::Unchecked:
            setCheckState(Qt::Checked);
            break;
        case Qt::Checked:
            setCheckState(isTristate() ? Qt::PartiallyChecked : Qt::Unchecked);
            break;
        default:
            setCheckState(Qt::Unchecked);
            break;
        }
    }
};

} // namespace toolkit_detail
