// Placing a note below a dialog's controls and growing the dialog to hold it.
#include "toolkit/DialogNote.h"

#include <QDialog>
#include <QLabel>

#include <algorithm>

#include "toolkit/Dialog.h"
#include "toolkit/QtText.h"

DialogNote::DialogNote(Dialog *dialog) : Control(dialog, new QLabel), dialog_(dialog)
{
    auto *label = static_cast<QLabel *>(Widget());
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->hide();
}

void DialogNote::SetText(const std::string &text)
{
    auto *label = static_cast<QLabel *>(Widget());
    QDialog *dialog = dialog_->QtDialog();
    const int width = dialog->width();
    const int height = dialog->height() - grownBy_;
    label->setText(ToQt(text));
    grownBy_ = 0;
    if (!text.empty()) {
        const DialogUnits &units = dialog_->Units();
        const int textWidth = std::max(1, width - 2 * units.ToPixelX(kMargin));
        const int textHeight = label->heightForWidth(textWidth);
        label->setGeometry(units.ToPixelX(kMargin), height, textWidth, textHeight);
        grownBy_ = textHeight + units.ToPixelY(kMargin);
    }
    label->setVisible(!text.empty());
    dialog->setFixedSize(width, height + grownBy_);
}

std::string DialogNote::GetText() const
{
    return FromQt(static_cast<QLabel *>(Widget())->text());
}
