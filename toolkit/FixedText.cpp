#include "toolkit/FixedText.h"

#include <QLabel>

#include "toolkit/QtText.h"

FixedText::FixedText(Dialog *dialog, ResId id) : Control(dialog, Kind, id, new QLabel)
{
    if (ResourceEntry()) {
        SetText(ResourceEntry()->text);
    }
}

void FixedText::SetText(const std::string &text)
{
    static_cast<QLabel *>(Widget())->setText(ToQt(text));
}
void FixedText::SetWrapping(bool wrap)
{
    static_cast<QLabel *>(Widget())->setWordWrap(wrap);
}

int FixedText::HeightFor(int width) const
{
    const auto *label = static_cast<QLabel *>(Widget());
    return label->wordWrap() ? label->heightForWidth(width) : label->sizeHint().height();
}

std::string FixedText::GetText() const
{
    return FromQt(static_cast<QLabel *>(Widget())->text());
}
