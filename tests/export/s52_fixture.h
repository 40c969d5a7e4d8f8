#pragma once

#include "app/globals.h"
#include "db/schema.h"
#include "export/ExprtInd.h"
#include "export/national/NationalWizards.h"
#include "platform/dao/Database.h"
#include "support/SampleDb.h"
#include "support/SeamTest.h"

#include <QDir>
#include <QTemporaryDir>

// A program folder of its own (the sample main database and the templates), its main database open as the
// program's, and a folder for the export files.
class NationalTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        ASSERT_TRUE(out.isValid());
        g() = Globals{};
        g().ProgramFolder = folder.path();
        g().DbConnect = testsupport::programConnect();
        g().MainDb = dao::OpenDatabase(folder.mainDb(), g().DbConnect);
        QDir::setCurrent(folder.path());
    }
    void TearDown() override
    {
        SeamTest::TearDown();
        g() = Globals{};
    }

    dao::Database& db() { return g().MainDb; }
    qint64 count() { return db().scalar("SELECT ExportCnt FROM PARMS_CL").toLongLong(); }
    void setCount(qint64 n) { db().Execute("UPDATE PARMS_CL SET ExportCnt = " + QString::number(n)); }
    QString target(const QString& name) const { return out.filePath(name); }

    // The wizard on its family page with a family chosen.
    template <class W>
    W& onFamilyPage(int option)
    {
        W& w = load<W>();
        w.Command1(1)->click();
        w.Option1(option)->setChecked(true);
        return w;
    }
    // A whole run of a family to path (a fresh file), the dialogs answered up to the run's own messages.
    template <class W>
    W& runFamily(int option, const QString& path)
    {
        W& w = onFamilyPage<W>(option);
        seam.answerFileDialog(path);
        w.Command1(1)->click();
        return w;
    }
    // The export file's table as the layer reads it back.
    static dao::Database exportFile(const QString& path) { return dao::OpenDatabase(path); }

    testsupport::ProgramFolder folder;
    QTemporaryDir out;
};
