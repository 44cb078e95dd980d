#include "toolkit/MultiLineEdit.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include "toolkit/QtText.h"

namespace
{
QPlainTextEdit *EditOf(QWidget *widget)
{
    return static_cast<QPlainTextEdit *>(widget);
}
} // namespace

MultiLineEdit::MultiLineEdit(Dialog *dialog, ResId id)
    : Control(dialog, Kind, id, new QPlainTextEdit)
{
    if (ResourceEntry()) {
        SetText(ResourceEntry()->text);
    }
}

void MultiLineEdit::SetText(const std::string &text)
{
    // Line breaks of the resource texts are CR LF; the edit shows each as one break.
    QString qtext = ToQt(text);
    qtext.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EditOf(Widget())->setPlainText(qtext);
}

std::string MultiLineEdit::GetText() const
{
    return FromQt(EditOf(Widget())->toPlainText());
}

void MultiLineEdit::SetSelection(int start, int end)
{
    QTextCursor cursor = EditOf(Widget())->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    EditOf(Widget())->setTextCursor(cursor);
}

void MultiLineEdit::SetReadOnly(bool readOnly)
{
    QPlainTextEdit *edit = EditOf(Widget());
    edit->setReadOnly(readOnly);
    if (readOnly) {
        edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
}

bool MultiLineEdit::IsReadOnly() const
{
    return EditOf(Widget())->isReadOnly();
}

int MultiLineEdit::SelectionStart() const
{
    return EditOf(Widget())->textCursor().selectionStart();
}
int MultiLineEdit::SelectionEnd() const
{
    return EditOf(Widget())->textCursor().selectionEnd();
}
