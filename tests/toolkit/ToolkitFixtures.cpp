#include "tests/toolkit/ToolkitFixtures.h"

const ResourceTable &ToolkitTestResources()
{
    static const ResourceTable table = [] {
        ResourceTable t;
        t.dialogs.push_back({kTestDialog,
                             true,
                             "Test Dialog",
                             10,
                             20,
                             160,
                             80,
                             {
                                 {ControlKind::FixedText, 1, 8, 8, 60, 10, "Name:"},
                                 {ControlKind::Edit, 1, 70, 8, 80, 12, "initial"},
                                 {ControlKind::Edit, 2, 70, 24, 80, 12, "", 0, 0, true},
                                 {ControlKind::RadioButton, 1, 8, 40, 40, 12, "~First"},
                                 {ControlKind::RadioButton, 2, 8, 52, 40, 12, "~Second"},
                                 {ControlKind::OKButton, 1, 110, 60, 40, 12},
                                 {ControlKind::CancelButton, 1, 60, 60, 40, 12},
                             }});
        t.dialogs.push_back({kTestListDialog,
                             true,
                             "List Dialog",
                             10,
                             20,
                             160,
                             120,
                             {
                                 {ControlKind::ListBox, 1, 5, 5, 150, 50},
                                 {ControlKind::FixedText, 1, 5, 58, 150, 10},
                                 {ControlKind::MultiLineEdit, 1, 5, 70, 150, 30},
                                 {ControlKind::PushButton, 1, 5, 104, 40, 12, "~Copy"},
                                 {ControlKind::OKButton, 1, 115, 104, 40, 12},
                             }});
        t.dialogs.push_back(
            {kTestTableDialog,
             true,
             "Table Dialog",
             10,
             20,
             160,
             100,
             {
                 {ControlKind::TableBox, 1, 5, 5, 100, 90},
                 {ControlKind::OKButton, 1, 115, 5, 40, 12},
                 {ControlKind::PushButton, 1, 115, 20, 40, 12, "A much longer text..."},
             }});
        t.menus.push_back({kTestMenu,
                           {
                               {1, "E~xit!", "Leave", true, "Alt+X"},
                               {2,
                                "~File",
                                "File things",
                                true,
                                "",
                                {{3, "~Open", "Open it"}, {4, "~Close", "", false}}},
                           }});
        return t;
    }();
    return table;
}
