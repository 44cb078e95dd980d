#include "toolkit/ModalSeam.h"

namespace
{
ModalSeam::Script &CurrentScript()
{
    static ModalSeam::Script script;
    return script;
}
} // namespace

void ModalSeam::SetScript(Script script)
{
    CurrentScript() = std::move(script);
}

bool ModalSeam::HasScript()
{
    return static_cast<bool>(CurrentScript());
}

int ModalSeam::Execute(const ModalStep &step, const std::function<int()> &realLoop)
{
    // A copy, so that a script may replace itself while it answers.
    Script script = CurrentScript();
    return script ? script(step) : realLoop();
}
