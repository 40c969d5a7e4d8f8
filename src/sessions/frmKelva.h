#pragma once

#include "platform/dao/Variant.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <functional>

class frmMain;
namespace db {
class SessionRow;
}

// The fee scale of a session: its locality (locality text, the three GPCIs, the ZIP code with its HPSA
// indicator), its conversion factor, the factor's adjustment and the work-adjuster switch. The window
// belongs to the session that was current when it opened; Apply stores the boxes in that session's row and,
// while it is the current session, has the main window follow.
class frmKelva : public platform::Form {
    Q_OBJECT
public:
    frmKelva();

    template <class T>
    using ControlArray = platform::ControlArray<T>;

    QGroupBox* FrameSession;   // "KELVA Settings for Session:"
    QGroupBox* FrameGeo;       // "Geographic Factors"
    QGroupBox* FrameHpsa;      // "HPSA Bonus Indicator"
    QGroupBox* FrameFactors;   // "KELVA Factors"
    QLabel* dspSession;        // the session's name
    QLabel* Label2;            // "Geographic Area:"
    QLineEdit* Text1;          // locality text (read-only)
    ControlArray<QLabel> gpcitxt;     // 0 "Work", 1 "Practice Exp.", 2 "Malpractice Exp.", 3 "Zip Code:",
                                      // 4 "Effective Date:", 5 the HPSA result
    ControlArray<QLineEdit> Text2;    // 0..2 the GPCIs, 3 the ZIP code, 4 the effective quarter (read-only)
    QPlainTextEdit* txtHint;   // how to find the HPSA indicator
    QPushButton* Command2;     // "Change Locality"
    QPushButton* Command3;     // "Help" (HPSA)
    QPushButton* Command4;     // "Help" (factors)
    ControlArray<QLabel> lbl;  // 0 "Apply .8806 Work Adjuster:", 7 "Conversion Factor Adjustment:" (hidden),
                               // 8 the conversion factor's caption
    QLineEdit* kelvacf;        // base conversion factor
    QLineEdit* cfadjust;       // adjustment in percent (hidden)
    QCheckBox* Check1;         // hidden mirror of the main window's work-adjuster box
    QCheckBox* Check2;         // the work-adjuster switch
    ControlArray<QPushButton> Command1;  // 0 "Cancel", 1 "Apply", 2 "Restore Defaults"

    void Form_Load() override;
    void Command1_Click(int Index);
    void Check2_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    // Puts the main grid on a code (not found: nowhere else) and highlights its whole row.
    void LocateGridCode(const QString& codemod);

    // A locality chosen in the locality window, handed over by its Apply. A choice by ZIP code carries the
    // code and its HPSA indicator (empty when it has none); one by state carries neither.
    struct LocalityChoice {
        QString text;
        QString work, pract, malp;
        bool byZip = false;
        QString zip;
        QString ruralInd;
    };
    void TakeLocality(const LocalityChoice& choice);

    // "HPSA "R" Area", or "Not HPSA" for an empty indicator.
    static QString hpsaText(const QString& ruralInd);

    // The SESTAB of the session the window belongs to.
    const QString& sessionTable() const { return sesTab_; }

private:
    void wire();
    frmMain& main() const;
    // The window's session is the main window's current one.
    bool isCurrentSession();
    // Runs write on the window's session row in one transaction: on the main window's live row while it is
    // current, on a row of its own otherwise.
    void writeSession(const std::function<void(db::SessionRow&)>& write);
    void showZip(const QString& zip, const QString& ruralInd);
    void clearZip();
    void Apply();
    void RestoreDefaults();
    void Close();

    QString sesTab_;
    // The ZIP code and indicator Apply stores: the session's own until another locality is taken.
    QString zip_;
    QString ruralInd_;
};
