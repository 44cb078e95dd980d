// The pictures of the tree view's rows: a container or a leaf, present or deleted, open or closed.
#pragma once

#include "toolkit/Bitmap.h"
#include "toolkit/ResId.h"

class DisplayItem;
class ObjectItem;

class ObjectPictures
{
  public:
    // The picture's resource for the object's container, present and open flags.
    static ResId IdOf(const ObjectItem &object);
    // The picture of a row of the tree view (every row there is an object). The six pictures are
    // loaded together on first use and kept for the program's life.
    static const Bitmap &Of(const DisplayItem &row);
};
