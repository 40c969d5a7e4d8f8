#pragma once

#include "platform/controls/DataControl.h"
#include "platform/dao/Variant.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTabWidget>
#include <vector>

class frmMain;

// The physician fee manager: one operation at a time on the current session's user schedules S1..S5
// (tab 0) or frequencies Freq1..Freq5 (tab 1), for all codes or the tagged ones. Works for both physician
// views; in "KELVA OPPS" Copy and Calculate read the OPPS-capped amounts of the current carrier and locality.
class frmSchedules : public platform::Form {
    Q_OBJECT
public:
    frmSchedules();

    template <class T>
    using ControlArray = platform::ControlArray<T>;

    QTabWidget* SSTab1;  // 0 schedules, 1 frequencies
    QWidget* SchedulesPage;
    QWidget* FrequenciesPage;

    // 0 Copy, 1 Clear (Zero Out), 2 Calculate, 3 Swap, 4 Import, 5 Export (schedules);
    // 6 Calculate, 7 Export, 8 Clear (Zero Out), 9 Import, 10 Swap, 11 Copy (frequencies).
    ControlArray<QRadioButton> opt;
    QCheckBox* chk;     // "Use Tagged Codes Only", schedules
    QCheckBox* Check1;  // the same, frequencies
    // 0 "Source:", 1 the destination caption, 2 and 3 the percentage's captions, 4 the clear warning,
    // 5 and 6 the frequencies' percentage captions, 7 their clear warning, 9 "OR", 10 and 11 the
    // conversion factor's captions.
    ControlArray<QLabel> lbl;
    QComboBox* Combo1;  // source: positions into the source table of the view
    QComboBox* Combo2;  // destination: S1..S5, 5 "All Schedules (S1-S5)"
    QComboBox* Combo3;  // frequency source Freq1..Freq5
    QComboBox* Combo4;  // frequency destination, 5 "All Frequencies(F1-F5)"
    QLineEdit* Text1;   // percentage (schedules)
    QLineEdit* Text2;   // percentage (frequencies)
    QLineEdit* Text3;   // new conversion factor, at most 8 characters
    QLabel* Label2;     // the session's name as loaded
    QLabel* Label4;     // "Source:  Freq1 - Freq5"
    QLabel* Label5;     // "Destination: Freq1 - Freq5"
    QLabel* Label8;     // "Field to Clear"
    QGroupBox* FrameSession;  // "Applying to Session :"
    QWidget* FrameFactor;     // the percentage and conversion factor, without a caption
    ControlArray<QPushButton> btn;  // 0 Run, 1 Cancel
    QPushButton* btnHelp;
    platform::DataControl Data1;

    void Form_Load() override;
    void Form_Activate() override;
    void opt_Click(int Index);
    void SSTab1_Click(int PreviousTab);
    void Text1_GotFocus();
    void Text1_KeyPress(int& KeyAscii);
    void Text3_GotFocus();
    void Text3_KeyPress(int& KeyAscii);
    void Text3_LostFocus();
    void btn_Click(int Index);
    void btnHelp_Click();

    // The list entries of the schedules' sources for a view: the 23 physician ones or the two OPPS ones.
    static QStringList sourceEntries(bool opps, const QString& locality, const QStringList& scheduleNames);

private:
    void wire();
    void makeSchedulesPage();
    void makeFrequenciesPage();
    frmMain& main() const;
    bool oppsView() const;
    QStringList scheduleNames() const;
    void clearOptions(int from, int to);

    // Run's blocks; false when a check refused the click or the statement failed.
    bool CopySchedules(const QStringList& sources);
    bool ClearSchedules();
    bool CalculateSchedules(const QStringList& sources);
    bool SwapSchedules();
    bool CalculateFrequencies();
    bool ClearFrequencies();
    bool SwapFrequencies();
    bool CopyFrequencies();
    // The schedules' factor F of Calculate; false after a message when it cannot be had.
    bool CalculateFactor(double& factor);

    struct Statement {
        QString sql;
        std::vector<dao::Variant> params = {};
    };
    // When a block asks the main window for the reload, if not before its checks.
    enum class Reload { Block, OnceBusy, AfterStatement };
    struct Done {
        QString message;
        bool update = false;  // title "Update", information icon, system-modal
        bool lowerBeforeMessage = false;
        Reload reload = Reload::Block;
    };
    bool Execute(const Statement& s, const Done& done);

    int currentTab_ = 0;
    bool sourcesBuilt_ = false;
    bool sourcesForOpps_ = false;  // the view the source list was built for
};
