// Text crosses between the program (UTF-8 std::string) and Qt (QString) only here.
#pragma once

#include <QString>
#include <string>

inline QString ToQt(const std::string &text)
{
    return QString::fromStdString(text);
}
inline std::string FromQt(const QString &text)
{
    return text.toStdString();
}

// "~" marks a mnemonic in resource texts; Qt marks it with "&" (and a literal "&" is doubled).
inline QString MnemonicToQt(const std::string &text)
{
    QString result;
    for (QChar c : ToQt(text)) {
        if (c == u'&') {
            result += QStringLiteral("&&");
        } else if (c == u'~') {
            result += u'&';
        } else {
            result += c;
        }
    }
    return result;
}
