// The yardstick for start-up: a program that shows an empty QMainWindow and quits right after
// its first paint, as tarvik does with TARVIK_QUIT_AFTER_FIRST_PAINT set.
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>

namespace
{
class QuitAfterFirstPaint : public QObject
{
  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QWidget);
    QuitAfterFirstPaint quit;
    window.centralWidget()->installEventFilter(&quit);
    window.resize(1000, 640);
    window.show();
    return app.exec();
}
