#include "toolkit/BitmapButton.h"

#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "toolkit/Bitmap.h"

namespace
{

// A flat button that draws its picture itself, fitted into the button with its proportions kept
// and centred. A button icon would be scaled down by an area-averaging filter on every first
// paint, which for the splash picture costs more than the rest of the start-up's painting.
class PictureButton : public QPushButton
{
  public:
    void SetPicture(const QPixmap &picture)
    {
        picture_ = picture;
        update();
    }
    const QPixmap &Picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent *) override
    {
        if (picture_.isNull()) {
            return;
        }
        QSize size = picture_.size();
        if (size.width() > width() || size.height() > height()) {
            size.scale(this->size(), Qt::KeepAspectRatio);
        }
        QRect target(QPoint(0, 0), size);
        target.moveCenter(rect().center());
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(target, picture_);
    }

  private:
    QPixmap picture_;
};

} // namespace

BitmapButton::BitmapButton(Dialog *dialog, ResId id) : Control(dialog, Kind, id, new PictureButton)
{
    auto *button = static_cast<PictureButton *>(Widget());
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAccessibleName(QStringLiteral("Picture"));
    QObject::connect(button, &QPushButton::clicked, [this] { Click(); });
    if (ResourceEntry() && ResourceEntry()->imageId != 0) {
        SetBitmap(Bitmap(ResId(ResourceEntry()->imageId)));
    }
}

void BitmapButton::SetBitmap(const Bitmap &bitmap)
{
    static_cast<PictureButton *>(Widget())->SetPicture(bitmap.Pixmap());
}

int BitmapButton::FittedHeight() const
{
    const QPixmap &picture = static_cast<const PictureButton *>(Widget())->Picture();
    if (picture.isNull() || picture.width() == 0) {
        return 0;
    }
    const int width = std::min(picture.width(), GetSizePixel().width);
    return (picture.height() * width + picture.width() - 1) / picture.width();
}

bool BitmapButton::HasPicture() const
{
    return !static_cast<const PictureButton *>(Widget())->Picture().isNull();
}
