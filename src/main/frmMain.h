#pragma once

#include "db/parmsrow.h"
#include "db/sessions.h"
#include "platform/controls/BoundControls.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/ScrollBar.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/seam/CommonDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStringList>
#include <QToolBar>
#include <functional>
#include <memory>
#include <optional>

class SingleInstance;

namespace platform {
class WheelFilter;
}

// The main window: start-up window of the program, alive for the whole run. One class, its sources split by
// role (frmMain.cpp start-up and shut-down, _session, _query, _layout, _views, _grid, _detail, _activate,
// _commands). Every control is public under its old name; other windows read and write them in place.
class frmMain : public platform::Form {
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    template <class T>
    using ControlArray = platform::ControlArray<T>;
    using DataControl = platform::DataControl;
    using DBGrid = platform::DBGrid;
    using ScrollBar = platform::ScrollBar;
    using BoundLabel = platform::BoundLabel;
    using BoundTextBox = platform::BoundTextBox;

    // ---- Menus (QActions; an item with a submenu also has its QMenu). Indexes as the menu bar has them.
    QMenuBar* menuBar;
    ControlArray<QAction> mnumain;        // 0 &File, 1 &Edit, 2 &Settings, 3 &Reports, 4 F&eatures,
                                          // 5 Re&ferences, 6 &Federal Register, 8 &Help (no 7)
    ControlArray<QAction> mnufile;        // 0..12; 4 Export (submenu), 6 National wizard (submenu), 12 Exit
    ControlArray<QAction> mnuFileExport;  // 0 "Export Session" .. 8 "OPPS Export"
    QAction* mnu_WizExport;
    QAction* mnuExportWizBeta;
    QAction* mnu_KELVAExportUtility;
    ControlArray<QAction> mnuEdit;        // 0 Find, 1 -, 2 Toggle View Tagged Only
    ControlArray<QAction> mnuSettings;    // 0..4
    QAction* mnuSaveTagList;
    ControlArray<QAction> mnuReports;     // 0..16
    ControlArray<QAction> mnuSpecial;     // 0 Utilization/Frequency Analysis, 1 Fee Manager
    ControlArray<QAction> mnuReferences;  // 0..3
    ControlArray<QAction> mnuhelp;        // 0..5; 4 &Upgrades (submenu)
    ControlArray<QAction> mnuupgrades;    // 1 Data Upgrade, 2 Gap Code Update
    // The menus behind the bar's items and the submenus, by the index of the item that opens them.
    ControlArray<QMenu> mnumainMenu;
    QMenu* mnuFileExportMenu;
    QMenu* mnuFileWizardMenu;
    QMenu* mnuUpgradesMenu;

    // ---- Toolbar: buttons 1..8 "Display", "KELVA", "View Tagged"/"View All", "Tag/Filter", "Find/Search",
    // "Fee Manager", "Utilization", "Reports". A button's caption is its QAction's text.
    QToolBar* Toolbar1;
    ControlArray<QAction> Toolbar1Buttons;
    // Caption of toolbar button 3: "View Tagged" while all codes are shown, "View All" while tagged ones are.
    QString ViewTaggedCaption() const;
    void setViewTaggedCaption(const QString& caption);

    // ---- Data controls. Data2 is the PARMS_CL row, Data3 the SESSIONS table on the current session,
    // Data1 the main fee query; Data5 DME, Data6 LAB, Data7 JCD, Data13 ASC, Data9 DRG; Data12 crosswalk;
    // Data4 carries the connect text only (the import window points it at its file).
    DataControl Data1, Data2, Data3, Data4, Data5, Data6, Data7, Data8, Data9, Data10, Data11, Data12, Data13;
    DataControl Default1;
    platform::CommonDialog dia;

    // ---- Grids and the shared scroll bars.
    DBGrid* dbg;      // main grid, views "KELVA" and "KELVA OPPS"
    DBGrid* DBGrid1;  // DMEPOS
    DBGrid* DBGrid2;  // Lab
    DBGrid* DBGrid3;  // J codes (columns from its record source)
    DBGrid* DBGrid4;  // ASC
    DBGrid* DBGrid5;  // DRG
    ScrollBar* dbgscroll;   // vertical, shared by the grids of all views
    ScrollBar* plimscroll;  // horizontal, the code panel's row stepper

