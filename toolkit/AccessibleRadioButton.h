// Internal: what assistive tools read of a radio button of ours. Qt calls a checkable button a
// radio button only while Qt keeps its group exclusive; ours leave that to the program's click
// handler, so this interface says radio button itself, with the button's text and check state.
#pragma once

#include <QAccessibleWidget>

class QRadioButton;

namespace toolkit_detail
{

class AccessibleRadioButton : public QAccessibleWidget
{
  public:
    explicit AccessibleRadioButton(QRadioButton *button);
    // Makes Qt ask for this interface for every radio button (once).
    static void Install();

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

  private:
    QRadioButton *Button() const;
};

} // namespace toolkit_detail
