#pragma once

#include "platform/controls/DBGrid.h"
#include "platform/controls/DataControl.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QLabel>
#include <QLineEdit>
#include <QIODevice>
#include <QPushButton>
#include <functional>
#include <memory>

// "National Drug Code (NDC) Crosswalk": the crosswalk rows of the J-code in the main window's code box, or
// every row of the table; prints the code's crosswalk report and exports the whole table. The J-code view's
// "NDC Cross Walk" button shows it modally.
class frmMedCrossCode : public platform::Form {
    Q_OBJECT
public:
    frmMedCrossCode();

    platform::ControlArray<QLabel> lbl;       // 3 "HCPCS Code:", 0 "Short Description:", 1 "National Drug Code(s):"
    platform::ControlArray<QLabel> dsp;       // 0 the code; the crosswalk report reads it
    QLineEdit* Text1;                         // the short description; what is typed is not stored
    platform::DBGrid* dbg;
    platform::ControlArray<QPushButton> btn;  // 1 export, 3 mode switch, 4 print, 0 close; no 2
    platform::DataControl Data1;              // the grid's rows, from the main database

    void Form_Activate() override;
    void btn_Click(int Index);
    // Column widths by position; the short description (column 1) hidden.
    void ResizeGrid();
    void ExportCrosswalk();

    // Opens the comma-delimited target, created or emptied (tests put a device of their own in its place).
    std::function<std::unique_ptr<QIODevice>(const QString& path)> openTextFile;

    // btn(3)'s caption carries the mode: its code-mode caption while the code's rows are shown.
    bool inCodeMode() const;

private:
    void wire();
    QString codeBoxText() const;
    // The rows of the code box's code, or every row; read through once, then the grid sized.
    void showCodeRows();
    void showAllRows();
    void readRows();
    static std::unique_ptr<QIODevice> openFile(const QString& path);
    static void closeTextFile(QIODevice& file, const QString& path);
};
