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
std::string FixedText::GetText() const
{
    return FromQt(static_cast<QLabel *>(Widget())->text());
}
