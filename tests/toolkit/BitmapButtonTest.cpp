// A picture button shows its bitmap: a large picture fitted into the button with its proportions
// kept and centred, a small one at its own size in the middle.
#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include "toolkit/Bitmap.h"
#include "toolkit/BitmapButton.h"
#include "toolkit/ModelessDialog.h"
#include "toolkit/Resource.h"

namespace
{

constexpr uint16_t kPictureDialog = 310;
constexpr uint16_t kWide = 311;  // 200 x 50: left half red, right half blue
constexpr uint16_t kSmall = 312; // 10 x 10 green

class BitmapButtonTest : public testing::Test
{
  protected:
    BitmapButtonTest() : previous_(Resources::Installed())
    {
        table_.bitmaps.push_back({kWide, "WIDE", 200, 50, WritePpm("wide.ppm", Wide())});
        QImage small(10, 10, QImage::Format_RGB32);
        small.fill(Qt::green);
        table_.bitmaps.push_back({kSmall, "SMALL", 10, 10, WritePpm("small.ppm", small)});
        table_.dialogs.push_back({kPictureDialog,
                                  false,
                                  "",
                                  0,
                                  0,
                                  100,
                                  100,
                                  {{ControlKind::BitmapButton, 1, 0, 0, 40, 40, "", 0, kWide},
                                   {ControlKind::BitmapButton, 2, 0, 0, 40, 40, "", 0, 0}}});
        Resources::Install(&table_);
    }
    ~BitmapButtonTest() override { Resources::Install(previous_); }

    static QImage Wide()
    {
        QImage wide(200, 50, QImage::Format_RGB32);
        wide.fill(Qt::blue);
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < 100; ++x) {
                wide.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
        return wide;
    }

    std::string WritePpm(const QString &name, const QImage &image)
    {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(image.save(path, "PPM"));
        return path.toStdString();
    }

    // The button drawn on a white ground, as the dialog would show it.
    static QImage Drawn(BitmapButton &button, Size size)
    {
        button.SetSizePixel(size);
        QImage image(size.width, size.height, QImage::Format_RGB32);
        image.fill(Qt::white);
        button.Widget()->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }

    static bool Near(QRgb pixel, QColor wanted)
    {
        return std::abs(qRed(pixel) - wanted.red()) < 40 &&
               std::abs(qGreen(pixel) - wanted.green()) < 40 &&
               std::abs(qBlue(pixel) - wanted.blue()) < 40;
    }

    QTemporaryDir dir_;
    ResourceTable table_;
    const ResourceTable *previous_;
};

} // namespace

TEST_F(BitmapButtonTest, ALargePictureIsFittedWithItsProportionsAndCentred)
{
    ModelessDialog dialog(nullptr, ResId(kPictureDialog));
    BitmapButton button(&dialog, ResId(1));
    ASSERT_TRUE(button.HasPicture());

    // 200 x 50 into 100 x 100: 100 x 25, rows 37 to 61.
    const QImage image = Drawn(button, {100, 100});
    EXPECT_TRUE(Near(image.pixel(10, 49), Qt::red));
    EXPECT_TRUE(Near(image.pixel(90, 49), Qt::blue));
    EXPECT_TRUE(Near(image.pixel(50, 10), Qt::white)) << "above the picture";
    EXPECT_TRUE(Near(image.pixel(50, 90), Qt::white)) << "below the picture";
    EXPECT_TRUE(Near(image.pixel(10, 40), Qt::red));
    EXPECT_TRUE(Near(image.pixel(10, 33), Qt::white));
}

TEST_F(BitmapButtonTest, ASmallPictureKeepsItsSizeInTheMiddle)
{
    ModelessDialog dialog(nullptr, ResId(kPictureDialog));
    BitmapButton button(&dialog, ResId(2));
    EXPECT_FALSE(button.HasPicture()) << "the resource names no picture";
    button.SetBitmap(Bitmap(ResId(kSmall)));
    ASSERT_TRUE(button.HasPicture());

    // 10 x 10 in 60 x 40: columns 25 to 34, rows 15 to 24.
    const QImage image = Drawn(button, {60, 40});
    for (QPoint inside : {QPoint(25, 15), QPoint(34, 24), QPoint(30, 20)}) {
        EXPECT_EQ(image.pixel(inside), qRgb(0, 255, 0)) << inside.x() << "," << inside.y();
    }
    for (QPoint outside : {QPoint(24, 20), QPoint(35, 20), QPoint(30, 14), QPoint(30, 25)}) {
        EXPECT_NE(image.pixel(outside), qRgb(0, 255, 0)) << outside.x() << "," << outside.y();
    }
}
