// Every modal step of the program (a modal dialog's execution, a message box) passes through
// here. The program runs the real nested Qt loop; a test installs a script that records each
// step and answers it, after acting on the dialog's controls if it likes.
#pragma once

#include <functional>
#include <string>

class Window;
class ModalDialog;

enum class ModalKind { Dialog, ErrorBox, WarningBox, QueryBox, InfoBox, SaveFileDialog };

struct ModalStep {
    ModalKind kind;
    std::string title;
    std::string text;    // a message box's message; empty for a dialog
    Window *parent;      // null when the step has no parent window
    ModalDialog *dialog; // the dialog being executed; null for message boxes
    int resourceId;      // the dialog's resource id; 0 for message boxes
    // A step that asks for a text (the file name of a file dialog) takes its answer from here;
    // the text offered at the start is in it. Null for the other steps.
    std::string *answerText;
};

class ModalSeam
{
  public:
    using Script = std::function<int(const ModalStep &)>;

    static void SetScript(Script script); // an empty script restores the real modal loops
    static bool HasScript();

    // Runs the step: through the script when one is installed, else through realLoop.
    static int Execute(const ModalStep &step, const std::function<int()> &realLoop);
};
