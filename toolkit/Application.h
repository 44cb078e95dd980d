// The application object: the program derives from it and supplies Main. The start code builds
// Qt's application and the argument vector, calls Main once and ends the program with code 0.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class MenuBar;
class WorkWindow;

class Application
{
  public:
    Application(); // the one application object; touches nothing of Qt's
    virtual ~Application();
    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

    virtual void Main(int argc, char **argv) = 0;

    void Execute(); // the event loop; returns once Quit was called
    void Quit();
    void SetAppMenu(MenuBar *menu); // shown by the application's window
    WorkWindow *GetAppWindow() const { return appWindow_; }
    // Calls handler on the program's thread whenever the file descriptor becomes readable.
    void WatchReadable(int fd, std::function<void()> handler);

    static Application *Get();
    // Lets windows repaint during a long operation; the user's input waits until it ends.
    static void ProcessPaintEvents();
    // The platform's wheel step: rows scrolled by one notch of the mouse wheel.
    static int WheelScrollLines();
    static int Start(int argc, char **argv);

    // Internal to the toolkit: the first work window built becomes the application's window.
    void OfferAppWindow(WorkWindow *window);
    void WithdrawAppWindow(WorkWindow *window);

  private:
    struct Watches;
    WorkWindow *appWindow_ = nullptr;
    bool quitRequested_ = false;
    std::unique_ptr<Watches> watches_;
};

// The argument vector Main receives: entry 0 the program path, then the words of the command
// line split at runs of blanks, at most 40 entries; past the 40th the rest stays in the last.
std::vector<std::string> BuildArguments(const std::string &programPath,
                                        const std::vector<std::string> &words);
