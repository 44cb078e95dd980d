// The dialogs as laid out: every control's kind, id, place, text and font, in creation order.
#include <QFontMetrics>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <utility>

#include "res/ResourceIds.h"
#include "tests/res/InstalledResources.h"
#include "toolkit/DialogUnits.h"
#include "toolkit/Font.h"
#include "toolkit/Resource.h"

namespace
{

using K = ControlKind;

struct Box {
    int x, y, width, height;
};

struct ExpectedControl {
    ControlKind kind;
    uint16_t id;
    Box box;
    std::optional<std::string> text; // nullopt: wording of our own, only required to be there
    uint16_t fontId = 0;
    uint16_t imageId = 0;
    bool masked = false;
};

struct ExpectedDialog {
    uint16_t id;
    bool modal;
    std::string title;
    Box box;
    std::vector<ExpectedControl> controls;
};

const std::optional<std::string> kOwnWording;
const std::string kVersion = "Version 1.0 (Pre-release 2)";

const std::vector<ExpectedDialog> kDialogs = {
    {256,
     true,
     "About TARVIK",
     {90, 14, 256, 187},
     {
         {K::OKButton, 1, {209, 171, 40, 12}, ""},
         {K::BitmapButton, 1, {30, 4, 198, 123}, "", 0, 262},
         {K::FixedText, 1, {13, 140, 196, 10}, kOwnWording, 257},
         {K::FixedText, 2, {13, 151, 127, 10}, kOwnWording, 256},
         {K::FixedText, 3, {13, 159, 190, 10}, kOwnWording, 256},
         {K::FixedText, 5, {13, 167, 180, 9}, kOwnWording, 256},
         {K::FixedText, 4, {13, 175, 146, 10}, kOwnWording, 256},
         {K::FixedText, 6, {13, 129, 100, 10}, kVersion, 257},
     }},
    {257,
     true,
     "Set Top Context",
     {77, 31, 148, 68},
     {
         {K::FixedText, 1, {17, 13, 64, 10}, "Enter new context:"},
         {K::Edit, 1, {16, 22, 117, 12}, "Edit"},
         {K::OKButton, 1, {53, 49, 40, 12}, ""},
         {K::CancelButton, 1, {103, 49, 40, 12}, ""},
         {K::GroupBox, 1, {7, 0, 135, 43}, ""},
     }},
    {258,
     true,
     "TARVIK Release Notes",
     {37, 15, 235, 160},
     {
         {K::OKButton, 1, {189, 141, 40, 12}, ""},
         {K::MultiLineEdit, 1, {6, 7, 223, 128}, "MultiLineEdit"},
     }},
    {259,
     false,
     "",
     {88, 48, 199, 139},
     {
         {K::BitmapButton, 1, {0, 0, 200, 125}, "", 0, 262},
         {K::FixedText, 1, {1, 128, 199, 10}, kVersion, 257},
     }},
    {260,
     true,
     "User Details",
     {85, 35, 185, 91},
     {
         {K::FixedText, 1, {15, 15, 40, 10}, "Name:"},
         {K::FixedText, 2, {15, 30, 40, 10}, "Password:"},
         {K::Edit, 1, {60, 15, 100, 12}, ""},
         {K::Edit, 2, {60, 30, 100, 12}, "", 0, 0, true},
         {K::GroupBox, 1, {10, 5, 165, 45}, ""},
         {K::FixedIcon, 1, {10, 55, 30, 30}, "", 0, 256},
         {K::OKButton, 1, {85, 65, 40, 12}, ""},
         {K::CancelButton, 1, {135, 65, 40, 12}, ""},
     }},
    {261,
     true,
     "Restore Objects",
     {95, 38, 175, 78},
     {
         {K::GroupBox, 2, {10, 5, 90, 45}, "On error:"},
         {K::RadioButton, 1, {20, 15, 40, 12}, "Continue"},
         {K::RadioButton, 2, {20, 25, 40, 12}, "Ask User"},
         {K::RadioButton, 3, {20, 35, 40, 12}, "End"},
         {K::FixedText, 1, {10, 55, 45, 10}, "Containers:"},
         {K::FixedText, 2, {10, 65, 45, 10}, "Leaf objects:"},
         {K::FixedText, 3, {60, 55, 40, 10}, "FixedText"},
         {K::FixedText, 4, {60, 65, 40, 10}, "FixedText"},
         {K::OKButton, 1, {125, 10, 40, 12}, ""},
         {K::CancelButton, 1, {125, 30, 40, 12}, ""},
         {K::PushButton, 1, {125, 50, 40, 12}, "Preview..."},
     }},
    // The prompt form's places at the starting size: the question, the list, the note on objects
    // still marked, the selected line whole (whose last line the note on what Save... or Copy did
    // takes), and the buttons.
    {262,
     true,
     "Restore",
     {60, 11, 240, 170},
     {
         {K::FixedText, 1, {5, 3, 230, 18}, ""},
         {K::ListBox, 1, {5, 23, 230, 72}, ""},
         {K::FixedText, 2, {5, 97, 230, 10}, ""},
         {K::MultiLineEdit, 1, {5, 109, 230, 28}, ""},
         {K::FixedText, 3, {5, 127, 230, 10}, ""},
         {K::PushButton, 1, {105, 140, 40, 12}, "~Save..."},
         {K::PushButton, 2, {150, 140, 40, 12}, "~Copy"},
         {K::OKButton, 1, {195, 140, 40, 12}, ""},
         {K::CancelButton, 1, {195, 155, 40, 12}, ""},
     }},
    {263,
     true,
     "Past Runs",
     {40, 11, 460, 150},
     {
         {K::ResultTable, 1, {5, 5, 450, 113}, ""},
         {K::FixedText, 1, {5, 120, 450, 10}, ""},
         {K::PushButton, 1, {370, 133, 40, 12}, "~Open"},
         {K::OKButton, 1, {415, 133, 40, 12}, ""},
     }},
    {264,
     true,
     "Compare with Live",
     {20, 10, 380, 190},
     {
         {K::FixedText, 1, {5, 5, 370, 10}, "FixedText"},
         {K::FixedText, 2, {5, 17, 370, 10}, ""},
         {K::TableBox, 1, {5, 29, 370, 129}, ""},
         {K::CheckBox, 1, {5, 165, 150, 12}, "Show unchanged attributes"},
         {K::OKButton, 1, {335, 165, 40, 12}, ""},
     }},
    {265,
     true,
     "Restore Preview",
     {20, 10, 400, 235},
     {
         {K::FixedText, 1, {5, 5, 390, 10}, "FixedText"},
         {K::TableBox, 1, {5, 18, 390, 100}, ""},
         {K::FixedText, 2, {5, 122, 390, 10}, "Comparison with live:"},
         {K::TableBox, 2, {5, 134, 390, 78}, ""},
         {K::CheckBox, 1, {5, 217, 150, 12}, "Show unchanged attributes"},
         {K::OKButton, 1, {355, 217, 40, 12}, ""},
     }},
    {266,
     false,
     "Find",
     {40, 20, 300, 200},
     {
         {K::FixedText, 1, {6, 9, 40, 10}, "Find what:"},
         {K::Edit, 1, {52, 7, 176, 12}, ""},
         {K::PushButton, 1, {240, 6, 54, 14}, "~Find"},
         {K::CheckBox, 1, {52, 23, 140, 10}, "~Deleted objects only"},
         {K::PushButton, 2, {240, 23, 54, 14}, "~Stop"},
         {K::FixedText, 2, {6, 40, 40, 10}, "Results:"},
         {K::FixedText, 3, {52, 40, 242, 10}, kOwnWording},
         {K::ResultTable, 1, {6, 52, 288, 124}, ""},
         {K::PushButton, 3, {240, 181, 54, 14}, "Close"},
     }},
};

void ExpectControl(const ExpectedControl &expected, const ControlResource &actual)
{
    EXPECT_EQ(actual.kind, expected.kind);
    EXPECT_EQ(actual.id, expected.id);
    EXPECT_EQ(actual.x, expected.box.x);
    EXPECT_EQ(actual.y, expected.box.y);
    EXPECT_EQ(actual.width, expected.box.width);
    EXPECT_EQ(actual.height, expected.box.height);
    if (expected.text) {
        EXPECT_EQ(actual.text, *expected.text);
    } else {
        EXPECT_FALSE(actual.text.empty());
    }
    EXPECT_EQ(actual.fontId, expected.fontId);
    EXPECT_EQ(actual.imageId, expected.imageId);
    EXPECT_EQ(actual.masked, expected.masked);
}

class DialogResources : public InstalledResources
{
};

TEST_F(DialogResources, EveryDialogHasItsControlsInCreationOrderWithTheirPlacesAndTexts)
{
    for (const ExpectedDialog &expected : kDialogs) {
        SCOPED_TRACE("dialog " + std::to_string(expected.id));
        const DialogResource *dialog = Resources::Dialog(ResId(expected.id));
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->modal, expected.modal);
        EXPECT_EQ(dialog->title, expected.title);
        EXPECT_EQ(dialog->x, expected.box.x);
        EXPECT_EQ(dialog->y, expected.box.y);
        EXPECT_EQ(dialog->width, expected.box.width);
        EXPECT_EQ(dialog->height, expected.box.height);
        ASSERT_EQ(dialog->controls.size(), expected.controls.size());
        for (size_t i = 0; i < expected.controls.size(); ++i) {
            SCOPED_TRACE("control at position " + std::to_string(i));
            ExpectControl(expected.controls[i], dialog->controls[i]);
        }
    }
    EXPECT_EQ(TarvikResources().dialogs.size(), kDialogs.size());
}

