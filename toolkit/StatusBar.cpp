#include "toolkit/StatusBar.h"

#include <QFrame>
#include <QLabel>
#include <QStatusBar>
#include <QWidget>

#include "toolkit/EventDispatcher.h"

#include "toolkit/QtText.h"

namespace
{

Qt::Alignment AlignmentOf(int style)
{
    if (style & SIB_RIGHT) {
        return Qt::AlignRight | Qt::AlignVCenter;
    }
    if (style & SIB_CENTER) {
        return Qt::AlignCenter;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QLabel *MakeLabel(QWidget *parent, Qt::Alignment alignment)
{
    auto *label = new QLabel(parent);
    label->setAlignment(alignment);
    label->setIndent(3);
    return label;
}

} // namespace

// A status bar widget (with no size grip: the bar arranges its fields itself), so that assistive
// tools find it by its role, as a screen reader's "read the status bar" command does.
StatusBar::StatusBar(Window *parent, int)
    : Window(parent,
             new toolkit_detail::EventDispatcher<QStatusBar>(this,
                                                             parent ? parent->Widget() : nullptr),
             AdoptWidget{})
{
    static_cast<QStatusBar *>(Widget())->setSizeGripEnabled(false);
    Widget()->setBackgroundRole(QPalette::Window);
    Widget()->setAutoFillBackground(true);
    Widget()->setAccessibleName(QStringLiteral("Status bar"));
    text_ = MakeLabel(Widget(), Qt::AlignLeft | Qt::AlignVCenter);
    help_ = MakeLabel(Widget(), Qt::AlignLeft | Qt::AlignVCenter);
    help_->hide();
}

StatusBar::~StatusBar() = default;

void StatusBar::InsertItem(uint16_t id, int width, int style, int offset)
{
    QLabel *label = MakeLabel(Widget(), AlignmentOf(style));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    items_.push_back({id, width, offset, label});
    Arrange();
}

QLabel *StatusBar::ItemLabel(uint16_t id) const
{
    for (const Item &item : items_) {
        if (item.id == id) {
            return item.label;
        }
    }
    return nullptr;
}

void StatusBar::SetItemText(uint16_t id, const std::string &text)
{
    if (QLabel *label = ItemLabel(id)) {
        label->setText(ToQt(text));
        label->setAccessibleName(ToQt(text));
    }
}

std::string StatusBar::GetItemText(uint16_t id) const
{
    QLabel *label = ItemLabel(id);
    return label ? FromQt(label->text()) : std::string();
}

void StatusBar::SetText(const std::string &text)
{
    text_->setText(ToQt(text));
}
std::string StatusBar::GetText() const
{
    return FromQt(text_->text());
}

void StatusBar::ShowHelpText(const std::string &text)
{
    help_->setText(ToQt(text));
    bool showHelp = !text.empty();
    help_->setVisible(showHelp);
    text_->setVisible(!showHelp);
    for (const Item &item : items_) {
        item.label->setVisible(!showHelp);
    }
}

std::string StatusBar::GetHelpText() const
{
    return FromQt(help_->text());
}

void StatusBar::Resize()
{
    Arrange();
}

// The fields stand at the right end in the order they were inserted, each after its offset;
// the bar's own text takes what is left at the left.
void StatusBar::Arrange()
{
    Size size = GetOutputSizePixel();
    int fieldsWidth = 0;
    for (const Item &item : items_) {
        fieldsWidth += item.offset + item.width;
    }
    int x = std::max(0, size.width - fieldsWidth);
    text_->setGeometry(0, 0, x, size.height);
    help_->setGeometry(0, 0, size.width, size.height);
    for (const Item &item : items_) {
        x += item.offset;
        item.label->setGeometry(x, 1, item.width, size.height - 2);
        x += item.width;
    }
}
