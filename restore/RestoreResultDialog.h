// "Restore": lists the outcome of each restored object with a success or failure picture. In its
// final form it has only OK; in its prompt form (after a failure, when the user is to be asked)
// its buttons read "Continue" and "Abort".
#pragma once

#include <string>

#include "toolkit/CancelButton.h"
#include "toolkit/ListBox.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/OKButton.h"

class Bitmap;

class RestoreResultDialog : public ModalDialog
{
  public:
    // Stands where the resource places it relative to the parent (the main window).
    explicit RestoreResultDialog(Window *parent);

    // finalForm: OK with its own text, Cancel hidden; else "Continue" and "Abort".
    void SetPromptMode(bool finalForm);
    // Appends a line at the end of the list, with the RESTGOOD or the RESTFAIL picture.
    void AddResultLine(const std::string &text, bool success);

    // The two pictures, loaded when the first result dialog is built and kept for the program's
    // life.
    static const Bitmap &SuccessPicture();
    static const Bitmap &FailurePicture();
    // What assistive tools read for a line: whether it was restored, or why not.
    static std::string SpokenLine(const std::string &text, bool success);

  private:
    ListBox results_;
    OKButton ok_;
    CancelButton cancel_;
    std::string okText_;
};
