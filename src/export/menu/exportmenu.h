#pragma once

#include <QString>

// What the Export menu sets on the code-table and OPPS export windows after showing them. Items 1 to 7 go to
// frmExportOther, item 8 to frmExportOPPS. The windows apply a setting through ExportMenuTarget, so the menu
// needs to know no more of them than their names.
namespace exportmenu {

enum class TaggedChoice {
    Shown,   // the tagged option gets its caption and is made visible
    Hidden,  // localities and ZIP codes offer no tagged choice
};

struct Setting {
    int index = 0;             // Export menu item, 1 to 8
    const char* window = "";   // "frmExportOther" or "frmExportOPPS"
    QString caption;           // the window's caption
    QString allCaption;        // Option1(0)
    bool selectAll = false;    // Option1(0) selected; otherwise the selection stays as the window has it
    QString taggedCaption;     // Option1(1); empty when hidden
    TaggedChoice tagged = TaggedChoice::Shown;
    QString note;              // the whole text of Label1(0)
    int option2 = -1;          // the family option selected (0 DMEPOS .. 6 Zip Codes); -1 for OPPS
};

// The setting of Export menu item `index` (1 to 8); nullptr for any other index.
const Setting* setting(int index);

// Implemented by the windows that take a setting.
class Target {
public:
    virtual ~Target() = default;
    virtual void applyExportMenuSetting(const Setting& s) = 0;
};

} // namespace exportmenu
