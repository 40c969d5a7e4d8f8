#pragma once

#include "platform/forms/Form.h"
#include "platform/seam/CommonDialog.h"

#include <QLabel>
#include <QPushButton>

// The fee managers' import window: user fees S1..S5 from an Excel 4.0 worksheet, a comma-delimited text
// table, a dBASE III table, a Lotus WK1 sheet or an Access table, read through the main window's hidden
// data control Data4, into the current session's table.
class frmImport : public platform::Form {
    Q_OBJECT
public:
    frmImport();

    QLabel* Label1;
    QPushButton* Command1;  // "Continue": runs the import
    QPushButton* Command2;  // "Return"
    platform::CommonDialog dia;

    void Command1_Click();
    void Command2_Click();

private:
    // The rows of the open source written into the session table; false when a column check refused it.
    bool ImportRows(const QString& path);
};
