// Asking where to save: through the scripted seam (the answer becomes the path) and through the
// real file dialog, where a name typed without a suffix gets the one of the chosen type.
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <deque>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

#include "tests/mwlib/TempDir.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/SaveFileDialog.h"

namespace
{

const std::vector<FileFilter> kFilters = {{"CSV files", "csv"}, {"JSON files", "json"}};

// Answers the modal windows that open one after the other, each with the next handler, from a
// timer that looks for a modal window newly shown (the same window shown again counts anew).
class ModalAnswers
{
  public:
    ModalAnswers()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
        timer_.start(5);
    }
    void Then(std::function<void(QWidget *)> handler) { handlers_.push_back(std::move(handler)); }
    std::size_t Left() const { return handlers_.size(); }

  private:
    void Look()
    {
        QWidget *window = QApplication::activeModalWidget();
        if (!window || !window->isVisible()) {
            answered_ = nullptr;
            return;
        }
        if (window == answered_ || handlers_.empty()) {
            return;
        }
        answered_ = window;
        auto handler = std::move(handlers_.front());
        handlers_.pop_front();
        handler(window);
    }

    QTimer timer_;
    std::deque<std::function<void(QWidget *)>> handlers_;
    QWidget *answered_ = nullptr;
};

} // namespace

TEST(SaveFileDialog, AScriptAnswersWithAPathOrCancels)
{
    for (const std::string path : {"/tmp/chosen.json", ""}) {
        ModalScript script;
        script.ExpectSaveFileDialog(path);
        SaveFileDialog dialog(nullptr, "Save Results", "offered.csv", kFilters);
        EXPECT_EQ(dialog.Execute(), path.empty() ? 0 : 1);
        EXPECT_EQ(dialog.GetPath(), path);
        ASSERT_EQ(script.Steps().size(), 1u);
        EXPECT_EQ(script.Steps()[0].kind, ModalKind::SaveFileDialog);
        EXPECT_EQ(script.Steps()[0].title, "Save Results");
        EXPECT_EQ(std::filesystem::path(script.Steps()[0].text).filename(), "offered.csv");
    }
}

// The real dialog, answered from inside its own loop: the name typed whole into its field, then
// Return.
TEST(SaveFileDialog, TheRealDialogAddsTheSuffixOfTheChosenType)
{
    TempDir folder;
    const struct {
        int filter;
        std::string typed;
        std::string expected;
    } cases[] = {
        {0, "report", "report.csv"},
        {1, "report", "report.json"},
        {1, "report.csv", "report.csv"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);
        ModalAnswers answers;
        answers.Then([&](QWidget *window) {
            auto *dialog = qobject_cast<QFileDialog *>(window);
            ASSERT_NE(dialog, nullptr);
            dialog->selectNameFilter(dialog->nameFilters().at(c.filter));
            auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText(QString::fromStdString(folder.Path(c.typed)));
            QTest::keyClick(name, Qt::Key_Return);
        });
        SaveFileDialog dialog(nullptr, "Save Results", "offered.csv", kFilters);
        EXPECT_EQ(dialog.Execute(), 1);
        EXPECT_EQ(std::filesystem::path(dialog.GetPath()),
                  std::filesystem::path(folder.Path(c.expected)));
    }
}

TEST(SaveFileDialog, CancellingTheRealDialogGivesNoPath)
{
    ModalAnswers answers;
    answers.Then([](QWidget *window) {
        auto *dialog = qobject_cast<QFileDialog *>(window);
        ASSERT_NE(dialog, nullptr);
        dialog->reject();
    });
    SaveFileDialog dialog(nullptr, "Save Results", "offered.csv", kFilters);
    EXPECT_EQ(dialog.Execute(), 0);
    EXPECT_EQ(dialog.GetPath(), "");
}

// The suffix added to a typed name may name a file that exists: asked before it is replaced;
// No goes back to the file dialog.
TEST(SaveFileDialog, AsksBeforeTheAddedSuffixReplacesAFile)
{
    TempDir folder;
    folder.Write("report.json", "earlier");
    for (const bool replace : {true, false}) {
        SCOPED_TRACE(replace);
        ModalAnswers answers;
        answers.Then([&](QWidget *window) {
            auto *dialog = qobject_cast<QFileDialog *>(window);
            ASSERT_NE(dialog, nullptr);
            dialog->selectNameFilter(dialog->nameFilters().at(1));
            auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText(QString::fromStdString(folder.Path("report")));
            QTest::keyClick(name, Qt::Key_Return);
        });
        answers.Then([&](QWidget *window) {
            auto *box = qobject_cast<QMessageBox *>(window);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text().toStdString(),
                      "report.json already exists.\nDo you want to replace it?");
            box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        if (!replace) {
            answers.Then([&](QWidget *window) {
                auto *again = qobject_cast<QFileDialog *>(window);
                ASSERT_NE(again, nullptr);
                again->reject();
            });
        }
        SaveFileDialog dialog(nullptr, "Save Results", "offered.csv", kFilters);
        EXPECT_EQ(dialog.Execute(), replace ? 1 : 0);
        EXPECT_EQ(dialog.GetPath(), replace ? folder.Path("report.json") : "");
        EXPECT_EQ(answers.Left(), 0u);
    }
}