    // ---- Top panel.
    QGroupBox* Frame1;
    QComboBox* cmboCurrentView;  // 0 "KELVA" .. 6 "DRG Codes"
    QComboBox* Combo1;           // sessions: 0 "< - Make New Session - >", then every session but "Default"
    QPushButton* Command2;       // "KELVA Floating Window"
    QPushButton* Command3;       // "Locate Code"
    QPushButton* Command4;
    QPushButton* Command5;       // "NDC Cross Walk" (J Codes view)
    ControlArray<QLineEdit> Text1;  // 0 code box, 1 fee box
    QComboBox* plimlist;         // the eleven fee kinds
    QComboBox* cmbNewCodes;      // recent codes, hidden until the code box is double-clicked
    QGroupBox* Frame4;           // "KELVA Settings": fee-scale values of the session
    QLineEdit* kelvacf;          // "CF:"
    QLineEdit* cfadjust;
    ControlArray<QLineEdit> Text2;  // 0 "Work:", 1 "Practice:", 2 "Malpractice:"
    QLabel* Label4;              // locality caption, design text "Geographic Location"
    QCheckBox* Check1;           // hidden: the session's work-adjuster switch
    // Family panels.
    QComboBox* Combo3;           // state box: its text names the DMEPOS/Lab/J-code fee column
    QComboBox* Combo4;           // DRG base rate
    QLineEdit* ascwr;            // ASC wage index
    QComboBox* ASCcmboDropDown;  // ASC wage-index choice
    QLineEdit* ASCtxtuserdefined;
    QLabel* ASClblUserdefined;
    // Hidden hand-over boxes: setchk the reload request ("0", "1", "2"), work the table chooser's answer.
    QLineEdit* setchk;
    QLineEdit* work;
    // Labels of the window: lbl(10) "Long Desc:", lbl(11) "Notes:".
    ControlArray<QLabel> lbl;

    // ---- Below the grid: code detail panel, long description and notes.
    QGroupBox* CodeDetailFrame;  // collapsed 3105, expanded 11500 twips
    ControlArray<BoundTextBox> txt;  // 0 long description, 1 notes (bound to NOTES)
    QPushButton* btnMore;        // "More >>" / "<< Less"
    QPushButton* btnHelp;        // "Help"
    QPushButton* Command66;      // "Details on OPPS"
    ControlArray<BoundLabel> lblData;  // 0..16 indicator values, 19 and 20 OPPS amounts, 17 and 18 ASC frame
    ControlArray<BoundLabel> c;        // c(1) "Not Used:" value; the ASC frame's status
    ControlArray<QLabel> lbldetail;    // captions: 17 "OPPS Cap :", 20, 21 the OPPS fee captions
    QGroupBox* FrameBillable;    // hidden frame of lblData(10) and lblData(11)
    QGroupBox* AscCodeDetail;    // hidden, never shown
    QLabel* Label5;              // one line under the notes box
    QGroupBox* Frame8;           // family views' description frame

    // ---- Form-level state.
    QString strCurrentCpt;       // code of the main grid's current row
    int GridClickPending = 0;    // a left button went down on a grid
    int FirstGridRowChange = 0;  // 1 until the main grid's first cell change
    QStringList DmeStateList, LabStateList, JcdStateList;
    platform::WheelFilter* OldGridProc = nullptr;  // the main grid's wheel procedure

    // The shared rows, live in Data2 and Data3: the parameter row and the current session's row.
    db::ParmsRow Parms();
    db::SessionRow CurrentSession();

    // ==== frmMain.cpp: start-up and shut-down.
    void Form_Initialize() override;
    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Unload(int& Cancel) override;
    void Form_Resize() override;

    // ==== frmMain_session.cpp
    void LoadSessionSettings();
    void Check1_Click();
    void Combo1_Click();

    // ==== frmMain_query.cpp
    void ViewAllRecs();
    void ViewTagRecs();
    // Queries the list the grid shows again: all codes while the third toolbar button reads "View Tagged",
    // the tagged codes otherwise.
    void RequeryListShown();

    // ==== frmMain_layout.cpp
    void Recolumnize();
    void ResetDefaultColumnLayout();
    void PlaceWindowAndGrids();   // first geometry stage
    void PlaceTopPanel();         // second geometry stage
    void PlaceBelowGrid();        // third geometry stage
    void EnableViewsAndMenus();     // the view selector's entries, the session list and the menus
    void ApplyTextColours();        // GCOLOR
    void CopyCodeBoxFont();         // the recent-codes list takes the code box's font and width
    void ApplyBackColours();        // bcolor
    void SetScheduleCaptions();     // the session's schedule names on the grid's S1..S5
    void FillFeeChoiceList();       // the fee kinds and the fee box
    void SetFamilyRecordSources();  // the J-code, ASC and Lab grids' queries, the DRG base rate
    void BuildStateLists();

