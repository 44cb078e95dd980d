// The four message boxes: error, warning, query (Yes/No) and information. Each is built for one
// use and executed modally through the modal seam; Execute returns the button pressed.
#pragma once

#include <string>

#include "toolkit/ModalSeam.h"

class Window;

enum MessageBoxStyle : int { WB_OK = 1, WB_OK_CANCEL = 2, WB_YES_NO = 3 };
enum MessageBoxResult : int { RET_CANCEL = 0, RET_OK = 1, RET_YES = 2, RET_NO = 3 };

class MessageBox
{
  public:
    virtual ~MessageBox() = default;
    short Execute();

  protected:
    MessageBox(ModalKind kind, Window *parent, int style, std::string text);

  private:
    ModalKind kind_;
    Window *parent_;
    int style_;
    std::string text_;
};

class ErrorBox : public MessageBox
{
  public:
    ErrorBox(Window *parent, int style, std::string text)
        : MessageBox(ModalKind::ErrorBox, parent, style, std::move(text))
    {
    }
};

class WarningBox : public MessageBox
{
  public:
    WarningBox(Window *parent, int style, std::string text)
        : MessageBox(ModalKind::WarningBox, parent, style, std::move(text))
    {
    }
};

class QueryBox : public MessageBox
{
  public:
    QueryBox(Window *parent, int style, std::string text)
        : MessageBox(ModalKind::QueryBox, parent, style, std::move(text))
    {
    }
};

class InfoBox : public MessageBox
{
  public:
    InfoBox(Window *parent, std::string text)
        : MessageBox(ModalKind::InfoBox, parent, WB_OK, std::move(text))
    {
    }
};
