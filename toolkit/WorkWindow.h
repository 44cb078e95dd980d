// A top-level application window with a frame, title, icon and menu bar. Its drawable area holds
// the program's child windows. The first one built is the application's window: when it is
// allowed to close, the event loop ends.
#pragma once

#include <functional>
#include <string>

#include "toolkit/Window.h"

class Icon;
class MenuBar;
class QMainWindow;

class WorkWindow : public Window
{
  public:
    explicit WorkWindow(Window *parent, int style = 0);
    ~WorkWindow() override;

    bool Close() override; // hides the window; for the application's window, ends the event loop
    // Before the window is first shown: it opens at `usual` size within the screen's free area,
    // or where and as it was when it last closed, and keeps its place under `key` when it closes.
    void OpenPlaced(const std::string &key, Size usual);
    void SetIcon(const Icon &icon);
    void SetMenuBar(MenuBar *menu);
    bool IsMinimized() const;
    void Minimize();
    void Restore();
    // Where the help text of a highlighted menu entry goes (empty text: the entry was left).
    void SetHelpTextHdl(std::function<void(const std::string &)> handler);

    QWidget *FrameWidget() const override;

  private:
    WorkWindow(Window *parent, QMainWindow *frame);

    QMainWindow *frame_;
    std::string placeKey_; // empty: the window's place is not kept
};
