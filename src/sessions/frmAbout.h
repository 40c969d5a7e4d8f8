#pragma once

#include "platform/controls/DBGrid.h"
#include "platform/controls/DataControl.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

// The about window: the program's title and version, and on request the dates of each code family's data,
// read from the date tables of the main database. It writes nothing.
class frmAbout : public platform::Form {
    Q_OBJECT
public:
    frmAbout();

    template <class T>
    using ControlArray = platform::ControlArray<T>;

    QLabel* picIcon;
    ControlArray<QLabel> lbl;         // 0 title, 2 the version line or one family's dates
    platform::DBGrid* DBGrid1;        // the J-code dates, over Data2
    platform::DataControl Data1;      // the table of the date button last clicked
    platform::DataControl Data2;      // DatesJCD
    QGroupBox* Frame1;                // "Table Status"
    ControlArray<QPushButton> Command1;  // 0 "KELVA" .. 5 "DRG"
    ControlArray<QPushButton> btn;       // 0 "Close", 2 "KELVA System Information"

    // What a date button other than "J-Codes" shows: its table and the columns, one line each.
    struct DateButton {
        const char* caption;
        const char* table;
        std::vector<const char*> columns;
    };
    static const DateButton kDateButtons[6];
    static constexpr int kJCodes = 3;

    void Form_Load() override;
    void Command1_Click(int Index);
    void btn_Click(int Index);

    // "Version: " and the program's major, minor and revision number.
    static QString versionLine();

private:
    void wire();
    void ShowDates(const DateButton& button);
};
