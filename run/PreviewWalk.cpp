#include "run/PreviewWalk.h"

#include <iterator>

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
        const bool withSubtree = step->mark == Marked && step->object->IsContainer();
        const DescribedObject described =
            describe ? describe(*step->object, step->version, withSubtree)
                     : step->object->DescribeRestore(step->version, withSubtree);
        if (described.end == RequestEnd::Stopped) {
            stopped_ = true;
            break;
        }
        std::vector<PreviewLine> stepLines =
            preview_.Lines(*step->object, step->version, step->mark, described);
        const PreviewLine &own = RestorePreview::OwnLine(stepLines);
        steps_.Previewed(RestorePreview::Restorable(own), RestorePreview::ActionText(own));
        lines.insert(lines.end(), std::make_move_iterator(stepLines.begin()),
                     std::make_move_iterator(stepLines.end()));
    }
    if (stopped_) {
        steps_.Stop(stopReason_);
    }
    return lines;
}
