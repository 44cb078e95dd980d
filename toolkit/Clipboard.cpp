#include "toolkit/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "toolkit/QtText.h"

void Clipboard::SetText(const std::string &text)
{
    QGuiApplication::clipboard()->setText(ToQt(text));
}

std::string Clipboard::GetText()
{
    return FromQt(QGuiApplication::clipboard()->text());
}
