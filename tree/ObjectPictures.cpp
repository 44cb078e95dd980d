// Six object pictures by container, present and open flags.
#include "tree/ObjectPictures.h"

#include <array>

#include "model/ObjectItem.h"
#include "res/ResourceIds.h"

namespace
{
// Never destroyed: a pixmap must not outlive the application object's teardown.
const std::array<Bitmap, 6> &Pictures()
{
    static const auto *pictures =
        new std::array<Bitmap, 6>{Bitmap(ResId(kBitmapConoDele)), Bitmap(ResId(kBitmapConoPres)),
                                  Bitmap(ResId(kBitmapObjDelet)), Bitmap(ResId(kBitmapObjPrese)),
                                  Bitmap(ResId(kBitmapConcDele)), Bitmap(ResId(kBitmapConcPres))};
    return *pictures;
}
} // namespace

ResId ObjectPictures::IdOf(const ObjectItem &object)
{
    const bool present = object.IsPresent();
    if (!object.IsContainer()) {
        return ResId(present ? kBitmapObjPrese : kBitmapObjDelet);
    }
    if (object.IsOpen()) {
        return ResId(present ? kBitmapConoPres : kBitmapConoDele);
    }
    return ResId(present ? kBitmapConcPres : kBitmapConcDele);
}

const Bitmap &ObjectPictures::Of(const DisplayItem &row)
{
    return Pictures()[IdOf(static_cast<const ObjectItem &>(row)).Id() - kBitmapConoDele];
}
