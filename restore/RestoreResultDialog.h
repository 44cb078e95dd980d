// "Restore": lists the outcome of each restored object with a success or failure picture. In its
// final form it has only OK, with Save... and Copy when it shows a run's record; in its prompt
// form (after a failure, when the user is to be asked) it asks above the list whether to go on,
// and its buttons read "Continue" and "Abort". The user can make it larger and the list grows;
// each line shows its whole text as its tip, and the selected line stands whole below the list,
// where it wraps and can be selected and copied.
#pragma once

#include <cstddef>
#include <string>

#include "toolkit/CancelButton.h"
#include "toolkit/FixedText.h"
#include "toolkit/ListBox.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/MultiLineEdit.h"
#include "toolkit/OKButton.h"
#include "toolkit/PushButton.h"

class Bitmap;
struct RunReport;

class RestoreResultDialog : public ModalDialog
{
  public:
    // Stands where the resource places it relative to the parent (the main window).
    explicit RestoreResultDialog(Window *parent);

    // finalForm: OK with its own text, Cancel hidden; else "Continue" and "Abort".
    void SetPromptMode(bool finalForm);
    // Appends a line at the end of the list, with the RESTGOOD or the RESTFAIL picture. A
    // failure's line becomes the selected one, so the last failure is shown whole at once.
    void AddResultLine(const std::string &text, bool success);
    // Prompt form: the question its buttons answer, naming the object that failed.
    void AskAbout(const std::string &failedName);
    // Final form: says below the list how many objects were not restored and keep their marks
    // (nothing when there are none).
    void SetStillMarked(std::size_t count);
    // Final form: Save... and Copy write this run's record, which must outlive the dialog; the
    // dialog then says what they did beside them.
    void SetReport(const RunReport *report);
    std::string DoneText() const;

    void Resize() override;

    static std::string QuestionText(const std::string &failedName);
    static std::string StillMarkedText(std::size_t count);

    // The two pictures, loaded when the first result dialog is built and kept for the program's
    // life.
    static const Bitmap &SuccessPicture();
    static const Bitmap &FailurePicture();
    // What assistive tools read for a line: whether it was restored, or why not.
    static std::string SpokenLine(const std::string &text, bool success);

  private:
    static constexpr int kListTopAlone = 5; // dialog units: the list's top without the question

    void ShowWholeLine();
    void SayDone(const std::string &what);

    FixedText question_;
    ListBox results_;
    FixedText stillMarked_;
    MultiLineEdit wholeLine_;
    FixedText done_; // what Save... or Copy did last
    PushButton save_;
    PushButton copy_;
    OKButton ok_;
    CancelButton cancel_;
    std::string okText_;
    const RunReport *report_ = nullptr;
    bool asking_ = false;     // the question stands above the list
    bool noted_ = false;      // the note on objects still marked stands below it
    bool buttonsLow_ = false; // final form: the buttons stand in Abort's row
};
