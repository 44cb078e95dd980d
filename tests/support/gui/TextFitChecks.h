// Test check: every text of a dialog is shown whole, in the font its control uses (fixed texts,
// radio buttons with their mark, and the captions of text buttons).
#pragma once

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <gtest/gtest.h>

#include "toolkit/Window.h"

inline int TextWidth(const QWidget &widget, const QString &text)
{
    return QFontMetrics(widget.font()).horizontalAdvance(QString(text).remove(u'&'));
}

inline void ExpectTextsFit(const Window &dialog)
{
    const QWidget *window = dialog.Widget();
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (label->text().isEmpty()) {
            continue; // a picture
        }
        EXPECT_LE(TextWidth(*label, label->text()), label->width()) << label->text().toStdString();
        EXPECT_LE(label->geometry().right(), window->width()) << label->text().toStdString();
    }
    for (const QRadioButton *radio : window->findChildren<QRadioButton *>()) {
        EXPECT_LE(radio->sizeHint().width(), radio->width()) << radio->text().toStdString();
    }
    for (const QPushButton *button : window->findChildren<QPushButton *>()) {
        if (button->text().isEmpty()) {
            continue; // a picture
        }
        EXPECT_LT(TextWidth(*button, button->text()), button->width())
            << button->text().toStdString();
    }
}
