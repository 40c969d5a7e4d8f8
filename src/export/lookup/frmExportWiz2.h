#pragma once

#include "export/national/physiciantable.h"
#include "platform/dao/Database.h"
#include "platform/forms/Form.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <vector>

// One table of the lookup file, as its work table in the main database and as its copy.
struct LookupSetting {
    const char* table;  // "KELVA_NonFacility", "KELVA_Facility"
    bool facility;      // the fees take F98WORK and the table FTPERVU, instead of NF98WORK and NFTPERVU
};
// In the order of a run: non-facility, then facility.
extern const LookupSetting kLookupSettings[2];

// The KELVA Lookup Utility: "Create" writes KELVA_Lookup.mdb into the program folder with the non-facility and
// the facility table, every code of the current session with its fee in every Medicare locality.
class frmExportWiz2 : public platform::Form {
    Q_OBJECT
public:
    frmExportWiz2();

    QPushButton* Command1;  // "Create"
    QGroupBox* Frame1;
    QLabel* Label3;  // what the utility makes
    QLabel* Label2;  // the warning, dark red

    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Command1_Click();
    // One whole run: the question before an existing file is replaced, both tables, and the report of success
    // or failure.
    void Create_Table();

    // The window's own mouse pointer: 11 during a run, 0 otherwise.
    int MousePointer() const { return pointer_; }
    bool running() const { return running_; }

private:
    void wire();
    void setMousePointer(int pointer);
    void RunHalf(const LookupSetting& s);
    void DefineLookupTable(dao::Database& target, const LookupSetting& s);
    void CopyRowsToLookup(const LookupSetting& s);
    void CommonEnd();
    void FailureReport(const QString& description);
    void CloseRun();
    void EndRun();

    dao::Database LookupMainDb;  // the run's own connection to the main database
    bool auxOpened_ = false;     // AuxDb holds the lookup file of this run
    physician::Inputs in_;
    std::vector<physician::Locality> locations_;  // LOCATION as the current half read it
    int pointer_ = 0;
    bool running_ = false;
};
