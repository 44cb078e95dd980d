// Reads one of the program's own pictures (a PNG or PPM named by its resource path).
#pragma once

#include <QImage>
#include <QString>

namespace ImageFile
{
// The format is taken from the file's suffix and nothing else is tried: letting Qt guess would
// load every image plugin installed on the machine (about a millisecond at start-up) for
// pictures whose format is known. Empty when the file is missing or not in that format.
QImage Read(const QString &path);
} // namespace ImageFile
