#include "toolkit/WaitPointer.h"

#include <QApplication>
#include <QCursor>

WaitPointer::WaitPointer()
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitPointer::~WaitPointer()
{
    QApplication::restoreOverrideCursor();
}
