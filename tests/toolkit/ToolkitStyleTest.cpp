// The program's style: the menu bar's overflow button shows the arrow drawn by the style, in
// every size a tool button asks for; all other icons come from the underlying style.
#include <QApplication>
#include <QMenuBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "toolkit/ToolkitStyle.h"

namespace
{
// Pixels the arrow actually covers, so an empty or transparent picture is caught.
int InkedPixels(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int inked = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            inked += qAlpha(image.pixel(x, y)) > 64 ? 1 : 0;
        }
    }
    return inked;
}
} // namespace

TEST(ToolkitStyle, TheMenuBarOverflowButtonShowsTheDrawnArrow)
{
    ASSERT_NE(dynamic_cast<ToolkitStyle *>(QApplication::style()), nullptr)
        << "the test main installs the program's style";
    QMenuBar bar;
    auto *overflow = bar.findChild<QToolButton *>(QStringLiteral("qt_menubar_ext_button"));
    ASSERT_NE(overflow, nullptr);
    const QIcon icon = overflow->icon();
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{8, 8}, {16, 16}, {32, 32}}));
    for (QSize size : icon.availableSizes()) {
        const int inked = InkedPixels(icon.pixmap(size));
        EXPECT_GT(inked, size.width()) << size.width();
        EXPECT_LT(inked, size.width() * size.height() / 2) << size.width();
    }
}

TEST(ToolkitStyle, MirrorsTheArrowForRightToLeftAndLeavesOtherIconsToTheBaseStyle)
{
    ToolkitStyle style;
    QWidget leftToRight;
    QWidget rightToLeft;
    rightToLeft.setLayoutDirection(Qt::RightToLeft);
    const QImage forward =
        style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, &leftToRight)
            .pixmap(16, 16)
            .toImage();
    const QImage backward =
        style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, &rightToLeft)
            .pixmap(16, 16)
            .toImage();
    // Antialiasing may differ by a shade between the two; the shapes must be mirror images.
    const QImage mirrored = forward.mirrored(true, false);
    int mismatched = 0;
    int unlikeUnmirrored = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            mismatched +=
                std::abs(qAlpha(mirrored.pixel(x, y)) - qAlpha(backward.pixel(x, y))) > 96;
            unlikeUnmirrored +=
                std::abs(qAlpha(forward.pixel(x, y)) - qAlpha(backward.pixel(x, y))) > 96;
        }
    }
    EXPECT_EQ(mismatched, 0);
    EXPECT_GT(unlikeUnmirrored, 8) << "the arrow must point the other way";

    EXPECT_FALSE(style.standardIcon(QStyle::SP_MessageBoxWarning).isNull());
    EXPECT_EQ(style.standardIcon(QStyle::SP_MessageBoxWarning).availableSizes(),
              style.baseStyle()->standardIcon(QStyle::SP_MessageBoxWarning).availableSizes());
}

// On a dark palette a black arrow cannot be seen: it takes the menu bar's text colour.
TEST(ToolkitStyle, TheOverflowArrowTakesTheMenuBarsTextColour)
{
    for (const QColor text : {QColor(Qt::white), QColor(20, 20, 20)}) {
        QWidget window;
        QPalette palette = window.palette();
        palette.setColor(QPalette::ButtonText, text);
        palette.setColor(QPalette::WindowText, text);
        window.setPalette(palette);
        QMenuBar bar(&window);
        auto *overflow = bar.findChild<QToolButton *>(QStringLiteral("qt_menubar_ext_button"));
        ASSERT_NE(overflow, nullptr);
        const QImage image =
            overflow->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.alpha() == 255) {
                    ++opaque;
                    EXPECT_EQ(pixel.rgb(), text.rgb()) << x << "," << y;
                }
            }
        }
        EXPECT_GT(opaque, 0);
    }
}
