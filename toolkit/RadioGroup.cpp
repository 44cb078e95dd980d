#include "toolkit/RadioGroup.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>

#include "toolkit/RadioButton.h"

class RadioGroup::ArrowKeys : public QObject
{
  public:
    explicit ArrowKeys(std::vector<RadioButton *> buttons) : buttons_(std::move(buttons))
    {
        for (RadioButton *button : buttons_) {
            button->Widget()->installEventFilter(this);
        }
    }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const int key = static_cast<QKeyEvent *>(event)->key();
        int step = 0;
        if (key == Qt::Key_Down || key == Qt::Key_Right) {
            step = 1;
        } else if (key == Qt::Key_Up || key == Qt::Key_Left) {
            step = -1;
        } else {
            return false;
        }
        const int count = static_cast<int>(buttons_.size());
        for (int i = 0; i < count; ++i) {
            if (buttons_[i]->Widget() == watched) {
                // Round the group, skipping choices that cannot be made.
                for (int j = 1; j < count; ++j) {
                    RadioButton *next = buttons_[((i + step * j) % count + count) % count];
                    if (next->IsEnabled()) {
                        auto *widget = static_cast<QAbstractButton *>(next->Widget());
                        widget->setFocus(Qt::TabFocusReason);
                        widget->click();
                        break;
                    }
                }
                return true;
            }
        }
        return false;
    }

  private:
    std::vector<RadioButton *> buttons_;
};

RadioGroup::RadioGroup(std::vector<RadioButton *> buttons)
    : arrows_(std::make_unique<ArrowKeys>(std::move(buttons)))
{
}

RadioGroup::~RadioGroup() = default;
