#include "tests/support/gui/ModalScript.h"

#include <gtest/gtest.h>

#include "toolkit/ModalDialog.h"

namespace
{
const char *KindName(ModalKind kind)
{
    switch (kind) {
    case ModalKind::Dialog:
        return "dialog";
    case ModalKind::ErrorBox:
        return "error box";
    case ModalKind::WarningBox:
        return "warning box";
    case ModalKind::QueryBox:
        return "query box";
    case ModalKind::InfoBox:
        return "information box";
    case ModalKind::SaveFileDialog:
        return "file dialog";
    }
    return "?";
}
} // namespace

ModalScript::ModalScript()
{
    ModalSeam::SetScript([this](const ModalStep &step) { return Answer(step); });
}

ModalScript::~ModalScript()
{
    ModalSeam::SetScript({});
    for (const Expected &expected : expected_) {
        ADD_FAILURE() << "expected " << KindName(expected.kind) << " never shown: \""
                      << expected.text << "\" (resource " << expected.resourceId << ")";
    }
}

ModalScript &ModalScript::ExpectBox(ModalKind kind, std::string text, int answer)
{
    expected_.push_back({kind, std::move(text), 0, answer, {}});
    return *this;
}

ModalScript &ModalScript::ExpectBoxStartingWith(ModalKind kind, std::string start, int answer)
{
    expected_.push_back({kind, std::move(start), 0, answer, {}, true});
    return *this;
}

ModalScript &ModalScript::ExpectDialog(int resourceId, int answer, Action act)
{
    expected_.push_back({ModalKind::Dialog, "", resourceId, answer, std::move(act)});
    return *this;
}

ModalScript &ModalScript::ExpectSaveFileDialog(std::string path)
{
    const int answer = path.empty() ? 0 : 1;
    expected_.push_back({ModalKind::SaveFileDialog, "", 0, answer, {}, false, std::move(path)});
    return *this;
}

int ModalScript::Answer(const ModalStep &step)
{
    steps_.push_back({step.kind, step.title, step.text, step.parent, step.resourceId});
    if (expected_.empty()) {
        ADD_FAILURE() << "unexpected " << KindName(step.kind) << ": \"" << step.text
                      << "\" (resource " << step.resourceId << ")";
        return 0;
    }
    Expected expected = std::move(expected_.front());
    expected_.pop_front();
    bool matches = expected.kind == step.kind &&
                   (step.kind == ModalKind::Dialog ? expected.resourceId == step.resourceId
                    : step.kind == ModalKind::SaveFileDialog ? true
                    : expected.startOnly ? step.text.rfind(expected.text, 0) == 0
                                         : expected.text == step.text);
    if (!matches) {
        ADD_FAILURE() << "expected " << KindName(expected.kind) << " \"" << expected.text
                      << "\" (resource " << expected.resourceId << "), got " << KindName(step.kind)
                      << " \"" << step.text << "\" (resource " << step.resourceId << ")";
        return 0;
    }
    if (expected.act && step.dialog) {
        expected.act(*step.dialog);
    }
    if (step.answerText) {
        *step.answerText = expected.answerText;
    }
    return expected.answer;
}
