// Draws the program's bitmaps and icon into res/bitmaps and res/icons. Not part of the build;
// run it by hand after changing a picture:
//   g++ -std=c++20 -fPIC tools/draw-bitmaps.cpp $(pkg-config --cflags --libs Qt6Gui)
//       -o /tmp/draw-bitmaps && QT_QPA_PLATFORM=offscreen /tmp/draw-bitmaps res
// The small pictures are pixel art on a transparent background (at most 16 colours), so they
// stay crisp and sit on light and dark themes alike.
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

namespace
{

using Art = std::vector<const char *>;
using Palette = std::map<char, QColor>;

// Folder and document in colour; '.' is transparent everywhere.
const Palette kPresent = {
    {'o', QColor(0x8a, 0x5e, 0x00)}, // outline
    {'B', QColor(0xe0, 0xa8, 0x28)}, // back of a folder
    {'Y', QColor(0xf8, 0xcc, 0x4c)}, // front of a folder
    {'L', QColor(0xff, 0xe8, 0x98)}, // highlight
    {'d', QColor(0x5a, 0x5a, 0x6a)}, // document outline
    {'W', QColor(0xff, 0xff, 0xff)}, // paper
    {'l', QColor(0x6c, 0x8c, 0xc8)}, // text lines
    {'f', QColor(0xd8, 0xd8, 0xe0)}, // folded corner
};

// The same pictures greyed out, for objects that exist only in the backup.
const Palette kDeleted = {
    {'o', QColor(0x70, 0x70, 0x70)}, {'B', QColor(0xa8, 0xa8, 0xa8)},
    {'Y', QColor(0xc4, 0xc4, 0xc4)}, {'L', QColor(0xdc, 0xdc, 0xdc)},
    {'d', QColor(0x70, 0x70, 0x70)}, {'W', QColor(0xe8, 0xe8, 0xe8)},
    {'l', QColor(0xa8, 0xa8, 0xa8)}, {'f', QColor(0xc8, 0xc8, 0xc8)},
};

// The red cross of a deleted object and of a failed restore.
const Palette kCross = {
    {'r', QColor(0xe0, 0x20, 0x20)},
    {'R', QColor(0x98, 0x10, 0x10)}, // edge, so the cross reads on light backgrounds
    {'w', QColor(0xff, 0xff, 0xff)},
};

const Art kClosedFolder = {
    // 15 x 12
    "...............", //
    ".ooooo.........", //
    "oLLLLLo........", //
    "oBBBBBBoooooooo", //
    "oLLLLLLLLLLLLLo", //
    "oYYYYYYYYYYYYYo", //
    "oYYYYYYYYYYYYYo", //
    "oYYYYYYYYYYYYYo", //
    "oYYYYYYYYYYYYYo", //
    "oYYYYYYYYYYYYYo", //
    "oBBBBBBBBBBBBBo", //
    "ooooooooooooooo", //
};

const Art kOpenFolder = {
    // 16 x 12
    "................", //
    ".ooooo..........", //
    "oBBBBBo.........", //
    "oBBBBBBoooooooo.", //
    "oBBBBBBBBBBBBBo.", //
    "oBBBoooooooooooo", //
    "oBBBoLLLLLLLLLLo", //
    "oBBBoYYYYYYYYYYo", //
    "oBBoYYYYYYYYYYo.", //
    "oBBoYYYYYYYYYYo.", //
    "oBoYYYYYYYYYYo..", //
    "oooooooooooooo..", //
};

const Art kDocument = {
    // 12 x 12
    ".ddddddd....", //
    ".dWWWWWdd...", //
    ".dWWWWWdfd..", //
    ".dWWWWWdddd.", //
    ".dWWWWWWWWd.", //
    ".dWllllllWd.", //
    ".dWWWWWWWWd.", //
    ".dWlllllWWd.", //
    ".dWWWWWWWWd.", //
    ".dWllllllWd.", //
    ".dWWWWWWWWd.", //
    ".dddddddddd.", //
};

// Laid over the lower right corner of a greyed picture.
const Art kDeletedBadge = {
    // 8 x 8
    "RR....RR", //
    "RrR..RrR", //
    ".RrRRrR.", //
    "..RrrR..", //
    "..RrrR..", //
    ".RrRRrR.", //
    "RrR..RrR", //
    "RR....RR", //
};

const Art kFailure = {
    // 12 x 12
    "............", //
    ".RR......RR.", //
    ".RrR....RrR.", //
    "..RrR..RrR..", //
    "...RrRRrR...", //
    "....RrrR....", //
    "....RrrR....", //
    "...RrRRrR...", //
    "..RrR..RrR..", //
    ".RrR....RrR.", //
    ".RR......RR.", //
    "............", //
};

// The restore sign of the program icon: a counter-clockwise arrow.
const Art kRestoreArrow = {
    // 16 x 14
    ".....ggg........", //
    "...ggggg....g...", //
    "..gggggg...ggg..", //
    ".gggg.....ggggg.", //
    ".ggg.....ggggggg", //
    "ggg........ggg..", //
    "ggg........ggg..", //
    "ggg........ggg..", //
    "ggg........ggg..", //
    ".ggg......ggg...", //
    ".gggg....gggg...", //
    "..gggggggggg....", //
    "...gggggggg.....", //
    ".....gggg.......", //
};

const Palette kGreen = {{'g', QColor(0x20, 0xa0, 0x3c)}};

QImage Blank(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void Put(QImage &image, const Art &art, const Palette &palette, int left = 0, int top = 0)
{
    for (int y = 0; y < int(art.size()); ++y) {
        for (int x = 0; art[y][x] != '\0'; ++x) {
            auto colour = palette.find(art[y][x]);
            if (colour != palette.end()) {
                image.setPixelColor(left + x, top + y, colour->second);
            }
        }
    }
}

QImage Sprite(int width, int height, const Art &art, const Palette &palette)
{
    QImage image = Blank(width, height);
    Put(image, art, palette);
    return image;
}

QImage DeletedSprite(int width, int height, const Art &art)
{
    QImage image = Sprite(width, height, art, kDeleted);
    Put(image, kDeletedBadge, kCross, width - 8, height - 8);
    return image;
}

// A smooth green tick: the one picture stored with full colour.
QImage Success()
{
    QImage image = Blank(12, 12);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath tick;
    tick.moveTo(1.8, 6.4);
    tick.lineTo(4.6, 9.4);
    tick.lineTo(10.3, 2.2);
    painter.setPen(QPen(QColor(0x0e, 0x5e, 0x1e), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
    painter.setPen(QPen(QColor(0x2c, 0xb8, 0x48), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
    return image;
}

// A counter-clockwise arrow around `centre`, open at the top with its head pointing left: the
// sign for bringing something back.
void DrawRestoreArrow(QPainter &painter, QPointF centre, qreal radius, qreal width,
                      const QColor &colour)
{
    const qreal start = 130, span = 290; // degrees, counter-clockwise from three o'clock
    QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(circle, int(start * 16), int(span * 16));

    const qreal end = qDegreesToRadians(start + span);
    const QPointF tail = centre + radius * QPointF(std::cos(end), -std::sin(end));
    const QPointF along(-std::sin(end), -std::cos(end)); // direction of travel on the screen
    const QPointF across(along.y(), -along.x());
    const qreal head = width * 1.7;
    QPolygonF arrow({tail + along * head * 1.2, tail + across * head, tail - across * head});
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(arrow);
}

// The program icon: an open container holding a document, with the restore arrow.
QImage ProgramIcon()
{
    QImage image = Blank(32, 32);
    Put(image, kOpenFolder, kPresent, 0, 2);
    Put(image, kDocument, kPresent, 16, 17);
    Put(image, kRestoreArrow, kGreen, 16, 0);
    QPainter painter(&image);
    painter.setPen(QColor(0x5a, 0x5a, 0x6a));
    painter.drawLine(4, 14, 4, 23);
    painter.drawLine(4, 23, 15, 23);
    return image;
}

QImage Scaled(const QImage &image, int factor)
{
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// The outline tree on the left of the splash picture, drawn from the program's own pictures.
void DrawSplashTree(QPainter &painter)
{
    struct Row {
        int level;
        QImage picture;
    };
    const std::vector<Row> rows = {
        {0, Sprite(16, 12, kOpenFolder, kPresent)},   {1, Sprite(16, 12, kOpenFolder, kPresent)},
        {2, Sprite(12, 12, kDocument, kPresent)},     {2, DeletedSprite(12, 12, kDocument)},
        {1, Sprite(15, 12, kClosedFolder, kPresent)}, {1, DeletedSprite(15, 12, kClosedFolder)},
        {1, Sprite(12, 12, kDocument, kPresent)},
    };
    const int left = 28, top = 34, step = 28, indent = 30;
    painter.setPen(QPen(QColor(0x9c, 0xb8, 0xd4), 2));
    for (int i = 0; i < int(rows.size()); ++i) {
        const int x = left + rows[i].level * indent, y = top + i * step;
        if (rows[i].level > 0) {
            int parent = i - 1;
            while (rows[parent].level >= rows[i].level) {
                --parent;
            }
            const int stem = left + rows[parent].level * indent + 12;
            painter.drawLine(stem, top + parent * step + 26, stem, y + 12);
            painter.drawLine(stem, y + 12, x - 4, y + 12);
        }
        painter.drawImage(x, y, Scaled(rows[i].picture, 2));
    }
}

void DrawSplashText(QPainter &painter)
{
    // The name as large as fits beside the tree, whatever the font's metrics.
    const QRect name(172, 66, 216, 84);
    QFont title("DejaVu Sans");
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    for (int size = 64; size > 12; --size) {
        title.setPixelSize(size);
        if (QFontMetrics(title).horizontalAdvance("TARVIK") <= name.width()) {
            break;
        }
    }
    painter.setFont(title);
    painter.setPen(QColor(0x00, 0x00, 0x00, 0x60));
    painter.drawText(name.translated(3, 3), Qt::AlignCenter, "TARVIK");
    painter.setPen(Qt::white);
    painter.drawText(name, Qt::AlignCenter, "TARVIK");

    painter.setPen(QPen(QColor(0x4c, 0xd0, 0x6c), 3));
    painter.drawLine(205, 152, 355, 152);

    QFont tagline("DejaVu Sans");
    tagline.setPixelSize(15);
    painter.setFont(tagline);
    painter.setPen(QColor(0xd8, 0xe8, 0xf8));
    painter.drawText(QRect(165, 160, 230, 44), Qt::AlignHCenter | Qt::AlignTop,
                     "Browse the directory.\nRestore what was lost.");

    QFont maker("DejaVu Sans");
    maker.setPixelSize(11);
    painter.setFont(maker);
    painter.setPen(QColor(0x9c, 0xb8, 0xd4));
    painter.drawText(QRect(0, 226, 388, 16), Qt::AlignRight | Qt::AlignVCenter, "Marrowby");
}

QImage Splash()
{
    QImage image(400, 250, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 250);
    sky.setColorAt(0, QColor(0x1c, 0x46, 0x70));
    sky.setColorAt(1, QColor(0x0a, 0x1a, 0x2e));
    painter.fillRect(image.rect(), sky);
    QRadialGradient glow(QPointF(282, 112), 150);
    glow.setColorAt(0, QColor(0x40, 0x90, 0xc0, 0x50));
    glow.setColorAt(1, QColor(0x40, 0x90, 0xc0, 0x00));
    painter.fillRect(image.rect(), glow);
    DrawRestoreArrow(painter, QPointF(282, 108), 92, 10, QColor(0x4c, 0xd0, 0x6c, 0x38));
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawSplashTree(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawSplashText(painter);
    painter.setPen(QColor(0x4c, 0x80, 0xb0));
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

bool Save(const QImage &image, const QString &path)
{
    if (!image.save(path)) { // the format goes by the suffix
        std::fprintf(stderr, "draw-bitmaps: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw-bitmaps <res directory>\n");
        return 2;
    }
    const QDir res(QString::fromLocal8Bit(argv[1]));
    if (!res.mkpath("bitmaps") || !res.mkpath("icons")) {
        std::fprintf(stderr, "draw-bitmaps: cannot create the picture folders\n");
        return 1;
    }
    const std::vector<std::pair<QString, QImage>> pictures = {
        {"bitmaps/CONODELE.png", DeletedSprite(16, 12, kOpenFolder)},
        {"bitmaps/CONOPRES.png", Sprite(16, 12, kOpenFolder, kPresent)},
        {"bitmaps/objdelet.png", DeletedSprite(12, 12, kDocument)},
        {"bitmaps/objprese.png", Sprite(12, 12, kDocument, kPresent)},
        {"bitmaps/CONCDELE.png", DeletedSprite(15, 12, kClosedFolder)},
        {"bitmaps/CONCPRES.png", Sprite(15, 12, kClosedFolder, kPresent)},
        {"bitmaps/SPLASH.ppm", Splash()}, // plain pixels: shown at start-up, read at once
        {"bitmaps/RESTFAIL.png", Sprite(12, 12, kFailure, kCross)},
        {"bitmaps/RESTGOOD.png", Success()},
        {"icons/tarvik.png", ProgramIcon()},
    };
    bool saved = true;
    for (const auto &[name, image] : pictures) {
        saved = Save(image, res.filePath(name)) && saved;
    }
    return saved ? 0 : 1;
}
