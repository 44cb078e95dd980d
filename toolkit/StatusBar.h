// The bar along the bottom of the main window: its own text at the left and fields (by id, with
// width, style and offset) inserted towards the right end. While a menu entry is highlighted the
// entry's help text stands in the bar instead.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Window.h"

class QLabel;

enum StatusBarItemStyle : int { SIB_LEFT = 1, SIB_CENTER = 2, SIB_RIGHT = 4 };

class StatusBar : public Window
{
  public:
    explicit StatusBar(Window *parent, int style = 0);
    ~StatusBar() override;

    void InsertItem(uint16_t id, int width, int style, int offset); // at the end of the bar
    void SetItemText(uint16_t id, const std::string &text);
    std::string GetItemText(uint16_t id) const;
    void SetText(const std::string &text) override;
    std::string GetText() const override;
    void ShowHelpText(const std::string &text); // empty: the fields again
    std::string GetHelpText() const;

    void Resize() override;
    QLabel *ItemLabel(uint16_t id) const;

  private:
    struct Item {
        uint16_t id;
        int width;
        int offset;
        QLabel *label;
    };
    void Arrange();

    QLabel *text_;
    QLabel *help_;
    std::vector<Item> items_;
};
