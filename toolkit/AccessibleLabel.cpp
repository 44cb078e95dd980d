#include "toolkit/AccessibleLabel.h"

#include <algorithm>
#include <climits>

namespace
{

// Dialog units a label may stand off its control and still be read as its label.
constexpr int kSlack = 2;
constexpr int kAboveReach = 16;

int Right(const ControlResource &c)
{
    return c.x + c.width;
}
int Bottom(const ControlResource &c)
{
    return c.y + c.height;
}
int Overlap(int from1, int to1, int from2, int to2)
{
    return std::min(to1, to2) - std::max(from1, from2);
}

std::string WithoutMnemonic(std::string text)
{
    std::erase(text, '~');
    return text;
}

bool SameLineLeft(const ControlResource &label, const ControlResource &control)
{
    return Right(label) <= control.x + kSlack &&
           2 * Overlap(label.y, Bottom(label), control.y, Bottom(control)) >= label.height;
}

bool JustAbove(const ControlResource &label, const ControlResource &control)
{
    return Bottom(label) <= control.y + kSlack && Bottom(label) + kAboveReach >= control.y &&
           Overlap(label.x, Right(label), control.x, Right(control)) > 0;
}

bool Surrounds(const ControlResource &box, const ControlResource &control)
{
    return box.x <= control.x && box.y <= control.y && Right(control) <= Right(box) &&
           Bottom(control) <= Bottom(box);
}

// The label nearest to the control among those the test accepts; null when there is none.
template <typename Accepts, typename Distance>
const ControlResource *Nearest(const DialogResource &dialog, const ControlResource &control,
                               Accepts accepts, Distance distance)
{
    const ControlResource *best = nullptr;
    int bestDistance = INT_MAX;
    for (const ControlResource &label : dialog.controls) {
        if (label.kind != ControlKind::FixedText || label.text.empty() ||
            !accepts(label, control)) {
            continue;
        }
        if (int d = distance(label, control); d < bestDistance) {
            best = &label;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace

bool NeedsAccessibleLabel(ControlKind kind)
{
    return kind == ControlKind::Edit || kind == ControlKind::MultiLineEdit ||
           kind == ControlKind::ListBox || kind == ControlKind::ResultTable ||
           kind == ControlKind::TableBox;
}

std::string AccessibleGroupOf(const DialogResource &dialog, const ControlResource &control)
{
    for (const ControlResource &box : dialog.controls) {
        if (box.kind == ControlKind::GroupBox && control.kind != ControlKind::GroupBox &&
            !box.text.empty() && Surrounds(box, control)) {
            return WithoutMnemonic(box.text);
        }
    }
    return {};
}

std::string AccessibleLabelOf(const DialogResource &dialog, const ControlResource &control)
{
    const ControlResource *label =
        Nearest(dialog, control, SameLineLeft,
                [](const ControlResource &l, const ControlResource &c) { return c.x - Right(l); });
    if (!label) {
        label = Nearest(
            dialog, control, JustAbove,
            [](const ControlResource &l, const ControlResource &c) { return c.y - Bottom(l); });
    }
    if (label) {
        return WithoutMnemonic(label->text);
    }
    std::string group = AccessibleGroupOf(dialog, control);
    return group.empty() ? WithoutMnemonic(dialog.title) : group;
}
