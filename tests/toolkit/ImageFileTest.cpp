// Pictures read by their suffix: binary PPM taken in place, other PPM forms and PNG through Qt's
// readers, and every damaged or mislabelled file read as an empty picture.
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "toolkit/ImageFile.h"

namespace
{

class ImageFileTest : public testing::Test
{
  protected:
    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // Three pixels across, two down: red, green, blue over white, black, grey.
    static QByteArray Pixels()
    {
        return QByteArray::fromHex("ff0000"
                                   "00ff00"
                                   "0000ff"
                                   "ffffff"
                                   "000000"
                                   "808080");
    }

    static void ExpectSixPixels(const QImage &image)
    {
        ASSERT_EQ(image.size(), QSize(3, 2));
        EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(1, 0), qRgb(0, 255, 0));
        EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 255));
        EXPECT_EQ(image.pixel(0, 1), qRgb(255, 255, 255));
        EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 0));
        EXPECT_EQ(image.pixel(2, 1), qRgb(128, 128, 128));
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ImageFileTest, ReadsBinaryAndTextPpmWithTheirPixels)
{
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"plain.ppm", "P6\n3 2\n255\n" + Pixels()},
        {"comment.ppm", "P6 # drawn for the test\n3\t2 255\r" + Pixels()},
        {"trailing.ppm", "P6\n3 2\n255\n" + Pixels() + "extra bytes after the pixels"},
        {"text.ppm", "P3\n3 2\n255\n255 0 0  0 255 0  0 0 255\n255 255 255  0 0 0  128 128 128\n"},
        {"UPPER.PPM", "P6\n3 2\n255\n" + Pixels()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSixPixels(ImageFile::Read(Write(c.name, c.bytes)));
    }
}

TEST_F(ImageFileTest, ReadsPngByItsSuffix)
{
    QImage picture(4, 3, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixel(1, 2, qRgba(10, 20, 30, 255));
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(picture.save(&buffer, "PNG"));

    const QImage read = ImageFile::Read(Write("picture.png", png));
    ASSERT_EQ(read.size(), QSize(4, 3));
    EXPECT_EQ(read.pixel(1, 2), qRgba(10, 20, 30, 255));
    EXPECT_EQ(qAlpha(read.pixel(0, 0)), 0);
}

TEST_F(ImageFileTest, DamagedMissingOrMislabelledFilesReadAsEmpty)
{
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(QImage(2, 2, QImage::Format_RGB32).save(&buffer, "PNG"));
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"truncated.ppm", "P6\n3 2\n255\n" + Pixels().left(17)},
        {"header-only.ppm", "P6\n3 2\n255"},
        {"zero-width.ppm", "P6\n0 2\n255\n"},
        {"huge.ppm", "P6\n99999999 99999999\n255\n" + Pixels()},
        {"negative.ppm", "P6\n-3 2\n255\n" + Pixels()},
        {"empty.ppm", ""},
        {"png-inside.ppm", png},
        {"ppm-inside.png", "P6\n3 2\n255\n" + Pixels()},
        {"garbage.png", "not a picture at all"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(ImageFile::Read(Write(c.name, c.bytes)).isNull());
    }
    EXPECT_TRUE(ImageFile::Read(dir.filePath("missing.ppm")).isNull());
    EXPECT_TRUE(ImageFile::Read(dir.filePath("missing.png")).isNull());
}
