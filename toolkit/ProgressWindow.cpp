#include "toolkit/ProgressWindow.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "toolkit/Window.h"

ProgressWindow::ProgressWindow(Window *parent)
    : owner_(parent != nullptr ? parent->FrameWidget() : nullptr),
      dialog_(std::make_unique<QDialog>(owner_)), text_(new QLabel(dialog_.get())),
      bar_(new QProgressBar(dialog_.get())), elapsed_(new QLabel(dialog_.get())),
      stopButton_(new QPushButton(kStop, dialog_.get()))
{
    dialog_->setWindowTitle(kTitle);
    dialog_->setModal(false);
    text_->setMinimumWidth(360);
    text_->setTextFormat(Qt::PlainText);
    bar_->setTextVisible(false);
    // Assistive tools read the bar by its name, with the share done as its value.
    bar_->setAccessibleName(QStringLiteral("Progress"));
    auto *layout = new QVBoxLayout(dialog_.get());
    layout->addWidget(text_);
    layout->addWidget(bar_);
    auto *row = new QHBoxLayout;
    row->addWidget(elapsed_);
    row->addStretch();
    row->addWidget(stopButton_);
    layout->addLayout(row);
    SetProgress(0, 0);
    SetElapsedSeconds(0);
    QObject::connect(stopButton_, &QPushButton::clicked, [this] {
        if (stop_) {
            stop_();
        }
    });
    // Escape and the window's close button reject the dialog: the same as Stop.
    QObject::connect(dialog_.get(), &QDialog::rejected, [this] {
        if (stop_) {
            stop_();
        }
    });
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::SetText(const std::string &text)
{
    text_->setText(QString::fromStdString(text));
}

void ProgressWindow::SetProgress(std::size_t done, std::size_t total)
{
    if (total == 0) {
        bar_->setRange(0, 0);
        return;
    }
    // The bar counts in int: a large run is shown in thousandths.
    bar_->setRange(0, 1000);
    bar_->setValue(static_cast<int>(done >= total ? 1000 : done * 1000 / total));
}

void ProgressWindow::SetElapsedSeconds(long seconds)
{
    const long minutes = seconds / 60;
    const long rest = seconds % 60;
    elapsed_->setText(QString("%1:%2").arg(minutes).arg(rest, 2, 10, QChar('0')));
}

void ProgressWindow::Show()
{
    // Over a modal dialog (a preview asked for from the restore options) the window must belong
    // to that dialog, which would otherwise hold back the clicks on Stop.
    QWidget *modal = QApplication::activeModalWidget();
    QWidget *owner = modal != nullptr && modal != dialog_.get() ? modal : owner_;
    if (dialog_->parentWidget() != owner) {
        dialog_->setParent(owner, dialog_->windowFlags());
    }
    dialog_->show();
}

void ProgressWindow::Hide()
{
    dialog_->hide();
}

bool ProgressWindow::IsVisible() const
{
    return dialog_->isVisible();
}

std::string ProgressWindow::Text() const
{
    return text_->text().toStdString();
}

std::string ProgressWindow::ElapsedText() const
{
    return elapsed_->text().toStdString();
}