    // ==== frmMain_views.cpp
    void cmboCurrentView_Click();
    void ShowViewGrid();
    void FormatJCodeGrid();
    void Data5_Reposition();
    void Data6_Reposition();
    void Data7_Reposition();
    void Data13_Reposition();
    void Data9_Reposition();
    void ToggleTagDME();
    void ToggleTagLab();
    void ToggleTagJCodes();
    void ToggleTagASC();
    void ToggleTagDRG();

    // ==== frmMain_grid.cpp
    void RefreshGrid();
    void LocateCode();
    void RefreshMainGridData();
    // byUser: the user moved the bar; a value the program sets moves nothing.
    void dbgscroll_Change(bool byUser);
    void dbgscroll_GotFocus();
    void dbgscroll_LostFocus();
    void plimscroll_Change(bool byUser);
    void plimscroll_GotFocus();
    void plimscroll_LostFocus();
    void dbg_RowColChange(qint64 LastRow, int LastCol);
    void Data1_Reposition();
    void dbg_DblClick();
    void dbg_MouseDown(int Button, int Shift, double X, double Y);
    void dbg_KeyDown(int& KeyCode, int Shift);
    void dbg_KeyPress(int& KeyAscii);
    void dbg_Change();
    void dbg_AfterColUpdate(int ColIndex);
    void dbg_HeadClick(int ColIndex);
    void dbg_Error(int DataError, int& Response);
    void dbg_GotFocus();
    void ToggleTagKelva();
    void LockReadOnlyColumns();   // every column but S1..S5, Freq1..Freq5, NOTES and USRDF
    int EditedRow = -1;           // the cell whose edit was last taken into the row
    int EditedCol = -1;

    // ==== frmMain_detail.cpp
    void btnMore_Click();
    void btnHelp_Click();
    void Command66_Click();
    void ShowCodeDescription();
    void ShowLongDescAndNotes();
    void txt_Change(int Index);
    void lblData_Change(int Index);

    // ==== frmMain_activate.cpp
    void Form_Activate() override;
    void Form_GotFocus() override;
    void CheckDataDate();
    // The one way for a window to have the main grid rebuilt (no window writes setchk itself): 1 after the
    // session's fee-scale settings changed (reload the session values, re-query, lay out), 2 after display
    // settings or code data changed (reload, lay out). Carried out at the main window's next activation; a
    // 2 arriving with a 1 pending keeps the 1 and notes the layout.
    void RequestReload(int request);
    void PlaceForView();           // code detail panel and dbgscroll for the view shown
    bool ReloadLayoutAsked = false;  // a 2 was merged into the pending 1
    bool DataDateFailureShown = false;

    // ==== frmMain_commands.cpp
    void Command2_Click();
    void Command3_Click();
    void plimlist_Click();
    void plimlist_GotFocus();
    void plimlist_LostFocus();
    void Text1_Change(int Index);
    void Text1_KeyDown(int Index, int& KeyCode, int Shift);
    void Text1_LostFocus(int Index);
    void Text1_DblClick(int Index);
    void Toolbar1_ButtonClick(QAction* Button);
    void mnumain_Click(int Index);
    void mnufile_Click(int Index);
    void mnuFileExport_Click(int Index);
    void mnuEdit_Click(int Index);
    void mnuSettings_Click(int Index);
    void mnuReports_Click(int Index);
    void mnuSpecial_Click(int Index);
    void mnuReferences_Click(int Index);
    void mnuhelp_Click(int Index);
    void mnuupgrades_Click(int Index);
    void mnu_WizExport_Click();
    void mnuExportWizBeta_Click();
    void mnu_KELVAExportUtility_Click();
    void mnuSaveTagList_Click();

    // ==== The session's locality (frmMain_session.cpp)
    // CARRIER and Loc of the parameter row follow the current session's stored locality (cleared when
    // LOCATION has none).
    void FollowSessionLocality();

