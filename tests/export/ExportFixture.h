#pragma once

#include "db/feequery.h"
#include "db/schema.h"
#include "db/sessions.h"
#include "export/rules/exportquery.h"
#include "platform/dao/Database.h"
#include "platform/jet/sheetfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A session table DATA0001 of three codes whose amounts are whole cents at the factors below, beside an
// empty DATAOPPSVIEW; the files the tests write go into the same temporary folder.
class ExportFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = dao::CreateDatabase(dir.filePath("fees.mdb"));
        db::createSchema(db, {"DATA0000", "DATAOPPSVIEW"}, false);
        db::createSessionCodeTable(db, "DATA0001", "DATA0000");
        // Factors 1, 1, 1 and a conversion factor of 10: the non-facility P of 00100 is 31, the facility 25.
        db::insertRow(db, "DATA0001",
                      {{"Tag", "+"}, {"CODEMOD", "00100"}, {"CPT", "00100"}, {"STATUS", "A"}, {"DESC", longDesc()},
                       {"LDESC", "Long \"quoted\", text"}, {"WORKZ", 2}, {"NF98WORK", 1}, {"F98WORK", 0.4},
                       {"MRVU", 0.1}, {"calcflag", 1}, {"NFRBPERVU", 1.25}, {"NFTPERVU", 0.5}, {"FRBPERVU", 0.07},
                       {"FTPERVU", 0.5}, {"NFRBTOTAL", 3}, {"NFTTOTAL", 2.6}, {"FTTOTAL", 2.5}, {"GLOBAL", "090"},
                       {"S1", 12.5}, {"Freq1", 3}, {"NOTES", "a\"b\r\nc"}, {"USRDF", "x,y"}, {"NON_PE_OPPS", 0.25}});
        // No non-facility practice expense: the three non-facility amounts are Null.
        db::insertRow(db, "DATA0001",
                      {{"CODEMOD", "99213"}, {"CPT", "99213"}, {"STATUS", "A"}, {"DESC", "Caf\u00e9"}, {"WORKZ", 1},
                       {"F98WORK", 0.4}, {"MRVU", 0.1}, {"calcflag", 1}, {"NFRBPERVU", 0}, {"NFTPERVU", 12.25},
                       {"FRBPERVU", 0}, {"FTPERVU", 0}, {"NFRBTOTAL", 0}, {"NFTTOTAL", 0}, {"FTTOTAL", 0}});
        // Not paid by the formula.
        db::insertRow(db, "DATA0001",
                      {{"CODEMOD", "9921426"}, {"CPT", "99214"}, {"MOD", "26"}, {"WORKZ", 0}, {"NF98WORK", 1},
                       {"F98WORK", 1}, {"MRVU", 0}, {"calcflag", 0}, {"NFRBPERVU", 0}, {"NFTPERVU", 0},
                       {"FRBPERVU", 0}, {"FTPERVU", 0}, {"NFRBTOTAL", 0}, {"NFTTOTAL", 0}, {"FTTOTAL", 0}});
    }

    static QString longDesc() { return "Say \"hi\" " + QString(191, 'd'); }

    static exportquery::Source source(db::FeeList list = db::FeeList::All)
    {
        exportquery::Source s;
        s.factors = {1.0, 1.0, 1.0, 1.0, 10.0};
        s.sessionTable = " DATA0001 ";
        s.list = list;
        return s;
    }

    dao::Recordset rows(exportquery::Form form = exportquery::Form::Session, db::FeeList list = db::FeeList::All)
    {
        const db::FeeQuery q = exportquery::build(source(list), form);
        return db.OpenRecordset(q.sql, q.params);
    }

    QString file(const QString& name) const { return dir.filePath(name); }
    static QByteArray bytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
    dao::Database db;
};

// Cells as a reader gives them, compared with the texts written: a number equals a text that reads as it.
inline void expectCells(const jet::Rows& read, const std::vector<std::vector<QString>>& expected, const char* who)
{
    ASSERT_EQ(read.size(), expected.size()) << who;
    for (std::size_t r = 0; r < expected.size(); ++r) {
        for (std::size_t c = 0; c < expected[r].size(); ++c) {
            // The readers give a line break inside a field as LF.
            const QString want = QString(expected[r][c]).replace("\r\n", "\n");
            const dao::Variant got = c < read[r].size() ? read[r][c] : dao::Variant();
            if (want.isEmpty()) {
                EXPECT_TRUE(got.isNull() || got.toString().isEmpty()) << who << " row " << r << " col " << c;
            } else if (got.type() == dao::Variant::Type::Double) {
                double n = 0;
                EXPECT_TRUE(dao::parseNumber(want, &n) && std::abs(n - got.toDouble()) < 1e-9)
                    << who << " row " << r << " col " << c << ": " << want.toStdString() << " read as " << got.toDouble();
            } else {
                EXPECT_EQ(got.toString().replace("\r\n", "\n"), want) << who << " row " << r << " col " << c;
            }
        }
    }
}
