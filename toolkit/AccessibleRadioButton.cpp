#include "toolkit/AccessibleRadioButton.h"

#include <QRadioButton>
#include <QRegularExpression>

namespace toolkit_detail
{

namespace
{
QAccessibleInterface *RadioFactory(const QString &, QObject *object)
{
    if (auto *button = qobject_cast<QRadioButton *>(object)) {
        return new AccessibleRadioButton(button);
    }
    return nullptr;
}
} // namespace

AccessibleRadioButton::AccessibleRadioButton(QRadioButton *button)
    : QAccessibleWidget(button, QAccessible::RadioButton)
{
}

void AccessibleRadioButton::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(RadioFactory);
        return true;
    }();
    (void)installed;
}

QRadioButton *AccessibleRadioButton::Button() const
{
    return static_cast<QRadioButton *>(widget());
}

QString AccessibleRadioButton::text(QAccessible::Text t) const
{
    QString text = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && text.isEmpty()) {
        text = Button()->text();
        text.remove(QRegularExpression(QStringLiteral("&(?!&)"))); // the mnemonic's mark
    }
    return text;
}

QAccessible::State AccessibleRadioButton::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = Button()->isChecked();
    return state;
}

QStringList AccessibleRadioButton::actionNames() const
{
    return {pressAction()};
}

void AccessibleRadioButton::doAction(const QString &actionName)
{
    if (actionName == pressAction() && Button()->isEnabled()) {
        Button()->click();
    }
}

} // namespace toolkit_detail
