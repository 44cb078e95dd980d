// The peer's view, set up the way a Qt program shows a large tree.
#include "bench/side/PeerTree.h"

#include <QApplication>
#include <QKeyEvent>

#include "bench/side/ViewSize.h"

PeerTree::PeerTree() : image_(kViewWidth, kViewHeight, QImage::Format_ARGB32_Premultiplied)
{
    view_.setUniformRowHeights(true);
    view_.setModel(&model_);
    view_.resize(kViewWidth, kViewHeight);
    view_.show();
    QApplication::processEvents();
}

void PeerTree::Render()
{
    view_.render(&image_);
}

void PeerTree::Press(int qtKey)
{
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
    QCoreApplication::sendEvent(&view_, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier);
    QCoreApplication::sendEvent(&view_, &release);
}
