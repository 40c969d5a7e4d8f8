#pragma once

#include "platform/dao/Database.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Databases for tests, each in a temporary folder of its own (never the program folder's files).
namespace testsupport {

// The connect text the program opens its main database with: ";PWD=" and the build's password.
QString programConnect();

// A fresh copy of the sample main database build/data/kelva.mdb, as <temp>/kelva.mdb.
class SampleDb {
public:
    SampleDb();
    QString path() const { return dir.filePath("kelva.mdb"); }
    QString folder() const { return dir.path(); }
    dao::Database open() const;  // with programConnect()

private:
    QTemporaryDir dir;
};

// A temporary program folder laid out as the build lays out build/program: a fresh kelva.mdb, the templates
// export.mdb, backup.mdb, backupAllSess.mdb, export.xls, export.wk1 and export.dbf, kvdis.txt and the empty
// folder backup/.
class ProgramFolder {
public:
    ProgramFolder();
    QString path() const { return dir.path(); }
    QString file(const QString& name) const { return dir.filePath(name); }
    QString mainDb() const { return file("kelva.mdb"); }

private:
    QTemporaryDir dir;
};

// A small database made from the schema: the given tables (all when empty) with the fresh installation's
// rows in PARMS_CL, COLSTRUCT and SESSIONS when seedRows. With password, the file records the build's
// password as the main database does. Rows a case needs go in with db::insertRow.
class FixtureDb {
public:
    explicit FixtureDb(const QStringList& tables = {}, bool seedRows = true, bool password = true);
    ~FixtureDb();
    QString path() const { return dir.filePath("kelva.mdb"); }
    dao::Database& db() { return database; }

private:
    QTemporaryDir dir;
    dao::Database database;
};

// What a completed first run leaves behind (the first-run wizard with a locality chosen from the list):
// the "Default" row with the locality's GPCIs, GEOLOC and PLIMCOL 19; the session `name` owning DATA0001,
// a copy of DATA0000 with the index CODEMODIndexx, its row copied from "Default" with CV44 and CV45 set;
// PARMS_CL with SESCOUNT 2, CURSES = name, CreateTables 1 and the locality's CARRIER and Loc.
struct FirstSession {
    QString name, table, geoloc, carrier, loc;
    double work = 0, pract = 0, malp = 0;
};
FirstSession makeFirstSession(dao::Database& db, const QString& name = "Sample", const QString& state = "NEW YORK",
                              const QString& desc = "MANHATTAN");

// Every row of a table in CODEMOD order (or the order given: "rowid" for stored order), each as its cells
// joined by '|' (Null as "<null>"): two tables hold the same rows when the lists are equal.
QStringList tableRows(dao::Database& db, const QString& table, const QString& orderBy = QStringLiteral("CODEMOD"));

// The rows a query gives, each as its cells joined by '|', a Null as "<null>".
QStringList rowTexts(dao::Database d, const QString& sql);

}  // namespace testsupport