    // ==== frmMain_import.cpp: the user-column imports of the File menu and their comma-delimited readers.
    // File menu items 0 and 1: S1..S5 and the tag, or Freq1..Freq5, from a file the user chooses.
    void ImportUserSchedules();
    void ImportUserFrequencies();
    // The readers read the file named in dia.FileName into the current session's table.
    void ImportUserSchedulesCsv();
    void ImportUserFrequenciesCsv();

    // ==== frmMain_codebox.cpp: the code box's lookup, the recent-codes list and the code panel's buttons.
    // Last good code of each family: written back into the code box after a code that is not found.
    QString strExchangeCodeKELVA, strExchangeCodeDMEPOS, strExchangeCodeLab, strExchangeCodeJCodes,
        strExchangeCodeASC, strExchangeCodeDRG;
    void LookupTypedCode(int Index);
    void StoreRecentCode();
    void Text1_Click(int Index);
    void Text1_GotFocus(int Index);
    void cmbNewCodes_Change();
    void cmbNewCodes_Click();
    void cmbNewCodes_GotFocus();
    void cmbNewCodes_LostFocus();
    void cmbNewCodes_KeyDown(int& KeyCode, int Shift);
    void cmbNewCodes_KeyPress(int& KeyAscii);
    void Text1_KeyPress(int Index, int& KeyAscii);
    void Command4_Click();
    void wireCodeBox();

    // ==== frmMain_views.cpp: the view switch, the family panels, the family tag toggles and locates.
    QGroupBox* Frame6 = nullptr;    // state panel of the DMEPOS, Lab and J-code views: Combo3, Command5
    QGroupBox* ASCFrame = nullptr;  // "CMS Wage Index for ASC"
    QGroupBox* DRGFrame = nullptr;  // "Hospital DRG Base Rate": Combo4
    ControlArray<QPushButton> btnSpecialHelp;  // 0 DMEPOS, 1 Lab, 2 J codes (in Frame6), 3 ASC, 4 DRG
    void btnSpecialHelp_Click(int Index);
    int intLastView = 0;            // the view shown before the switch
    QString strViewCodePhysician;   // the code box's text when a physician view was last left
    QString strViewCodeDME, strViewCodeLab, strViewCodeJCD, strViewCodeASC;  // a family view's code when left
    int intViewCodeDRG = 0;
    QString strMainGridCode;        // the main grid's code when the switch ended the tagged display
    QString strCurCodeDME, strCurCodeLab, strCurCodeJCD, strCurCodeASC;  // last code made current per family
    // The "Default" session row's column list: lays the main grid out while "KELVA OPPS" is shown.
    std::optional<QString> OppsColumnList;
    void LocateDME(const QString& code);
    void LocateLab(const QString& code);
    void LocateJCodes(const QString& code);
    void LocateASC(const QString& code);
    void LocateDRG(int drg);
    // The tag toggle shared by the main grid and the five family grids: Null, "" and " " become "+",
    // anything else Null, written through the data control's recordset.
    void ToggleTagOf(DBGrid* grid, DataControl& data, int tagField);
    // The arms of "KELVA" and "KELVA OPPS"; focusReached once the grid was given the focus.
    void ShowPhysicianView(bool opps, bool& focusReached);

    // ==== frmMain_families.cpp: the DMEPOS, Lab and J-code views and their state box.
    void Combo3_Click();
    void Command5_Click();
    void ViewAllDME();
    void ViewTagDME();
    void ViewAllLab();
    void ViewTagLab();
    void ViewAllJCodes();
    void ViewTagJCodes();
    void ShowStateFamilyView(int view);  // the arms of "DMEPOS" and "Lab Fees"
    void ShowJCodeView();                // the arm of "J Codes"
    // Binds a family's tagged codes after probing for one. false when there is none or the binding failed:
    // then the message is shown and button 3 reads "View Tagged"; the caller shows all codes.
    // texts gives the probe and the tagged record source (built inside, so that a failure to build them is
    // handled as a failing query).
    struct TaggedTexts {
        QString probe, tagged;
        std::vector<dao::Variant> params;
    };
    bool BindTaggedCodes(DataControl& data, const std::function<TaggedTexts()>& texts);

