#include "toolkit/BitmapButton.h"

#include <QPushButton>

#include "toolkit/Bitmap.h"

BitmapButton::BitmapButton(Dialog *dialog, ResId id) : Control(dialog, Kind, id, new QPushButton)
{
    auto *button = static_cast<QPushButton *>(Widget());
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    QObject::connect(button, &QPushButton::clicked, [this] { Click(); });
    if (ResourceEntry() && ResourceEntry()->imageId != 0) {
        SetBitmap(Bitmap(ResId(ResourceEntry()->imageId)));
    }
}

void BitmapButton::SetBitmap(const Bitmap &bitmap)
{
    auto *button = static_cast<QPushButton *>(Widget());
    button->setIcon(QIcon(bitmap.Pixmap()));
    button->setIconSize(button->size());
    button->setAccessibleName(QStringLiteral("Picture"));
}
