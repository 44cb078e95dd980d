#include "toolkit/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include "toolkit/QtText.h"
#include "toolkit/Window.h"

namespace
{

QMessageBox::Icon IconOf(ModalKind kind)
{
    switch (kind) {
    case ModalKind::ErrorBox:
        return QMessageBox::Critical;
    case ModalKind::WarningBox:
        return QMessageBox::Warning;
    case ModalKind::QueryBox:
        return QMessageBox::Question;
    default:
        return QMessageBox::Information;
    }
}

QMessageBox::StandardButtons ButtonsOf(int style)
{
    switch (style) {
    case WB_YES_NO:
        return QMessageBox::Yes | QMessageBox::No;
    case WB_OK_CANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

int ResultOf(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return RET_OK;
    case QMessageBox::Yes:
        return RET_YES;
    case QMessageBox::No:
        return RET_NO;
    default:
        return RET_CANCEL;
    }
}

} // namespace

MessageBox::MessageBox(ModalKind kind, Window *parent, int style, std::string text)
    : kind_(kind), parent_(parent), style_(style), text_(std::move(text))
{
}

short MessageBox::Execute()
{
    QString title = QApplication::applicationDisplayName();
    ModalStep step{kind_, FromQt(title), text_, parent_, nullptr, 0, nullptr};
    int result = ModalSeam::Execute(step, [&] {
        QMessageBox box(IconOf(kind_), title, ToQt(text_), ButtonsOf(style_),
                        parent_ ? parent_->FrameWidget() : nullptr);
        return ResultOf(box.exec());
    });
    return static_cast<short>(result);
}
