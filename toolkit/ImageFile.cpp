#include "toolkit/ImageFile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cctype>
#include <optional>

namespace
{

constexpr int kMaxSide = 16384;

// Reads the numbers of a binary PPM header ("P6 <width> <height> <maxval>" with blanks and
// comments between them) from the front of the file's bytes.
class PpmHeader
{
  public:
    PpmHeader(const uchar *bytes, qint64 size) : bytes_(bytes), size_(size) {}

    // The pixels' offset, or nothing when this is not a binary PPM with 8-bit samples.
    std::optional<qint64> Parse(int &width, int &height)
    {
        if (size_ < 2 || bytes_[0] != 'P' || bytes_[1] != '6') {
            return std::nullopt;
        }
        pos_ = 2;
        std::optional<int> w = Number();
        std::optional<int> h = Number();
        std::optional<int> maxValue = Number();
        // Exactly one blank ends the header.
        if (!w || !h || maxValue != 255 || pos_ >= size_ || !std::isspace(bytes_[pos_])) {
            return std::nullopt;
        }
        width = *w;
        height = *h;
        return pos_ + 1;
    }

  private:
    void SkipBlanksAndComments()
    {
        while (pos_ < size_ && (std::isspace(bytes_[pos_]) || bytes_[pos_] == '#')) {
            if (bytes_[pos_] == '#') {
                while (pos_ < size_ && bytes_[pos_] != '\n') {
                    ++pos_;
                }
            } else {
                ++pos_;
            }
        }
    }

    std::optional<int> Number()
    {
        SkipBlanksAndComments();
        int value = 0;
        qint64 start = pos_;
        while (pos_ < size_ && std::isdigit(bytes_[pos_]) && value <= kMaxSide) {
            value = value * 10 + (bytes_[pos_++] - '0');
        }
        if (pos_ == start || value < 1 || value > kMaxSide) {
            return std::nullopt;
        }
        return value;
    }

    const uchar *bytes_;
    qint64 size_;
    qint64 pos_ = 0;
};

// The pixels are taken where they lie (a compiled-in resource stored uncompressed is mapped, not
// copied) and converted once; Qt's reader would copy them sample by sample first.
std::optional<QImage> ReadMappedPpm(QFile &file)
{
    const qint64 size = file.size();
    const uchar *bytes = size > 0 ? file.map(0, size) : nullptr;
    if (!bytes) {
        return std::nullopt; // e.g. a compressed resource: leave it to the reader
    }
    int width = 0;
    int height = 0;
    const std::optional<qint64> offset = PpmHeader(bytes, size).Parse(width, height);
    if (!offset) {
        return std::nullopt; // another kind of PPM (text, 16-bit samples): the reader knows them
    }
    const qint64 lineBytes = qint64(width) * 3;
    if (size - *offset < lineBytes * height) {
        return QImage(); // truncated
    }
    const QImage pixels(bytes + *offset, width, height, lineBytes, QImage::Format_RGB888);
    return pixels.convertToFormat(QImage::Format_RGB32); // a copy that outlives the mapping
}

} // namespace

QImage ImageFile::Read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QImage();
    }
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    if (format == "ppm") {
        if (std::optional<QImage> image = ReadMappedPpm(file)) {
            return *image;
        }
    }
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}
