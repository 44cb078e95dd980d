#include "run/PreviewWalk.h"

#include "model/ObjectItem.h"

PreviewWalk::PreviewWalk(const RestoreSelection &selection, std::string stopReason)
    : steps_(selection, OnError::Continue, RunSteps::Mode::Preview),
      stopReason_(std::move(stopReason))
{
}

std::vector<PreviewLine> PreviewWalk::Build(const StopCheck &stop, const Describer &describe,
                                            const StepHdl &each)
{
    std::vector<PreviewLine> lines;
    for (std::optional<RunSteps::Request> step = steps_.Next(); step; step = steps_.Next()) {
        if (stop && stop()) {
            stopped_ = true;
            break;
        }
        if (each) {
            each(*step->object);
        }
        const DescribedObject described = describe ? describe(*step->object, step->version)
                                                   : step->object->Describe(step->version);
        if (described.end == RequestEnd::Stopped) {
            stopped_ = true;
            break;
        }
        PreviewLine line = preview_.Line(*step->object, step->version, step->mark, described);
        steps_.Previewed(RestorePreview::Restorable(line), RestorePreview::ActionText(line));
        lines.push_back(std::move(line));
    }
    if (stopped_) {
        steps_.Stop(stopReason_);
    }
    return lines;
}
