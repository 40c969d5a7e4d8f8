// The shipped main database against the data dictionary: tables, column order and kinds, keys, the rows of a
// fresh installation and the password.

#include "support/SampleDb.h"

#include "platform/dao/Database.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <map>

namespace {

using testsupport::SampleDb;

QStringList words(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QStringList numbered(const char* prefix, int from, int to, int width = 1)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << QString::fromLatin1(prefix) + QStringLiteral("%1").arg(i, width, 10, QLatin1Char('0'));
    return out;
}

// Every table of the main database with its columns in the dictionary's order ('~' stands for a blank).
std::map<QString, QStringList> expectedTables()
{
    const QStringList data0000 = words(
        "Tag CODEMOD CPT MOD STATUS DESC LDESC WORKZ FRBPERVU NFBPERVU NFTPERVU NFRBPERVU FBPERVU FTPERVU MRVU "
        "NFRBTOTAL NFTTOTAL FRBTOTAL FTTOTAL GLOBAL PCTCIND PREOP INTRAOP POSTOP MULTPROC BILATSURG ASSTSURG COSURG "
        "TEAMSURG PHYSSUPV BMIND BMCODE ENDOBASE CONVF CALCIND WORKC NRVUC FRVUC S1 S2 S3 S4 S5 Freq1 Freq2 Freq3 "
        "Freq4 Freq5 CWORK NOTES NAIND USRDF NAFIND OPPS_CAP_IND NOTUSEDIND NF98WORK F98WORK calcflag NON_PE_OPPS "
        "FAC_PE_OPPS MAL_PE_OPPS");
    QStringList sessions = words("Session SESTAB CURCONVF CURCONVA CURUSEADJ CURWORKGPCI CURPRACGPCI CURMALPGPCI COLWS "
                                 "COLVS S1NAME S2NAME S3NAME S4NAME S5NAME");
    sessions << numbered("CV", 0, 25, 2) << numbered("CW", 2, 31, 2)
             << words("CV44 CV45 PLIMCOL selectzip rualind F1NAME F2NAME F3NAME F4NAME F5NAME GEOLOC OPTName GDEC");
    const QStringList dmeStates = words(
        "AL AR AZ CA CO CT DC DE FL GA IA ID IL IN KS KY LA MA MD ME MI MN MO MS MT NC ND NE NH NJ NM NV NY OH OK OR "
        "PA RI SC SD TN TX UT VA VT WA WI WV WY AK HI PR VI");
    const QStringList labStates = words(
        "IN OR AL GA MS AR NM OK MO2 LA FL CT KS1 NE KY MO1 MT NY1 NY2 NJ ND SD CO WY IA AK AZ HI NV WA PA RI SC TX MD "
        "DE DC VA UT WI IL MI MN PR ID TN NC NY3 OH WV CA1 ME MA NH VT CA2 KS2");
    const QStringList jcdStates = words(
        "NY2 SC OH WV WI MI IL MN AL GA MS IN KY FL CT AK AZ CO HI IA NV ND OR SD WA WY GU AS NC TN ID UT NY1 NJ CA ME "
        "MA VT NH AR OK NM LA MO1 PA1 PR VI TX MD VA DC DE KS NE MO2 MT NY3 RI");
    QStringList datesJcd = words("State Locality Last~update Enter~date");
    datesJcd << numbered("F", 5, 51);

    std::map<QString, QStringList> t;
    t["PARMS_CL"] = words("CreateTables SESCOUNT CURSES EXPMSG dataupdate CURCONVF gapdate exportpath ExportCnt CARRIER "
                          "Loc DMESTATE LABSTATE JCDSTATE DRGCURBASE ASCCURMSA ASCuserdef GCOLOR bcolor SHOW_DISC "
                          "Last_Print DEFPRT PCOLS PLENGTH PFSIZE S1 S2 S3 S4 S5");
    t["SESSIONS"] = sessions;
    t["DATA0000"] = data0000;
    t["COLSTRUCT"] = words("COLNO COLCAP COLAL COLWS COLSTADEF");
    t["DATAOPPSVIEW"] = data0000 + words("carrier locality");
    t["LOCATION"] = words("STATE ST DESC COUNTY CARRIER LOCCODE WORK PRACT MALP");
    t["ZPLC"] = words("ZIPCODE CARRIER LOCALITY rural~ind Version");
    t["DME"] = words("TAG HCPCS Mod Mod2 JURIS CATG Ceiling Floor Description LDESC CODEMOD") + dmeStates;
    t["DMECATS"] = words("CAT CATDESC");
    t["LAB"] = words("TAG HCPCS Mod NationalLimit MidPoint LabFloor Description CODEMOD") + labStates;
    t["JCD"] = words("Tag HCPCS Mod Dosage MMA") + jcdStates +
               words("FIELD64 CMS Description Codemod ESRD_Limit Vaccine_AWP_percent VaccineLimit "
                     "Infusion_AWP_percent DMEInfusion_Limit Blood_AWP_percent BloodLimit notes");
    t["crosswalk"] = words("HCPCS~Code Short~Descriptor HCPCS~DOSAGE Labeler~Name NDC Drug~Name PKG~SIZE PKG~QTY "
                           "BILLUNITS BILLUNITSPKG");
    t["ASC"] = words("Tag CODE Desc mult comment pay_ind weight trans_payment");
    t["ASCWAGEINDEX"] = words("State~Index State~Name Notes State2 Wage~Index ST_Name");
    t["ASCGROUPS"] = words("Tag CODE Status GROUP");
    t["ASCGROUPRATES"] = words("ASCGROUP ASCGROUPRATE");
    t["DRG"] = words("TAG DRG MDC DRGTYPE IND DESC GMLOS AMLOS ARW");
    t["DatesKELVA"] = words("Date Date2");
    t["DatesDME"] = words("Date1 Date2");
    t["DatesLAB"] = words("Date Date2");
    t["DatesASC"] = words("Date Date2 Date3");
    t["DatesDRG"] = words("Date");
    t["DatesJCD"] = datesJcd;
    t["GAP"] = words("Codemod CPT Mod WORKZ NFTPERVU FTPERVU MRVU NFTTOTAL FTTOTAL Global Desc LDesc");
    t["SHIST"] = words("HISTTEXT");
    t["THIST"] = words("HISTTEXT");
    t["specdesc"] = words("SPECDESC");
    t["specfreq"] = words("SPECDESC FirstOfHCPCS");
    t["Procoden"] = words("Code DESC P40 P50 P60 P70 P80 P90 P95");
    t["MMA"] = words("HCPCS Mod MMA");
    for (auto& [name, cols] : t)
        for (QString& c : cols)
            c.replace(QLatin1Char('~'), QLatin1Char(' '));
    return t;
}

QStringList fieldNames(const dao::TableDef& def)
{
    QStringList out;
    for (const dao::FieldDef& f : def.fields)
        out << f.name;
    return out;
}

class SampleSchema : public ::testing::Test {
protected:
    SampleDb sample;
    dao::Database db = sample.open();
    void TearDown() override { db.Close(); }
};

TEST_F(SampleSchema, EveryTableWithItsColumnsInOrderAndNoWorkTable)
{
    const auto expected = expectedTables();
    QStringList names;
    for (const auto& [name, cols] : expected)
        names << name;
    QStringList actual = db.TableNames();
    actual.sort(Qt::CaseInsensitive);
    names.sort(Qt::CaseInsensitive);
    EXPECT_EQ(actual, names);
    for (const auto& [name, cols] : expected)
        EXPECT_EQ(fieldNames(db.tableDef(name)), cols) << name.toStdString();
    for (const char* work : {"prtanalysis", "KELVA_States", "KELVA_NonFacility", "KELVA_Facility", "LAB_States"})
        EXPECT_FALSE(db.hasTable(QString::fromLatin1(work))) << work;
}

TEST_F(SampleSchema, KindsAndSizesTheDataLayerReports)
{
    struct Case {
        const char* table;
        const char* field;
        dao::FieldType type;
        int size;
    };
    const Case cases[] = {
        {"DATA0000", "CODEMOD", dao::FieldType::Text, 8},   {"DATA0000", "LDESC", dao::FieldType::Memo, 0},
        {"DATA0000", "WORKZ", dao::FieldType::Double, 0},   {"DATA0000", "calcflag", dao::FieldType::Long, 0},
        {"DATA0000", "STATUS", dao::FieldType::Text, 10},   {"SESSIONS", "Session", dao::FieldType::Text, 50},
        {"SESSIONS", "CURUSEADJ", dao::FieldType::YesNo, 0}, {"SESSIONS", "COLWS", dao::FieldType::Memo, 0},
        {"PARMS_CL", "dataupdate", dao::FieldType::Date, 0}, {"PARMS_CL", "SHOW_DISC", dao::FieldType::YesNo, 0},
        {"PARMS_CL", "DMESTATE", dao::FieldType::Text, 3},  {"LOCATION", "WORK", dao::FieldType::Double, 0},
        {"LOCATION", "ST", dao::FieldType::Text, 2},        {"ZPLC", "ZIPCODE", dao::FieldType::Text, 5},
        {"DRG", "DRG", dao::FieldType::Long, 0},            {"ASCGROUPS", "GROUP", dao::FieldType::Long, 0},
        {"ASCWAGEINDEX", "Wage Index", dao::FieldType::Double, 0}, {"COLSTRUCT", "COLSTADEF", dao::FieldType::YesNo, 0},
    };
    for (const Case& c : cases) {
        const dao::TableDef def = db.tableDef(QString::fromLatin1(c.table));
        const auto it = std::find_if(def.fields.begin(), def.fields.end(),
                                     [&](const dao::FieldDef& f) { return f.name == QString::fromLatin1(c.field); });
        ASSERT_NE(it, def.fields.end()) << c.table << "." << c.field;
        EXPECT_EQ(it->type, c.type) << c.table << "." << c.field;
        EXPECT_EQ(it->size, c.size) << c.table << "." << c.field;
    }
}

TEST_F(SampleSchema, KeysAndIndexes)
{
    auto findIndex = [&](const char* table, const char* name) {
        const dao::TableDef def = db.tableDef(QString::fromLatin1(table));
        for (const dao::IndexDef& i : def.indexes)
            if (i.name == QString::fromLatin1(name))
                return i;
        ADD_FAILURE() << table << " has no index " << name;
        return dao::IndexDef{};
    };
    const dao::IndexDef codemod = findIndex("DATA0000", "CODEMODIndexx");
    EXPECT_EQ(codemod.fields, QStringList{"CODEMOD"});
    EXPECT_TRUE(codemod.unique);
    EXPECT_EQ(findIndex("SESSIONS", "PrimaryKey").fields, QStringList{"Session"});
    EXPECT_TRUE(findIndex("SESSIONS", "SESTAB").unique);
    EXPECT_EQ(findIndex("DATAOPPSVIEW", "PrimaryKey").fields, (QStringList{"carrier", "locality", "CODEMOD"}));
    EXPECT_EQ(findIndex("LOCATION", "CarrierLocality").fields, (QStringList{"CARRIER", "LOCCODE"}));
    EXPECT_EQ(findIndex("COLSTRUCT", "PrimaryKey").fields, QStringList{"COLNO"});
    EXPECT_EQ(findIndex("specfreq", "SPECDESC").fields, QStringList{"SPECDESC"});

    // Keys compare without regard to case, as Jet's do.
    EXPECT_THROW(db.Execute("INSERT INTO DATA0000 (CODEMOD) VALUES ('71010tc')"), dao::Error);
}

TEST_F(SampleSchema, DefaultSessionOwnsData0000AndIsFirst)
{
    dao::Recordset rs = db.OpenRecordset("SESSIONS");
    ASSERT_FALSE(rs.EOF());
    EXPECT_EQ(rs["Session"].Value(), dao::Variant("Default"));
    EXPECT_EQ(rs["SESTAB"].Value(), dao::Variant("DATA0000"));
    EXPECT_DOUBLE_EQ(rs["CURCONVF"].Value().toDouble(), 35.8228);
    EXPECT_EQ(rs["CURCONVA"].Value().toDouble(), 0.0);
    EXPECT_EQ(rs["CURUSEADJ"].Value().toLongLong(), -1);
    EXPECT_EQ(rs["GEOLOC"].Value(), dao::Variant("NATIONAL VALUES"));
    EXPECT_EQ(rs["PLIMCOL"].Value().toLongLong(), 19);
    EXPECT_EQ(rs["S1NAME"].Value(), dao::Variant("S1"));
    EXPECT_EQ(rs["F5NAME"].Value(), dao::Variant("Freq5"));
    EXPECT_EQ(rs["OPTName"].Value(), dao::Variant("OPT"));
    for (const char* gpci : {"CURWORKGPCI", "CURPRACGPCI", "CURMALPGPCI"})
        EXPECT_EQ(rs[gpci].Value().toDouble(), 1.0) << gpci;
    const QString colws = rs["COLWS"].Value().toString(), colvs = rs["COLVS"].Value().toString();
    rs.MoveNext();
    EXPECT_TRUE(rs.EOF()) << "one session row shipped";
    rs.Close();

    // The layout lists are COLSTRUCT's widths and visibility joined in COLNO order, 61 entries each.
    QStringList widths, flags;
    dao::Recordset cs = db.OpenRecordset("SELECT * FROM COLSTRUCT order by colno");
    int expectedNo = 0;
    for (; !cs.EOF(); cs.MoveNext(), ++expectedNo) {
        EXPECT_EQ(cs["COLNO"].Value().toLongLong(), expectedNo);
        widths << cs["COLWS"].Value().toString();
        flags << QString::number(cs["COLSTADEF"].Value().toLongLong());  // -1 / 0
    }
    EXPECT_EQ(expectedNo, 61);
    EXPECT_EQ(colws, widths.join(','));
    EXPECT_EQ(colvs, flags.join(','));
    EXPECT_TRUE(colvs.startsWith("-1,0,-1,"));
}

TEST_F(SampleSchema, ColstructCaptionsOfTheGrid)
{
    dao::Recordset cs = db.OpenRecordset("SELECT * FROM COLSTRUCT order by colno");
    std::map<int, dao::Variant> caption;
    std::map<int, qint64> align;
    for (; !cs.EOF(); cs.MoveNext()) {
        caption[int(cs["COLNO"].Value().toLongLong())] = cs["COLCAP"].Value();
        align[int(cs["COLNO"].Value().toLongLong())] = cs["COLAL"].Value().toLongLong();
    }
    EXPECT_EQ(caption[0], dao::Variant("Tag"));
    EXPECT_EQ(caption[19], dao::Variant("NF Par Fee"));
    EXPECT_EQ(caption[24], dao::Variant("Fac Limiting"));
    EXPECT_EQ(caption[57], dao::Variant("OPT"));
    EXPECT_EQ(caption[60], dao::Variant("Not Used"));
    for (int nullCaption : {41, 42, 43, 54})
        EXPECT_TRUE(caption[nullCaption].isNull()) << nullCaption;
    EXPECT_EQ(align[5], 0);
    EXPECT_EQ(align[19], 1);
    EXPECT_EQ(align[25], 2);
    EXPECT_EQ(align[41], 3);
}

TEST_F(SampleSchema, ParameterRowOfAFreshInstallation)
{
    dao::Recordset p = db.OpenRecordset("SELECT * FROM PARMS_CL");
    ASSERT_FALSE(p.EOF());
    EXPECT_EQ(p["CreateTables"].Value().toLongLong(), 0);
    EXPECT_EQ(p["SESCOUNT"].Value().toLongLong(), 1);
    EXPECT_TRUE(p["CURSES"].Value().isNull());
    EXPECT_EQ(p["EXPMSG"].Value().toLongLong(), 0);
    EXPECT_EQ(p["SHOW_DISC"].Value().toLongLong(), -1);
    EXPECT_EQ(p["exportpath"].Value(), dao::Variant("(Default)"));
    EXPECT_EQ(p["ExportCnt"].Value().toLongLong(), 1000);
    EXPECT_DOUBLE_EQ(p["CURCONVF"].Value().toDouble(), 35.8228);
    const QDateTime update = p["dataupdate"].Value().toDateTime();
    ASSERT_TRUE(update.isValid());
    EXPECT_GT(update.date(), QDate(2003, 12, 4));
    EXPECT_TRUE(p["gapdate"].Value().isNull());
    // The start-up writes the state defaults into Null ones.
    for (const char* state : {"DMESTATE", "LABSTATE", "JCDSTATE", "CARRIER", "Loc"})
        EXPECT_TRUE(p[state].Value().isNull()) << state;
    EXPECT_EQ(p["DRGCURBASE"].Value().toDouble(), 5370.0);
    EXPECT_EQ(p["GCOLOR"].Value().toLongLong(), -2147483630LL);
    EXPECT_EQ(p["bcolor"].Value().toLongLong(), 16777215);
    EXPECT_EQ(p["DEFPRT"].Value(), dao::Variant("Courier"));
    EXPECT_EQ(p["S3"].Value(), dao::Variant("S3"));
    p.MoveNext();
    EXPECT_TRUE(p.EOF()) << "exactly one parameter row";
}

TEST(SamplePassword, TheProgramConnectOpensAndAnyOtherIsRefused)
{
    SampleDb sample;
    {
        dao::Database db = dao::OpenDatabase(sample.path(), testsupport::programConnect());
        EXPECT_TRUE(db.hasTable("PARMS_CL"));
        db.Close();
    }
    const QString good = testsupport::programConnect();
    for (const QString& connect : {good + "x", good.toUpper(), good.left(good.size() - 1), QString(";PWD="), QString()}) {
        if (connect == good)
            continue;
        try {
            dao::Database db = dao::OpenDatabase(sample.path(), connect);
            ADD_FAILURE() << "opened with '" << connect.toStdString() << "'";
            db.Close();
        } catch (const dao::Error& e) {
            EXPECT_EQ(e.number, dao::errBadPassword) << connect.toStdString();
            EXPECT_EQ(e.description, "Not a valid password.");
        }
    }
}

}  // namespace