TEST_F(DialogResources, LocalIdsAreUniquePerKindAndEveryReferencedFontAndPictureExists)
{
    for (const DialogResource &dialog : TarvikResources().dialogs) {
        SCOPED_TRACE("dialog " + std::to_string(dialog.id));
        std::set<std::pair<ControlKind, uint16_t>> seen;
        for (const ControlResource &control : dialog.controls) {
            EXPECT_TRUE(seen.insert({control.kind, control.id}).second)
                << "local id " << control.id << " used twice for one kind";
            if (control.fontId != 0) {
                EXPECT_NE(Resources::Font(ResId(control.fontId)), nullptr);
            }
            if (control.kind == K::BitmapButton) {
                EXPECT_NE(Resources::Bitmap(ResId(control.imageId)), nullptr);
            }
            if (control.kind == K::FixedIcon) {
                EXPECT_NE(Resources::Icon(ResId(control.imageId)), nullptr);
            }
        }
    }
}

// The legal notice is our own wording; each line must fit the width the About box gives it.
TEST_F(DialogResources, AboutNoticeLinesFitTheirWidthsInTheirFonts)
{
    const DialogResource *about = Resources::Dialog(ResId(kDialogAbout));
    ASSERT_NE(about, nullptr);
    int notices = 0;
    for (const ControlResource &control : about->controls) {
        if (control.kind != K::FixedText || control.id < kAboutFirstNotice ||
            control.id > kAboutLastNotice) {
            continue;
        }
        ++notices;
        ASSERT_NE(Resources::Font(ResId(control.fontId)), nullptr);
        const QFontMetrics metrics(Font(ResId(control.fontId)).QtFont());
        EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(control.text)),
                  DialogUnits().ToPixelX(control.width))
            << "\"" << control.text << "\" in font " << control.fontId;
    }
    EXPECT_EQ(notices, 5);
}

} // namespace
