#pragma once

#include "main/MainWindowTest.h"

#include "platform/jet/dbase.h"
#include "platform/jet/sheetfile.h"
#include "userdata/frmImport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A started main window on its first session, the program folder current, and a folder for import files.
class ImportWindows : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        startOnFirstSession();
        settleStarted();
        QDir::setCurrent(folder.path());
    }
    void TearDown() override
    {
        QDir::setCurrent(QDir::tempPath());
        MainWindowTest::TearDown();
    }
    frmMain& main() { return forms().get<frmMain>(); }
    QString path(const QString& name) const { return files.filePath(name); }
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // An Access file holding the tables, each with the columns CPT and S1 and the rows given.
    void accessFile(const QString& name, const QStringList& tables, const jet::Rows& rows = {}, bool password = false)
    {
        dao::Database d = dao::CreateDatabase(path(name));
        for (const QString& t : tables) {
            d.CreateTable({t, {{"CPT", dao::FieldType::Text, 7}, {"S1", dao::FieldType::Double, 0}}, {}});
            for (const auto& r : rows)
                d.Execute(QStringLiteral("INSERT INTO %1 VALUES (?, ?)").arg(dao::quoteIdentifier(t)), r);
        }
        if (password)
            d.SetPassword("secret");
        d.Close();
    }
    // A dBASE table of the files folder with the columns CPT C(7) and S1 N(10,2) holding the rows.
    void cptS1Dbf(const QString& name, const jet::Rows& rows = {})
    {
        jet::createDbf(path(name), {{"CPT", 'C', 7, 0}, {"S1", 'N', 10, 2}});
        std::vector<jet::DbfWrite> writes;
        for (const auto& r : rows)
            writes.push_back({-1, r});
        jet::writeDbf(path(name), jet::readDbf(path(name)), writes, {});
    }
    dao::Variant value(const QString& codemod, const QString& column)
    {
        return g().MainDb.scalar(QStringLiteral("SELECT %1 FROM %2 WHERE CODEMOD = ?")
                                     .arg(dao::quoteIdentifier(column), dao::quoteIdentifier(g().CurSesTab)),
                                 {codemod});
    }
    QStringList sessionRows() { return testsupport::tableRows(g().MainDb, g().CurSesTab); }

    // Continue in the import window, the file dialog answered with the file.
    void importFrom(const QString& file)
    {
        seam.answerFileDialog(file);
        forms().get<frmImport>().Command1->click();
    }

    QTemporaryDir files;
};