    // ==== frmMain_ascdrg.cpp: the ASC and DRG views, their panels and record sources.
    QLabel* Label8 = nullptr;        // "CBSA:"
    QLabel* ASClblNotes = nullptr;   // State Name of the chosen entry
    QLabel* WIlbl = nullptr;         // "Wage Index:"
    QLabel* ASClblWI = nullptr;      // the chosen index, "#0.0000"
    QLabel* Label13 = nullptr;       // "DRG Base Rate:"
    QPushButton* btnrestoredrg = nullptr;  // "Restore Default"
    void ASCcmboDropDown_Click();
    void ASClblUserdefined_Click();
    void ASCtxtuserdefined_KeyPress(int& KeyAscii);
    void ASCtxtuserdefined_LostFocus();
    void ViewASCUserWageIndex();
    void ViewAllASC();
    void ViewTagASC();
    bool HasASCRecords();
    void FillAscWageList();
    void ShowAscView();                      // the arm of "ASC Codes"
    void Combo4_KeyPress(int& KeyAscii);
    void Combo4_LostFocus();
    void btnrestoredrg_Click();
    void ViewAllDRG();
    void ViewTagDRG();
    void ShowDrgView(bool& focusReached);    // the arm of "DRG Codes"
    QString DrgBaseRateInUse;                // the base rate the DRG grid was last bound with, as typed
    void makeAscDrgPanels();
    void makeAscDrgGrids();

    // ==== frmMain_familygrid.cpp: the events of the five family grids (0 DMEPOS, 1 Lab, 2 J codes, 3 ASC,
    // 4 DRG), one set of handlers over the family table.
    QString strGridCodeDME, strGridCodeLab, strGridCodeJCD, strGridCodeASC, strGridCodeDRG;  // current row keys
    void FamilyGrid_MouseDown(int family, int Button, int Shift, double X, double Y);
    void FamilyGrid_MouseUp(int family, int Button, int Shift, double X, double Y);
    void FamilyGrid_Click(int family);
    void FamilyGrid_DblClick(int family);
    void FamilyGrid_KeyPress(int family, int& KeyAscii);
    void FamilyGrid_RowColChange(int family);
    void FamilyData_Reposition(int family);  // the physician lookup of Data5, Data6, Data7 and Data13
    // The shown view's code is the main grid's current code: a physician view, or a family view whose grid is
    // on the code of the main grid's row (the main grid follows that grid's code).
    bool MainGridOnShownCode();
    void dbg_MouseUp(int Button, int Shift, double X, double Y);
    void wireFamilyGrids();

    // The Find a Code openers (Edit "&Find (key word or code)" modal, the toolbar's "Find/Search" the current
    // view's twin modeless); frmMain_find.cpp.
    void ShowFindWindow(bool modeless);

    // The menu and toolbar commands carried out here (frmMain_commands.cpp, frmMain_toolbar.cpp).
    QString CurrentCodemod();            // CODEMOD of the main grid's current row; empty when none
    void LocateSavedCode(const QString& code);  // the main grid back on a code a command kept
    void OpenAnalysis(int modal);        // frmAnal fresh, with the busy cursor raised for it to lower
    void ExitProgram();                  // File "Exit"
    void ToggleViewTaggedOnly();         // Edit "Toggle View Tagged Only"
    void ClearAllTaggedItems();          // Settings "Clear All Tagged Items"
    void ToolbarTaggedSwitch(int view, bool& switched);
    void ToolbarAllCodesSwitch(int view, bool& switched);


private:
    void makeMenus();
    void makeToolbar();
    void makeTopPanel();
    void makeDetailPanel();
    void makeFamilyPanels();  // frmMain_views.cpp
    void makeFamilyGrids();   // frmMain_families.cpp
    void wire();
    // The start-up's parts, in their order. Up to ApplyBackColours a failure ends the program; a failure in
    // FillMainGrid or PrepareFamilyViews ends the start-up with the window shown (StartupFailed).
    void PrepareRunValues();
    void OpenMainDatabase();       // and reads the parameter row
    bool AgreementAndFirstRun();   // false when the program ended there
    void ShowDatedNotices();
    void FillSessionList();
    void SettleOnCurrentSession();
    void FillMainGrid();           // the session's values, the fee query and layout; shows the window
    void PrepareFamilyViews();
    void ShowMainWindow();
    void StartupFailed(const QString& description);
    void WorkAdjusterWarning();
    void SwitchSession(const QString& chosen, const QString& current);  // the session list's choice

    QWidget* client;  // the area under the menu bar and toolbar; controls are placed on it in twips
    std::unique_ptr<SingleInstance> instance_;
};
