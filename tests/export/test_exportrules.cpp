#include "export/rules/exportrules.h"

#include "support/SeamTest.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

TEST(ExportRules, CountProposesNameAndAdvances)
{
    struct Case {
        qint64 count;
        const char* name;
        const char* digits;
        qint64 next;
    };
    for (const Case& c : {Case{1234, "morvex234", "234", 1235}, Case{2000, "morvex000", "000", 2001},
                          Case{2001, "morvex001", "001", 1001}, Case{5, "morvex 5", "5", 6}}) {
        EXPECT_EQ(exportrules::proposedName(c.count), c.name);
        EXPECT_EQ(exportrules::countDigits(c.count), c.digits);
        EXPECT_EQ(exportrules::nextCount(c.count), c.next);
    }
}

TEST(ExportRules, RefusedTitlesAndFileTypes)
{
    for (const char* title : {"kelva.MDB", "KELVA.mdb", "Export.xls", "exportpre3.xls", "EXPORTED.csv"})
        EXPECT_TRUE(exportrules::refused(title)) << title;
    for (const char* title : {"MyExport.csv", "kelva.mdb.csv", "morvex234"})
        EXPECT_FALSE(exportrules::refused(title)) << title;

    using T = exportrules::FileType;
    struct Case {
        const char* path;
        T type;
    };
    for (const Case& c : {Case{"/a/fees.XLS", T::Xls}, Case{"/a/fees.xlsx", T::Other}, Case{"/a/morvex234", T::Other},
                          Case{"/a/fees.mdb.csv", T::Csv}, Case{"/a.mdb/fees.xls", T::Xls}, Case{"/a/feesdbf", T::Dbf},
                          Case{"/a/f.wk1", T::Wk1}, Case{"/a/f.Mdb", T::Mdb}})
        EXPECT_EQ(exportrules::fileType(c.path), c.type) << c.path;
    EXPECT_EQ(exportrules::joinPath("/x/", "f.csv"), "/x/f.csv");
    EXPECT_EQ(exportrules::joinPath("/x", "f.csv"), "/x/f.csv");
}

class ExportFolderTest : public SeamTest {};

TEST_F(ExportFolderTest, ProposedFolder)
{
    QTemporaryDir dir;
    const QString program = dir.filePath("program");
    const QString existing = dir.path() + "/exports/";
    QDir().mkpath(existing);
    EXPECT_EQ(exportrules::proposedFolder("(Default)", program), program);
    EXPECT_EQ(exportrules::proposedFolder(existing, program), existing);
    EXPECT_TRUE(seam.messages().isEmpty());
    const QString missing = dir.path() + "/nowhere/";
    seam.expectMsgBox("Unable to find user defined path " + missing + ".", vbOKOnly);
    EXPECT_EQ(exportrules::proposedFolder(missing, program), program);
}

}  // namespace
