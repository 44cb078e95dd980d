// A note below a dialog's controls: the dialog grows by the room the text's lines need, never
// wider, and gives the room back when the note goes; without a text nothing is shown.
#include <QDialog>
#include <QLabel>
#include <gtest/gtest.h>

#include "tests/toolkit/ToolkitFixtures.h"
#include "toolkit/DialogNote.h"
#include "toolkit/DialogUnits.h"
#include "toolkit/ModalDialog.h"

namespace
{
class NotedDialog : public ModalDialog
{
  public:
    NotedDialog() : ModalDialog(nullptr, ResId(kTestDialog)), note(this) {}
    DialogNote note;
};

QLabel *Label(NotedDialog &dialog)
{
    return static_cast<QLabel *>(dialog.note.Widget());
}
} // namespace

TEST(DialogNote, GrowsTheDialogBelowItsControlsAndShrinksItBack)
{
    InstalledTestResources resources;
    NotedDialog dialog;
    const QSize designed = dialog.QtDialog()->size();
    EXPECT_TRUE(Label(dialog)->isHidden()) << "no text, nothing shown";

    const struct {
        const char *what;
        std::string text;
    } cases[] = {
        {"one line", "Invalid credentials"},
        {"many lines", "A reason that is long enough to be wrapped onto several lines of the "
                       "dialog, as the reasons of a server often are, with its address."},
        {"one very long word", std::string(600, 'w')},
    };
    const int margin = DialogUnits().ToPixelX(DialogNote::kMargin);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        dialog.note.SetText(c.text);
        QLabel *label = Label(dialog);
        EXPECT_FALSE(label->isHidden());
        EXPECT_EQ(dialog.note.GetText(), c.text);
        EXPECT_EQ(dialog.QtDialog()->width(), designed.width()) << "never wider";
        EXPECT_EQ(label->y(), designed.height()) << "below everything the dialog had";
        EXPECT_EQ(label->x(), margin);
        EXPECT_LE(label->x() + label->width(), designed.width() - margin);
        // Every line is whole: the label needs no more room than it has.
        EXPECT_LE(label->sizeHint().width(), label->width());
        EXPECT_LE(label->sizeHint().height(), label->height());
        EXPECT_GT(dialog.QtDialog()->height(), label->y() + label->height());
    }
    dialog.note.SetText("");
    EXPECT_TRUE(Label(dialog)->isHidden());
    EXPECT_EQ(dialog.QtDialog()->size(), designed);
}

TEST(DialogNote, LongerTextsNeedMoreRoom)
{
    InstalledTestResources resources;
    NotedDialog dialog;
    dialog.note.SetText("A short reason.");
    const int shortHeight = dialog.QtDialog()->height();
    std::string longer;
    for (int i = 0; i < 30; ++i) {
        longer += "The connection to the server was lost again. ";
    }
    dialog.note.SetText(longer);
    EXPECT_GT(dialog.QtDialog()->height(), shortHeight);
    dialog.note.SetText("A short reason.");
    EXPECT_EQ(dialog.QtDialog()->height(), shortHeight) << "the room is given back";
}
