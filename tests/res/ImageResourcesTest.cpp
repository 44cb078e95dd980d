// The bitmaps and the icon load from the compiled-in pictures with exactly their sizes.
#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

#include "res/ResourceIds.h"
#include "tests/res/InstalledResources.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Icon.h"
#include "toolkit/Resource.h"

namespace
{

struct ExpectedImage {
    uint16_t id;
    std::string name;
    int width, height;
};

const std::vector<ExpectedImage> kBitmaps = {
    {256, "CONODELE", 16, 12}, {257, "CONOPRES", 16, 12}, {258, "objdelet", 12, 12},
    {259, "objprese", 12, 12}, {260, "CONCDELE", 15, 12}, {261, "CONCPRES", 15, 12},
    {262, "SPLASH", 400, 250}, {263, "RESTFAIL", 12, 12}, {264, "RESTGOOD", 12, 12},
};

bool CornerIsTransparent(const QPixmap &pixmap)
{
    return pixmap.toImage().pixelColor(0, 0).alpha() == 0;
}

class ImageResources : public InstalledResources
{
};

TEST_F(ImageResources, EveryBitmapLoadsWithItsNameAndExactSize)
{
    for (const ExpectedImage &expected : kBitmaps) {
        SCOPED_TRACE(expected.name);
        const ImageResource *resource = Resources::Bitmap(ResId(expected.id));
        ASSERT_NE(resource, nullptr);
        EXPECT_EQ(resource->name, expected.name);
        EXPECT_EQ(resource->width, expected.width);
        EXPECT_EQ(resource->height, expected.height);
        const Bitmap bitmap{ResId(expected.id)};
        ASSERT_FALSE(bitmap.IsEmpty()) << resource->path;
        EXPECT_EQ(bitmap.Width(), expected.width);
        EXPECT_EQ(bitmap.Height(), expected.height);
    }
    EXPECT_EQ(TarvikResources().bitmaps.size(), kBitmaps.size());
}

TEST_F(ImageResources, ProgramIconLoadsAt32By32AndAtTheThemeSizes)
{
    const ImageResource *resource = Resources::Icon(ResId(kIconTarvik));
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(resource->name, "tarvik");
    EXPECT_EQ(resource->width, 32);
    EXPECT_EQ(resource->height, 32);
    const Icon icon{ResId(kIconTarvik)};
    ASSERT_FALSE(icon.IsEmpty()) << resource->path;
    QList<int> sizes;
    for (const QSize &size : icon.QtIcon().availableSizes()) {
        EXPECT_EQ(size.width(), size.height());
        sizes.append(size.width());
    }
    std::sort(sizes.begin(), sizes.end());
    // Drawn for each size a title bar or panel asks for up to scale 2, so that it shows crisp.
    EXPECT_EQ(sizes, (QList<int>{16, 32, 48, 64}));
    EXPECT_TRUE(CornerIsTransparent(icon.QtIcon().pixmap(QSize(64, 64))));
    EXPECT_TRUE(CornerIsTransparent(icon.QtIcon().pixmap(QSize(32, 32))));
}

// Tree rows and result lines sit on the theme's background, light or dark.
TEST_F(ImageResources, SmallPicturesHaveATransparentBackground)
{
    for (const ImageResource &resource : TarvikResources().bitmaps) {
        if (resource.id == kBitmapSplash) {
            continue;
        }
        SCOPED_TRACE(resource.name);
        const Bitmap bitmap{ResId(resource.id)};
        ASSERT_FALSE(bitmap.IsEmpty());
        EXPECT_TRUE(bitmap.Pixmap().hasAlphaChannel());
        EXPECT_TRUE(CornerIsTransparent(bitmap.Pixmap()));
    }
}

// Each id shows a picture of its own: a deleted object never looks like a present one.
TEST_F(ImageResources, EveryBitmapIsADifferentPicture)
{
    std::set<std::string> paths;
    std::vector<QImage> images;
    for (const ImageResource &resource : TarvikResources().bitmaps) {
        EXPECT_TRUE(paths.insert(resource.path).second) << resource.path;
        images.push_back(Bitmap(ResId(resource.id)).Pixmap().toImage());
    }
    for (size_t i = 0; i < images.size(); ++i) {
        for (size_t j = i + 1; j < images.size(); ++j) {
            EXPECT_NE(images[i], images[j]) << TarvikResources().bitmaps[i].name << " and "
                                            << TarvikResources().bitmaps[j].name;
        }
    }
}

} // namespace
