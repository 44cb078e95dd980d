// Radio buttons that belong together: the arrow keys move to the next or previous choice of the
// group and choose it, as in any group of radio buttons, instead of leaving the group.
#pragma once

#include <memory>
#include <vector>

class QObject;
class RadioButton;

class RadioGroup
{
  public:
    // The buttons in their order on screen; they must outlive the group.
    explicit RadioGroup(std::vector<RadioButton *> buttons);
    ~RadioGroup();
    RadioGroup(const RadioGroup &) = delete;
    RadioGroup &operator=(const RadioGroup &) = delete;

  private:
    class ArrowKeys;
    std::unique_ptr<ArrowKeys> arrows_;
};
