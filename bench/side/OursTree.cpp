// Our side of the side-by-side benchmark: the panel and the tree reactions, set up like the
// main window's tree view.
#include "bench/side/OursTree.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "bench/side/ViewSize.h"
#include "model/ObjectItem.h"
#include "model/TreeNode.h"
#include "toolkit/TriStateBox.h"
#include "tree/ObjectPictures.h"

OursTree::OursTree()
    : server_(script_), host_(nullptr), panel_(&host_, true, CheckMode::ThreeState, &forest_),
      historyHost_(nullptr), historyPanel_(&historyHost_, true, CheckMode::Plain, &versions_),
      history_(historyPanel_, versions_, selection_, session_),
      tree_(panel_, forest_, selection_, history_, *this, session_),
      image_(kViewWidth, kViewHeight, QImage::Format_ARGB32_Premultiplied)
{
    script_.SetLogging(false);
    panel_.SetSelectHdl([this](OutlinePanel &panel) { return tree_.SelectHdl(panel); });
    panel_.SetActivateHdl([this](OutlinePanel &panel) { return tree_.OpenHdl(panel); });
    panel_.SetCheckHdl([this](OutlinePanel &panel, const CheckClick &click) {
        return tree_.CheckHdl(panel, click);
    });
    panel_.SetPictureHdl(ObjectPictures::Of);
    panel_.ShowPanel();
    host_.Show();
    host_.SetSizePixel({kViewWidth, kViewHeight});
    panel_.SetPosSizePixel({0, 0}, {kViewWidth, kViewHeight});
    QApplication::processEvents();
}

OursTree::~OursTree() = default;

void OursTree::Root(const std::string &name)
{
    tree_.SetTopContext(name, &client_, &registry_);
    QApplication::processEvents();
}

void OursTree::OpenChildrenOfTop()
{
    NodeList &children = forest_.ElementAt(0)->Children();
    for (std::size_t i = 0; i < children.Count(); ++i) {
        auto *item = static_cast<ObjectItem *>(children.ElementAt(i)->Item());
        if (item->IsContainer() && !item->IsOpen()) {
            item->Open();
        }
    }
    QApplication::processEvents();
}

ObjectItem &OursTree::ItemAt(int32_t row)
{
    return *static_cast<ObjectItem *>(forest_.ItemAt(static_cast<std::size_t>(row)));
}

// Outside the event loop the panel catches up with the forest first, as a pass would (as the
// peer's view runs its delayed layout when it paints).
void OursTree::Render()
{
    panel_.Refresh();
    panel_.Widget()->render(&image_);
}

void OursTree::Press(int qtKey)
{
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
    QCoreApplication::sendEvent(panel_.GetRowArea().Widget(), &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier);
    QCoreApplication::sendEvent(panel_.GetRowArea().Widget(), &release);
}

void OursTree::ClickBox(int32_t row, int state)
{
    CheckColumn &column = panel_.GetCheckColumn();
    auto *box =
        static_cast<TriStateBox *>(column.Box(static_cast<std::size_t>(row - column.TopRow())));
    box->SetState(state);
    box->Click();
}

// What the main window's status bar shows, counted now.
std::string OursTree::CountsText() const
{
    const MarkCounts counts = selection_.Counts();
    return "Containers: " + std::to_string(counts.containers) +
           ", Objects: " + std::to_string(counts.objects);
}
