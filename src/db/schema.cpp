#include "db/schema.h"

#include "schemasql.h"

#include "platform/dao/Transaction.h"

#include <QRegularExpression>
#include <algorithm>

namespace db {

namespace {

// The table a statement works on: CREATE TABLE / VIEW "x", CREATE INDEX ... ON "x", INSERT INTO "x".
QString statementTable(const QString& sql)
{
    static const QRegularExpression re(
        R"re(^\s*(?:CREATE\s+(?:TABLE|VIEW)\s+"([^"]+)"|CREATE\s+(?:UNIQUE\s+)?INDEX\s+"[^"]+"\s+ON\s+"([^"]+)"|INSERT\s+INTO\s+"([^"]+)"))re",
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(sql);
    for (int i = 1; i <= 3; ++i)
        if (m.hasMatch() && !m.captured(i).isEmpty())
            return m.captured(i);
    return {};
}

// Splits a script into statements: a statement ends with a semicolon at the end of a line; whole-line
// comments are dropped. With section set, only the lines after "-- file: <section>" up to the next such
// line count.
std::vector<SchemaStatement> splitScript(const QString& text, const QString& section = {})
{
    std::vector<SchemaStatement> out;
    QString current;
    bool inSection = section.isEmpty();
    for (const QString& line : text.split('\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith("--")) {
            if (!section.isEmpty() && trimmed.startsWith("-- file:"))
                inSection = trimmed.mid(8).trimmed().compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection || (trimmed.isEmpty() && current.isEmpty()))
            continue;
        current += line + '\n';
        if (trimmed.endsWith(';')) {
            QString sql = current.trimmed();
            sql.chop(1);
            out.push_back({statementTable(sql), sql});
            current.clear();
        }
    }
    return out;
}

[[noreturn]] void notFound()
{
    throw dao::Error(dao::errItemNotFound, "Item not found in this collection.");
}

}  // namespace

QString schemaSql()
{
    return QString::fromUtf8(embedded::SchemaSql);
}

QString seedSql()
{
    return QString::fromUtf8(embedded::SeedSql);
}

QString templatesSql()
{
    return QString::fromUtf8(embedded::TemplatesSql);
}

std::vector<SchemaStatement> schemaStatements()
{
    return splitScript(schemaSql());
}

std::vector<SchemaStatement> seedStatements()
{
    return splitScript(seedSql());
}

std::vector<SchemaStatement> templateStatements(const QString& file)
{
    if (file.trimmed().isEmpty())
        return {};
    return splitScript(templatesSql(), file.trimmed());
}

QStringList schemaTables()
{
    QStringList names;
    for (const SchemaStatement& s : schemaStatements())
        if (!names.contains(s.table))
            names << s.table;
    return names;
}

void createSchema(dao::Database& db, const QStringList& tables, bool seedRows)
{
    const QStringList all = schemaTables();
    QStringList wanted;
    for (const QString& t : tables) {
        const auto it = std::find_if(all.begin(), all.end(),
                                     [&](const QString& a) { return a.compare(t, Qt::CaseInsensitive) == 0; });
        if (it == all.end())
            notFound();
        wanted << *it;
    }
    if (tables.isEmpty())
        wanted = all;

    dao::Transaction trans(db);
    for (const SchemaStatement& s : schemaStatements())
        if (wanted.contains(s.table))
            db.Execute(s.sql);
    if (seedRows)
        for (const SchemaStatement& s : seedStatements())
            if (wanted.contains(s.table))
                db.Execute(s.sql);
    trans.Commit();
}

void createTemplate(dao::Database& db, const QString& file)
{
    const std::vector<SchemaStatement> statements = templateStatements(file);
    if (statements.empty())
        notFound();
    dao::Transaction trans(db);
    for (const SchemaStatement& s : statements)
        db.Execute(s.sql);
    trans.Commit();
}

void insertRow(dao::Database& db, const QString& table, const ColumnValues& values)
{
    const dao::TableDef def = db.tableDef(table);
    QStringList columns, marks;
    std::vector<dao::Variant> params;
    for (const auto& [name, value] : values) {
        const auto it = std::find_if(def.fields.begin(), def.fields.end(), [&](const dao::FieldDef& f) {
            return f.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (it == def.fields.end())
            notFound();
        columns << dao::quoteIdentifier(it->name);
        marks << "?";
        params.push_back(value);
    }
    if (columns.isEmpty())
        db.Execute("INSERT INTO " + dao::quoteIdentifier(def.name) + " DEFAULT VALUES");
    else
        db.Execute("INSERT INTO " + dao::quoteIdentifier(def.name) + " (" + columns.join(", ") + ") VALUES (" + marks.join(", ") +
                       ")",
                   params);
}

}  // namespace db
