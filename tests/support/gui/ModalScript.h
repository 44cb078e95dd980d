// Test fixture: answers the program's modal steps (dialogs and message boxes) from a script and
// records every step. A step the script did not expect fails the test and is answered with 0.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/ModalSeam.h"

class ModalDialog;

struct RecordedStep {
    ModalKind kind;
    std::string title;
    std::string text;
    Window *parent;
    int resourceId;
};

class ModalScript
{
  public:
    using Action = std::function<void(ModalDialog &)>;

    ModalScript();  // installs itself on the modal seam
    ~ModalScript(); // uninstalls; fails the test when expected steps were never reached
    ModalScript(const ModalScript &) = delete;
    ModalScript &operator=(const ModalScript &) = delete;

    // The next step is a message box of this kind with exactly this text; answer it.
    ModalScript &ExpectBox(ModalKind kind, std::string text, int answer);
    // The next step is a message box of this kind whose text begins with this one (what follows
    // is read from Steps()); answer it.
    ModalScript &ExpectBoxStartingWith(ModalKind kind, std::string start, int answer);
    // The next step is the dialog built from this resource; act on its controls, then answer.
    ModalScript &ExpectDialog(int resourceId, int answer, Action act = {});
    // The next step asks where to save a file; answer with this path (1) or cancel (empty path).
    // The name it offered is read from Steps().
    ModalScript &ExpectSaveFileDialog(std::string path);

    const std::vector<RecordedStep> &Steps() const { return steps_; }
    size_t Pending() const { return expected_.size(); }

  private:
    struct Expected {
        ModalKind kind;
        std::string text;
        int resourceId;
        int answer;
        Action act;
        bool startOnly = false;
        std::string answerText{};
    };
    int Answer(const ModalStep &step);

    std::deque<Expected> expected_;
    std::vector<RecordedStep> steps_;
};
