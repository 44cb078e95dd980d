// The bitmaps and the icon: names and pixel sizes, and where each picture is compiled in.
#include "res/ResourceIds.h"
#include "res/ResourceParts.h"

std::vector<ImageResource> TarvikBitmaps()
{
    return {
        {kBitmapConoDele, "CONODELE", 16, 12, ":/bitmaps/CONODELE.png"},
        {kBitmapConoPres, "CONOPRES", 16, 12, ":/bitmaps/CONOPRES.png"},
        {kBitmapObjDelet, "objdelet", 12, 12, ":/bitmaps/objdelet.png"},
        {kBitmapObjPrese, "objprese", 12, 12, ":/bitmaps/objprese.png"},
        {kBitmapConcDele, "CONCDELE", 15, 12, ":/bitmaps/CONCDELE.png"},
        {kBitmapConcPres, "CONCPRES", 15, 12, ":/bitmaps/CONCPRES.png"},
        {kBitmapSplash, "SPLASH", 400, 250, ":/bitmaps/SPLASH.ppm"},
        {kBitmapRestFail, "RESTFAIL", 12, 12, ":/bitmaps/RESTFAIL.png"},
        {kBitmapRestGood, "RESTGOOD", 12, 12, ":/bitmaps/RESTGOOD.png"},
    };
}

std::vector<ImageResource> TarvikIcons()
{
    return {{kIconTarvik, "tarvik", 32, 32, ":/icons/tarvik.png"}};
}
