// Counting again after the marks or the loaded rows changed.
#include "app/CountsField.h"

#include "model/NodeList.h"
#include "model/RestoreSelection.h"
#include "toolkit/StatusBar.h"

CountsField::CountsField(NodeList &forest, const RestoreSelection &selection, StatusBar &bar,
                         uint16_t field)
    : forest_(forest), selection_(selection), bar_(bar), field_(field)
{
    forest_.AddObserver(this);
}

CountsField::~CountsField()
{
    forest_.RemoveObserver(this);
}

void CountsField::Update()
{
    const MarkCounts counts = selection_.Counts();
    bar_.SetItemText(field_, Text(counts.containers, counts.objects));
}

std::string CountsField::Text(long containers, long objects)
{
    return "Containers: " + std::to_string(containers) + ", Objects: " + std::to_string(objects);
}
