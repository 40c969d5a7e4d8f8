#pragma once

#include "platform/dao/Database.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// A fresh folder per test and a database in it with the kinds of columns the program uses.
class DaoFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    dao::Database db;

    QString path(const QString& name) const { return dir.filePath(name); }

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = dao::CreateDatabase(path("test.mdb"));
        db.CreateTable({"CODES",
                        {{"Tag", dao::FieldType::Text, 1},
                         {"CODEMOD", dao::FieldType::Text, 7},
                         {"DESC", dao::FieldType::Memo, 0},
                         {"WORKZ", dao::FieldType::Double, 0},
                         {"calcflag", dao::FieldType::Long, 0},
                         {"FLAG", dao::FieldType::YesNo, 0},
                         {"SEEN", dao::FieldType::Date, 0}},
                        {{"CODEMODIndexx", {"CODEMOD"}, false, false}}});
        db.Execute("INSERT INTO CODES (CODEMOD, DESC, WORKZ, calcflag) VALUES ('99211', 'Office visit', 0.18, 1), "
                   "('99212', 'office visit 2', 0.48, 1), ('A0021', 'Ambulance', 2.5, 0), "
                   "('G0008', 'Flu shot', NULL, 1)");
    }
};
