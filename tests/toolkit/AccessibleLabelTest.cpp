// Which fixed text of a dialog names an entry field: the nearest on its line to its left, else the
// nearest just above it, else the group around it, else the dialog's title.
#include <gtest/gtest.h>

#include "toolkit/AccessibleLabel.h"

namespace
{

ControlResource Text(uint16_t id, int x, int y, int width, std::string text)
{
    return {ControlKind::FixedText, id, x, y, width, 10, std::move(text)};
}

ControlResource Field(int x, int y, int width = 100)
{
    return {ControlKind::Edit, 1, x, y, width, 12};
}

ControlResource Group(int x, int y, int width, int height, std::string text)
{
    return {ControlKind::GroupBox, 1, x, y, width, height, std::move(text)};
}

} // namespace

TEST(AccessibleLabel, PicksTheLabelThatReadsAsTheFieldsOwn)
{
    struct Case {
        const char *what;
        std::vector<ControlResource> others;
        ControlResource field;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"on its line to the left",
         {Text(1, 10, 30, 40, "Far:"), Text(2, 50, 30, 40, "~Near:")},
         Field(95, 30),
         "Near:"},
        {"the line's label wins over one above",
         {Text(1, 95, 16, 60, "Above:"), Text(2, 10, 30, 40, "Left:")},
         Field(95, 30),
         "Left:"},
        {"just above, overlapping it",
         {Text(1, 17, 13, 64, "Enter new context:")},
         Field(16, 22, 117),
         "Enter new context:"},
        {"the nearest of two above",
         {Text(1, 10, 0, 60, "Higher:"), Text(2, 10, 14, 60, "Lower:")},
         Field(10, 26),
         "Lower:"},
        {"a label to the right is none",
         {Text(1, 120, 30, 40, "Right:")},
         Field(10, 30),
         "Dialog title"},
        {"a label far above is none",
         {Text(1, 10, 0, 40, "Far above:")},
         Field(10, 60),
         "Dialog title"},
        {"a label on another line to the left is none",
         {Text(1, 10, 60, 40, "Lower left:")},
         Field(60, 30),
         "Dialog title"},
        {"an empty fixed text is no label",
         {Text(1, 10, 30, 40, "")},
         Field(60, 30),
         "Dialog title"},
        {"the group around it", {Group(5, 5, 200, 60, "~Group:")}, Field(10, 30), "Group:"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        DialogResource dialog{1, true, "Dialog title", 0, 0, 300, 200, c.others};
        dialog.controls.push_back(c.field);
        EXPECT_EQ(AccessibleLabelOf(dialog, dialog.controls.back()), c.expected);
    }
}

TEST(AccessibleLabel, TheGroupIsTheTitledBoxAroundTheControl)
{
    DialogResource dialog{1,
                          true,
                          "Dialog",
                          0,
                          0,
                          300,
                          200,
                          {Group(0, 0, 300, 200, ""),
                           Group(10, 10, 90, 45, "On error:"),
                           {ControlKind::RadioButton, 1, 20, 15, 40, 12, "Continue"},
                           {ControlKind::RadioButton, 2, 120, 15, 40, 12, "Outside"}}};
    EXPECT_EQ(AccessibleGroupOf(dialog, dialog.controls[2]), "On error:");
    EXPECT_EQ(AccessibleGroupOf(dialog, dialog.controls[3]), "");
    EXPECT_EQ(AccessibleGroupOf(dialog, dialog.controls[1]), "") << "a group is not its own";
}
