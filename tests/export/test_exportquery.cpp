#include "ExportFixture.h"

#include "export/session/tableexport.h"

namespace {

class ExportQueryTest : public ExportFixture {
protected:
    void SetUp() override
    {
        ExportFixture::SetUp();
        db::insertRow(db, "DATA0001", {{"Tag", "+"}, {"CODEMOD", "10060"}, {"CPT", "10060"}, {"WORKZ", 1.22},
                                       {"NF98WORK", 1.37}, {"F98WORK", 0.93}, {"MRVU", 0.12}, {"calcflag", 1}});
        // A Null RVU: its amounts are Null in both queries.
        db::insertRow(db, "DATA0001", {{"CODEMOD", "10061"}, {"CPT", "10061"}, {"NF98WORK", 2.1}, {"F98WORK", 1.4},
                                       {"MRVU", 0.3}, {"calcflag", 1}});
    }
    // CODEMOD and the six amounts of every row, as text.
    static QStringList amounts(dao::Recordset rs)
    {
        QStringList out;
        for (; !rs.EOF(); rs.MoveNext()) {
            QStringList row{rs.Fields("CODEMOD").Value().toString()};
            for (const char* a : {"NPART", "NNPART", "NLC", "FPART", "FNPART", "FLC"})
                row << rs.Fields(a).Value().toString();
            out << row.join('|');
        }
        return out;
    }
    void addOpps(const QString& codemod, const QString& carrier, const QString& loc, double stored)
    {
        db::insertRow(db, "DATAOPPSVIEW",
                      {{"CODEMOD", codemod}, {"CPT", codemod}, {"WORKZ", 1}, {"NF98WORK", 1}, {"F98WORK", 1},
                       {"MRVU", 0}, {"calcflag", 1}, {"NFTTOTAL", stored}, {"FTTOTAL", stored / 2},
                       {"carrier", carrier}, {"locality", loc}});
    }
};

TEST_F(ExportQueryTest, AmountsAreTheGridQuerys)
{
    const db::FeeFactors f{1.0, 1.032, 0.981, 0.8, 35.8228};
    for (db::FeeList list : {db::FeeList::All, db::FeeList::Tagged}) {
        const db::FeeQuery grid = db::sessionFeeQuery(f, " DATA0001 ", list);
        const QStringList expected = amounts(db.OpenRecordset(grid.sql, grid.params));
        ASSERT_EQ(expected.size(), list == db::FeeList::All ? 5 : 2);
        for (exportquery::Form form : {exportquery::Form::Session, exportquery::Form::Predefined}) {
            exportquery::Source s = source(list);
            s.factors = f;
            const db::FeeQuery q = exportquery::build(s, form);
            dao::Recordset rs = db.OpenRecordset(q.sql, q.params);
            EXPECT_EQ(rs.FieldCount(), form == exportquery::Form::Session ? 63 : 60);
            EXPECT_EQ(rs.fieldName(59), "NOTUSEDIND");
            EXPECT_EQ(amounts(rs), expected);
        }
    }
}

TEST_F(ExportQueryTest, OppsFormTakesTheCurrentCarrierAndLocality)
{
    addOpps("20000", "01112", "05", 69.5);
    addOpps("20001", "01112", "06", 11);
    addOpps("20002", "31140", "05", 12);
    exportquery::Source s = source();
    s.opps = true;
    s.carrier = "01112";
    s.loc = "05";
    for (exportquery::Form form : {exportquery::Form::Session, exportquery::Form::Predefined}) {
        const db::FeeQuery q = exportquery::build(s, form);
        dao::Recordset rs = db.OpenRecordset(q.sql, q.params);
        EXPECT_EQ(rs.FieldCount(), 61);
        ASSERT_FALSE(rs.EOF());
        EXPECT_EQ(rs.Fields("CODEMOD").Value().toString(), "20000");
        EXPECT_EQ(rs.Fields("NPART").Value().toDouble(), 69.5);
        EXPECT_EQ(rs.Fields("FPART").Value().toDouble(), 34.75);
        rs.MoveNext();
        EXPECT_TRUE(rs.EOF());
    }
    s.carrier = "01'12";
    const db::FeeQuery q = exportquery::build(s, exportquery::Form::Session);
    EXPECT_TRUE(db.OpenRecordset(q.sql, q.params).EOF());
}

}  // namespace

namespace {

TEST_F(ExportQueryTest, OppsRowsLeaveTheOppsFactorColumnsEmpty)
{
    db::insertRow(db, "DATAOPPSVIEW",
                  {{"CODEMOD", "20000"}, {"CPT", "20000"}, {"WORKZ", 1}, {"NF98WORK", 1}, {"F98WORK", 1}, {"MRVU", 0},
                   {"calcflag", 1}, {"NFTTOTAL", 69.5}, {"FTTOTAL", 30}, {"S1", 7}, {"NON_PE_OPPS", 2.5},
                   {"carrier", "01112"}, {"locality", "05"}});
    exportquery::Source s = source();
    s.opps = true;
    s.carrier = "01112";
    s.loc = "05";
    const db::FeeQuery q = exportquery::build(s, exportquery::Form::Session);
    dao::Recordset rows = db.OpenRecordset(q.sql, q.params);
    ASSERT_TRUE(QFile::copy(QStringLiteral(KELVA_DATA_DIR "/export.mdb"), file("opps.mdb")));
    dao::Database out = dao::OpenDatabase(file("opps.mdb"), "");
    dao::Recordset table = out.OpenRecordset("export");
    tableexport::appendRows(rows, out, table, {true, false, true}, nullptr);
    dao::Recordset written = out.OpenRecordset("SELECT * FROM export");
    ASSERT_FALSE(written.EOF());
    EXPECT_EQ(written.Fields("QNPART").Value().toDouble(), 69.5);
    EXPECT_EQ(written.Fields("S1_1").Value().toDouble(), 7.0);
    for (const char* c : {"NON_PE_OPPS", "FAC_PE_OPPS", "MAL_PE_OPPS"})
        EXPECT_TRUE(written.Fields(c).Value().isNull()) << c;
}

}  // namespace
