// The yardstick for start-up: a stock Qt program that shows what tarvik shows at its start, and
// quits once both are painted, as tarvik does with TARVIK_QUIT_AFTER_FIRST_PAINT set: a splash
// screen of the same picture, then a QMainWindow of the same size with the same menu bar and a
// status bar of four fields.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QSplashScreen>
#include <QStatusBar>
#include <QTimer>

namespace
{
// Quits at the next pass of the event loop once every watched widget has painted.
class QuitWhenAllPainted : public QObject
{
  public:
    void Watch(QWidget *widget)
    {
        widget->installEventFilter(this);
        ++unpainted_;
    }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            if (--unpainted_ == 0) {
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            }
        }
        return false;
    }

  private:
    int unpainted_ = 0;
};

void AddMenus(QMenuBar *bar)
{
    bar->addAction(QStringLiteral("E&xit!"))->setShortcut(QKeySequence(QStringLiteral("Alt+X")));
    QMenu *view = bar->addMenu(QStringLiteral("&View"));
    view->addAction(QStringLiteral("&Find..."))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    view->addAction(QStringLiteral("Set &Top Context..."));
    view->addAction(QStringLiteral("Set &User Context..."))->setEnabled(false);
    QMenu *selection = bar->addMenu(QStringLiteral("&Selection"));
    selection->addAction(QStringLiteral("Clear &All..."));
    selection->addAction(QStringLiteral("Clear Selected &Subtree..."));
    QMenu *operations = bar->addMenu(QStringLiteral("&Operations"));
    operations->addAction(QStringLiteral("&Restore..."));
    operations->addAction(QStringLiteral("&Past Runs..."));
    operations->addAction(QStringLiteral("&Compare with live..."));
    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&About TARVIK..."));
    help->addAction(QStringLiteral("&Release Notes"));
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QuitWhenAllPainted quit;
    QSplashScreen splash(QPixmap(QStringLiteral(":/bitmaps/SPLASH.ppm")));
    quit.Watch(&splash);
    splash.show();

    QMainWindow window;
    AddMenus(window.menuBar());
    window.setCentralWidget(new QWidget);
    QStatusBar *status = window.statusBar();
    status->addWidget(new QLabel(QStringLiteral("Marrowby")), 1);
    for (const char *field : {"Containers: 0, Objects: 0", "[Public]", "FS1"}) {
        status->addWidget(new QLabel(QString::fromUtf8(field)));
    }
    quit.Watch(window.centralWidget());
    window.resize(1000, 640);
    window.show();
    return app.exec();
}
