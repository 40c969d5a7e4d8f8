#pragma once

#include "platform/controls/DataControl.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/seam/CommonDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

// "Save / Load Tagged List": named lists of the session's tagged codes, kept in backup/taglist.mdb of the
// program folder; saved, applied (replacing the session's tags), deleted, and read from a prior year's file.
class frmListSave : public platform::Form {
    Q_OBJECT
public:
    frmListSave();
    ~frmListSave() override;

    QTabWidget* SSTab1;     // 0 "Load List", 1 "Create List", 2 "Delete List"
    platform::ControlArray<QLabel> Label1;  // the three pages' labels
    QComboBox* Combo1;      // names to apply
    QComboBox* Combo2;      // names to delete
    QLineEdit* Text2;       // the new list's name, at most 15 characters
    QCheckBox* Check1;      // hidden "Use a prior year"
    // 11 " Apply List", 5 Load a Prior Year List, 10 Load Current List, 7 "Save List", 4 "&Delete List",
    // 6 "&Cancel".
    platform::ControlArray<QPushButton> btn;
    platform::DataControl Data1;  // the list names of the list source
    platform::DataControl Data2;  // the rows of the list being applied
    platform::CommonDialog dia;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    void btn_Click(int Index);
    void Save_List();
    void Apply_List();
    void Load_Current();
    void LoadPriorYearLists();
    void Delete_List();

    // The file whose names the boxes show and whose rows Apply List reads.
    QString listSource() const { return listSource_; }

    // backup/taglist.mdb of the program folder.
    static QString tagListPath();

private:
    void wire();
    // Binds Data1 to a file's names and lists them in both boxes, none chosen; the number of names.
    int BindNames(const QString& file, const QString& source);
    int ShowNames();
    void ReleaseData();
    void EnableLists(bool enable);
    void NoCurrentLists();

    QString listSource_;
};
