// The resource tables the toolkit builds windows, controls, menus, texts, fonts, bitmaps and
// icons from. The program's own tables live in res/ and are installed once at start-up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/ResId.h"

enum class ControlKind {
    OKButton,
    CancelButton,
    BitmapButton,
    FixedText,
    FixedIcon,
    GroupBox,
    RadioButton,
    CheckBox,
    TriStateBox,
    Edit,
    MultiLineEdit,
    ListBox,
    PushButton,
    ResultTable,
    TableBox,
};

// Geometry of controls and dialogs is in dialog units (see DialogUnits).
struct ControlResource {
    ControlKind kind;
    uint16_t id; // local to the dialog, unique per kind
    int x, y, width, height;
    std::string text{};
    uint16_t fontId = 0;  // 0: the dialog's font
    uint16_t imageId = 0; // bitmap of a bitmap button, icon of a fixed icon
    bool masked = false;  // an edit that hides what is typed
};

struct DialogResource {
    uint16_t id;
    bool modal;
    std::string title; // empty: a window without a title
    int x, y, width, height;
    std::vector<ControlResource> controls; // in creation and focus order
};

struct MenuItemResource {
    uint16_t id;
    std::string text{}; // "~" marks the mnemonic
    std::string helpText{};
    bool enabled = true;
    std::string accelerator{}; // in QKeySequence's portable text form, e.g. "Alt+X"; empty: none
    std::vector<MenuItemResource> items{}; // a drop-down's entries
};

struct MenuResource {
    uint16_t id;
    std::vector<MenuItemResource> items;
};

struct StringResource {
    uint16_t id;
    std::string text;
};

struct FontResource {
    uint16_t id;
    std::string name;
    std::string family; // a generic family such as "sans-serif"
    int pointSize;
    bool bold;
};

struct ImageResource {
    uint16_t id;
    std::string name;
    int width, height;
    std::string path; // in Qt's resource system, e.g. ":/bitmaps/CONOPRES.png"
};

struct ResourceTable {
    std::vector<MenuResource> menus;
    std::vector<StringResource> strings;
    std::vector<FontResource> fonts;
    std::vector<ImageResource> bitmaps;
    std::vector<ImageResource> icons;
    std::vector<DialogResource> dialogs;
};

// The installed table, looked up by id. A missing id is a programming error of the caller and
// yields null.
class Resources
{
  public:
    static void Install(const ResourceTable *table);
    static const ResourceTable *Installed();

    static const MenuResource *Menu(ResId id);
    static const StringResource *String(ResId id);
    static const FontResource *Font(ResId id);
    static const ImageResource *Bitmap(ResId id);
    static const ImageResource *Icon(ResId id);
    static const DialogResource *Dialog(ResId id);
};
