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

#include <algorithm>

#include "toolkit/Window.h"

// The width of the text's widest line.
inline int TextWidth(const QWidget &widget, const QString &text)
{
    int widest = 0;
    for (const QString &line : QString(text).remove(u'&').split(u'\n')) {
        widest = std::max(widest, QFontMetrics(widget.font()).horizontalAdvance(line));
    }
    return widest;
}

inline void ExpectTextsFit(const Window &dialog)
{
    const QWidget *window = dialog.Widget();
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (label->text().isEmpty()) {
            continue; // a picture
        }
        if (label->wordWrap()) { // its lines break to its width: they must fit its height
            EXPECT_LE(label->heightForWidth(label->width()), label->height())
                << label->text().toStdString();
        } else {
            EXPECT_LE(TextWidth(*label, label->text()), label->width())
                << label->text().toStdString();
        }
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
