// The application's style: the platform's own, except that the menu bar's overflow button gets an
// arrow drawn here, in the menu bar's text colour, instead of Qt's picture files.
#pragma once

#include <QProxyStyle>

class ToolkitStyle : public QProxyStyle
{
  public:
    ToolkitStyle(); // wraps the style Qt would pick by default (or the one the user asked for)

    // Makes it the application's style; before the first widget, so no other style is built.
    static void Install();

    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;

  private:
    // Every menu bar asks for this icon when it is built. Qt reads it from image files through a
    // lookup that loads every image plugin on the machine, about a millisecond at start-up.
    static QIcon OverflowArrow(bool rightToLeft, const QColor &color);
};
