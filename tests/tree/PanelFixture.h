// A shown outline panel over a small forest of plain display items, for the panel's tests.
#pragma once

#include <QApplication>
#include <QWidget>
#include <memory>
#include <string>

#include "model/DisplayItem.h"
#include "model/NodeList.h"
#include "model/TreeNode.h"
#include "toolkit/Window.h"
#include "tree/OutlinePanel.h"

inline TreeNode *AddRow(NodeList &list, const std::string &text,
                        uint16_t kind = DisplayItem::PlainKind)
{
    return list.AppendItem(std::make_unique<DisplayItem>(text, kind));
}

inline TreeNode *AddChildRow(TreeNode *parent, const std::string &text,
                             uint16_t kind = DisplayItem::PlainKind)
{
    return parent->AddChild(std::make_unique<DisplayItem>(text, kind));
}

inline void AddRows(NodeList &list, int count)
{
    for (int i = 0; i < count; ++i) {
        AddRow(list, "Row-" + std::to_string(i));
    }
}

// The panel sits alone in a host window; the row area is rows × 20 pixels high.
class PanelFixture
{
  public:
    explicit PanelFixture(CheckMode checkMode = CheckMode::ThreeState)
        : host(nullptr), panel(&host, true, checkMode, &list)
    {
        panel.ShowPanel();
        host.Show();
    }
    void SetVisibleRows(int rows, int width = 300)
    {
        host.SetSizePixel({width, OutlinePanel::kTitleHeight + rows * OutlinePanel::kRowHeight});
        panel.SetPosSizePixel({0, 0}, host.GetSizePixel());
        panel.Resize();
        QApplication::processEvents();
    }
    QPoint RowPoint(int visibleRow) const
    {
        return QPoint(40, visibleRow * OutlinePanel::kRowHeight + 10);
    }

    NodeList list;
    Window host;
    OutlinePanel panel;
};
