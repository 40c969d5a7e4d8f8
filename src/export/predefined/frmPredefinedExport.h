#pragma once

#include "export/predefined/layouts.h"
#include "platform/controls/DataControl.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace exportrules {
struct Target;
}

// "Predefined Columns Data Exportation": the current session's physician fee rows (all or tagged codes) in
// one of six fixed column layouts, to an Excel 4.0 worksheet, an Access table or a comma-delimited file.
// Shown modally by the session export dialog; Cancel goes back to it, a completed export leaves it hidden.
class frmPredefinedExport : public platform::Form {
    Q_OBJECT
public:
    frmPredefinedExport();

    QGroupBox* Frame2;  // "Codes (Rows)"
    platform::ControlArray<QRadioButton> Option1;  // 0 all codes, 1 tagged codes
    QGroupBox* Frame1;  // "Fields (Columns)"
    platform::ControlArray<QRadioButton> Option2;  // the layouts 0..5
    platform::ControlArray<QLabel> Label1;         // the column list under each layout
    platform::ControlArray<QPushButton> Command1;  // 1 Cancel, 2 Continue
    // The data control of the runs (index 1): on the main database at rest, on the target while writing.
    platform::DataControl& Data(int Index);

    void Form_Load() override;
    void Command1_Click(int Index);

    // The selected layout's index, 0 when none is.
    int selectedLayout() const;

private:
    void wire();
    void Cancel();
    void Continue();
    void WriteTarget(const exportrules::Target& target, QString& step);
    void WriteSheet(const exportrules::Target& target);
    void WriteAccess(const QString& path);
    void WriteCsv(const QString& path, QString& step);
    predefined::SessionNames ReadSessionNames();
    void CommonEnd(const QString& startFolder, qint64 exportCnt);
    void Failure(const QString& step, const QString& description, const QString& startFolder);
    void ReleaseTarget();
    void PointDataAtMainDb();
    void lowerBusy();

    platform::DataControl data1_;
    bool busy_ = false;
};
