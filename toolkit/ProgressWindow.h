// A small window beside a long wait: what is being done, a bar (busy while the total is not
// known), the time so far, and a Stop button (Escape does the same). It does not hold the
// user's input: the window under it can still be scrolled and read.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include <functional>

class Window;
class QDialog;
class QWidget;
class QLabel;
class QProgressBar;
class QPushButton;

class ProgressWindow
{
  public:
    static constexpr const char *kTitle = "Working";
    static constexpr const char *kStop = "Stop";

    explicit ProgressWindow(Window *parent);
    ProgressWindow(const ProgressWindow &) = delete;
    ProgressWindow &operator=(const ProgressWindow &) = delete;
    ~ProgressWindow();

    void SetText(const std::string &text);
    // done of total; a total of 0 shows a busy bar.
    void SetProgress(std::size_t done, std::size_t total);
    void SetElapsedSeconds(long seconds);
    // Called on Stop or Escape (or when the user closes the window).
    void SetStopHdl(std::function<void()> stop) { stop_ = std::move(stop); }

    void Show();
    void Hide();
    bool IsVisible() const;

    std::string Text() const;
    std::string ElapsedText() const;
    QPushButton *StopButton() const { return stopButton_; }
    QDialog *Widget() const { return dialog_.get(); }

  private:
    QWidget *owner_; // the parent window's frame
    std::unique_ptr<QDialog> dialog_;
    QLabel *text_;
    QProgressBar *bar_;
    QLabel *elapsed_;
    QPushButton *stopButton_;
    std::function<void()> stop_;
};
