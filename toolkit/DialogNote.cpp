// Placing a note below a dialog's controls and growing the dialog to hold it.
#include "toolkit/DialogNote.h"

#include <QDialog>
#include <QLabel>
#include <QTextLayout>

#include <algorithm>

#include "toolkit/Dialog.h"
#include "toolkit/QtText.h"

namespace
{
// The text broken into lines no wider than `width`: between words where it can, anywhere in a
// word longer than a line (a server's address, a path), so that nothing is cut off.
QString Wrapped(QString text, const QFont &font, int width)
{
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        QString shown = text.mid(line.textStart(), line.textLength());
        shown.remove(QChar::LineSeparator);
        lines << shown.trimmed();
    }
    layout.endLayout();
    return lines.join(QLatin1Char('\n'));
}
} // namespace

DialogNote::DialogNote(Dialog *dialog) : Control(dialog, new QLabel), dialog_(dialog)
{
    auto *label = static_cast<QLabel *>(Widget());
    label->setTextFormat(Qt::PlainText);
    label->hide();
}

void DialogNote::SetText(const std::string &text)
{
    auto *label = static_cast<QLabel *>(Widget());
    QDialog *dialog = dialog_->QtDialog();
    const int width = dialog->width();
    const int height = dialog->height() - grownBy_;
    text_ = text;
    grownBy_ = 0;
    if (!text.empty()) {
        const DialogUnits &units = dialog_->Units();
        const int textWidth = std::max(1, width - 2 * units.ToPixelX(kMargin));
        label->setText(Wrapped(ToQt(text), label->font(), textWidth));
        // Read as one text, not as the lines it was broken into.
        label->setAccessibleName(ToQt(text));
        const int textHeight = label->sizeHint().height();
        label->setGeometry(units.ToPixelX(kMargin), height, textWidth, textHeight);
        grownBy_ = textHeight + units.ToPixelY(kMargin);
    }
    label->setVisible(!text.empty());
    dialog->setFixedSize(width, height + grownBy_);
}

std::string DialogNote::GetText() const
{
    return text_;
}
