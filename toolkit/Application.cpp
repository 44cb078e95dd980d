#include "toolkit/Application.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include "toolkit/MenuBar.h"
#include "toolkit/QtText.h"
#include "toolkit/ToolkitStyle.h"
#include "toolkit/WorkWindow.h"

namespace
{

Application *theApp = nullptr;
constexpr size_t kMaxArguments = 40;

// For start-up measurements: ends the event loop right after the application window's first
// paint when TARVIK_QUIT_AFTER_FIRST_PAINT is set.
class QuitAfterFirstPaint : public QObject
{
  public:
    // The window may paint before the event loop proper runs (it goes on while the first
    // listing is under way); the loop then ends as soon as it starts.
    bool painted = false;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            painted = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};

} // namespace

struct Application::Watches {
    std::vector<std::unique_ptr<QSocketNotifier>> notifiers;
    QuitAfterFirstPaint quitAfterFirstPaint;
};

Application::Application() : watches_(std::make_unique<Watches>())
{
    theApp = this;
}

Application::~Application()
{
    if (theApp == this) {
        theApp = nullptr;
    }
}

Application *Application::Get()
{
    return theApp;
}

int Application::WheelScrollLines()
{
    return QApplication::wheelScrollLines();
}

void Application::ProcessPaintEvents()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Application::Execute()
{
    if (quitRequested_) {
        return;
    }
    if (watches_->quitAfterFirstPaint.painted) {
        return;
    }
    QApplication::exec();
}

void Application::Quit()
{
    quitRequested_ = true;
    QCoreApplication::quit();
}

void Application::SetAppMenu(MenuBar *menu)
{
    if (appWindow_ && menu) {
        appWindow_->SetMenuBar(menu);
    }
}

void Application::WatchReadable(int fd, std::function<void()> handler)
{
    auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated,
                     [handler = std::move(handler)] { handler(); });
    watches_->notifiers.push_back(std::move(notifier));
}

void Application::OfferAppWindow(WorkWindow *window)
{
    if (!appWindow_) {
        appWindow_ = window;
        if (qEnvironmentVariableIsSet("TARVIK_QUIT_AFTER_FIRST_PAINT")) {
            appWindow_->Widget()->installEventFilter(&watches_->quitAfterFirstPaint);
        }
    }
}

void Application::WithdrawAppWindow(WorkWindow *window)
{
    if (appWindow_ == window) {
        appWindow_ = nullptr;
    }
}

std::vector<std::string> BuildArguments(const std::string &programPath,
                                        const std::vector<std::string> &words)
{
    std::string line;
    for (const std::string &word : words) {
        line += (line.empty() ? "" : " ") + word;
    }
    std::vector<std::string> arguments{programPath};
    size_t pos = line.find_first_not_of(' ');
    while (pos != std::string::npos) {
        if (arguments.size() == kMaxArguments - 1) {
            arguments.push_back(line.substr(pos)); // the rest of the line
            break;
        }
        size_t end = line.find(' ', pos);
        arguments.push_back(line.substr(pos, end == std::string::npos ? end : end - pos));
        pos = line.find_first_not_of(' ', end == std::string::npos ? line.size() : end);
    }
    return arguments;
}

int Application::Start(int argc, char **argv)
{
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("TARVIK"));
    ToolkitStyle::Install();
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        words.emplace_back(argv[i]);
    }
    std::vector<std::string> arguments =
        BuildArguments(FromQt(QCoreApplication::applicationFilePath()), words);
    std::vector<char *> pointers;
    for (std::string &argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    if (theApp) {
        theApp->Main(static_cast<int>(arguments.size()), pointers.data());
    }
    return 0;
}
