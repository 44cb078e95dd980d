#include "toolkit/FixedText.h"

#include <QLabel>
#include <QResizeEvent>

#include "toolkit/QtText.h"

namespace
{
// A label that can show its text cut in the middle to fit its width.
class FittingLabel : public QLabel
{
  public:
    void SetWhole(const QString &text)
    {
        whole_ = text;
        Fit();
    }
    const QString &Whole() const { return whole_; }
    void ElideInMiddle()
    {
        elide_ = true;
        Fit();
    }

  protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QLabel::resizeEvent(event);
        if (elide_) {
            Fit();
        }
    }

  private:
    void Fit()
    {
        if (!elide_) {
            setText(whole_);
            return;
        }
        const QString shown =
            fontMetrics().elidedText(whole_, Qt::ElideMiddle, contentsRect().width());
        setText(shown);
        setToolTip(shown == whole_ ? QString() : whole_);
        // Assistive tools read the whole text, not the cut one.
        setAccessibleName(shown == whole_ ? QString() : whole_);
    }

    QString whole_;
    bool elide_ = false;
};

FittingLabel *LabelOf(QWidget *widget)
{
    return static_cast<FittingLabel *>(widget);
}
} // namespace

FixedText::FixedText(Dialog *dialog, ResId id) : Control(dialog, Kind, id, new FittingLabel)
{
    if (ResourceEntry()) {
        SetText(ResourceEntry()->text);
    }
}

void FixedText::SetText(const std::string &text)
{
    LabelOf(Widget())->SetWhole(ToQt(text));
}

void FixedText::SetWrapping(bool wrap)
{
    LabelOf(Widget())->setWordWrap(wrap);
}

int FixedText::HeightFor(int width) const
{
    const QLabel *label = LabelOf(Widget());
    return label->wordWrap() ? label->heightForWidth(width) : label->sizeHint().height();
}

std::string FixedText::GetText() const
{
    return FromQt(LabelOf(Widget())->Whole());
}

void FixedText::SetElidedInMiddle()
{
    LabelOf(Widget())->ElideInMiddle();
}

std::string FixedText::ShownText() const
{
    return FromQt(LabelOf(Widget())->text());
}
