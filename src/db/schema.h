#pragma once

#include "platform/dao/Database.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The main database's tables as SQL (data/schema.sql, embedded at build time), the rows a fresh
// installation ships with (data/seed.sql) and the template files (data/templates.sql). The sample
// generator builds kelva.mdb from the same text, and tests use it to make small databases.
namespace db {

// One statement of the schema text and the table (or view) it belongs to.
struct SchemaStatement {
    QString table;  // "DATA0000"; a view names itself ("ZIP_GPCI")
    QString sql;    // without the closing semicolon
};

QString schemaSql();
QString seedSql();
QString templatesSql();

std::vector<SchemaStatement> schemaStatements();  // CREATE TABLE / INDEX / VIEW, in file order
std::vector<SchemaStatement> seedStatements();    // INSERTs of PARMS_CL, COLSTRUCT and the "Default" row
// The statements of one template file: "export.mdb", "backup.mdb" or "backupAllSess.mdb" (any letter
// case); empty for another name.
std::vector<SchemaStatement> templateStatements(const QString& file);

// Every table and view of the main database, in file order (the work tables made by their first run are
// not among them).
QStringList schemaTables();

// Creates the given tables (all when the list is empty) with their indexes, through the data layer so that
// its column rules hold. The view ZIP_GPCI is made when it is asked for, or with all tables. With
// seedRows, the fresh installation's rows go into those of PARMS_CL, COLSTRUCT and SESSIONS that were
// made. Throws dao::Error 3265 for a name that is no table of the schema.
void createSchema(dao::Database& db, const QStringList& tables = {}, bool seedRows = true);

// Creates the tables of a template file ("export.mdb", ...) in db.
void createTemplate(dao::Database& db, const QString& file);

// Inserts one row, the values bound by name: insertRow(db, "DATA0000", {{"CODEMOD", "99213"}, ...}).
// Columns that are not named stay Null. A name that is no column of the table throws dao::Error 3265.
using ColumnValues = std::vector<std::pair<QString, dao::Variant>>;
void insertRow(dao::Database& db, const QString& table, const ColumnValues& values);

}  // namespace db
