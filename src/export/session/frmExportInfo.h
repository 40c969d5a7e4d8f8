#pragma once

#include "export/session/sessioncsv.h"
#include "platform/controls/DataControl.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

class ExprtInd;
namespace exportrules {
struct Target;
}

// "Data Export": writes the current session's physician fee rows (all or tagged codes; all, displayed or
// predefined columns) to the file the user names; the name's last three characters choose its type.
class frmExportInfo : public platform::Form {
    Q_OBJECT
public:
    frmExportInfo();

    QGroupBox* Frame1;  // "Note"
    platform::ControlArray<QLabel> Label1;
    QGroupBox* Frame2;  // "Codes (Rows)"
    platform::ControlArray<QRadioButton> Option1;  // 0 all codes, 1 tagged codes
    QGroupBox* Frame3;  // "Columns (Fields)"
    QGroupBox* Frame4;  // holds Option2(1)
    platform::ControlArray<QRadioButton> Option2;  // 0 all columns, 1 displayed columns, 2 predefined layouts
    platform::ControlArray<QPushButton> Command1;  // 0 Help, 1 Cancel, 2 Continue
    // The table-export data source (index 1); at rest it names the main database.
    platform::DataControl& Data(int Index);

    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Command1_Click(int Index);
    void Option2_Click(int Index);

    // Writes the displayed-columns CSV form of the fee query's rows to path.
    void ExportDisplayedColumns(const QString& path);
    // Gives the Access file's exportF the session's schedule and frequency names in place of export; false
    // after its own two messages.
    bool RenameScheduleColumns(const QString& path);

    // An export is running: the buttons are disabled and closing the window waits for its end.
    bool exportRunning() const { return running_; }

private:
    void wire();
    void Continue();
    bool ExportTarget(const exportrules::Target& target, const QString& programFolder, QString& step);
    void ExportCsv(const QString& path, QString& step);
    bool ExportTable(const exportrules::Target& target, const QString& programFolder, QString& step);
    void WriteTableRows(bool access, bool dbase);
    void WriteAllColumns(const QString& path);
    void CommonEnd(const QString& programFolder, const QString& path, bool accessTarget);
    void Failure(const QString& step, const QString& description, const QString& programFolder);
    void ReadSessionRow();
    ExprtInd& ShowProgress();
    void setRunning(bool running);
    void lowerBusy();
    void PointDataAtMainDb();

    platform::DataControl data1_;
    sessioncsv::ScheduleNames names_;
    QString feeSql_;
    std::vector<dao::Variant> feeParams_;
    bool running_ = false;
    bool busy_ = false;
};
