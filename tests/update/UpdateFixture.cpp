#include "update/UpdateFixture.h"

#include "buildsettings.h"
#include "update/referencetables.h"

#include "platform/dao/Recordset.h"
#include "platform/dao/Transaction.h"

namespace updatetest {

QString targetOf(const QString& source)
{
    if (source.compare(QLatin1String("DATA00001"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("DATA0000");
    for (const update::ReplacementMember& m : update::replacementMembers())
        for (const update::TablePair& t : m.tables)
            if (source.compare(QLatin1String(t.source), Qt::CaseInsensitive) == 0)
                return QString::fromLatin1(t.target);
    throw dao::Error(dao::errItemNotFound, "no source " + source);
}

QStringList allSources()
{
    QStringList out;
    for (const update::ReplacementMember& m : update::replacementMembers())
        for (const update::TablePair& t : m.tables)
            out << QString::fromLatin1(t.source);
    return out;
}

QStringList mainTables()
{
    QStringList tables = {"PARMS_CL", "SESSIONS", "DATA0000", "ASC", "GAP", "MMA", "DMECATS", "ZPLC"};
    for (const QString& s : allSources())
        tables << targetOf(s);
    return tables;
}

Rows generatedRows(const dao::TableDef& def, int count, int seed)
{
    Rows rows;
    for (int n = 0; n < count; ++n) {
        const int k = seed * 1000 + n;
        db::ColumnValues row;
        for (std::size_t i = 0; i < def.fields.size(); ++i) {
            const dao::FieldDef& f = def.fields[i];
            switch (f.type) {
            case dao::FieldType::Long: row.emplace_back(f.name, qint64(k) * 100 + qint64(i)); break;
            case dao::FieldType::Double: row.emplace_back(f.name, k + i / 100.0); break;
            case dao::FieldType::YesNo: row.emplace_back(f.name, (k % 2) ? -1 : 0); break;
            case dao::FieldType::Date: row.emplace_back(f.name, QDate(2000, 1, 1).addDays(k)); break;
            default: row.emplace_back(f.name, QStringLiteral("%1.%2").arg(k).arg(i)); break;
            }
        }
        rows.push_back(row);
    }
    return rows;
}

void writeUpdateDatabase(const QString& path, const UpdateContent& content)
{
    dao::Database u = dao::CreateDatabase(path);
    dao::Transaction trans(u);
    std::map<QString, Rows> tables = content.sources;
    if (content.data00001)
        tables[QStringLiteral("DATA00001")] = *content.data00001;
    for (const auto& [source, rows] : tables) {
        const QString target = targetOf(source);
        db::createSchema(u, {target}, false);
        u.Execute(QStringLiteral("ALTER TABLE \"%1\" RENAME TO \"%2\"").arg(target, source));
    }
    // Neither column rules nor keys: a delivered source may hold what its target refuses.
    dao::Recordset extras = u.OpenRecordset(
        QStringLiteral("SELECT type, name FROM sqlite_master WHERE type IN ('trigger', 'index') AND sql IS NOT NULL"));
    for (; !extras.EOF(); extras.MoveNext())
        u.Execute(QStringLiteral("DROP %1 \"%2\"").arg(extras[0].Value().toString(), extras[1].Value().toString()));
    extras.Close();
    for (const auto& [source, rows] : tables)
        for (const db::ColumnValues& row : rows)
            db::insertRow(u, source, row);
    if (content.dataupdate) {
        u.Execute(QStringLiteral("CREATE TABLE parms_upd (dataupdate DATETEXT)"));
        u.Execute(QStringLiteral("INSERT INTO parms_upd (dataupdate) VALUES (?)"), {*content.dataupdate});
    }
    trans.Commit();
    u.SetPassword(QString::fromUtf8(build::DbPassword));
    u.Close();
}

void UpdateTest::SetUp()
{
    SeamTest::SetUp();
    main = std::make_unique<testsupport::FixtureDb>(mainTables());
    dao::Transaction trans(db());
    for (const QString& t : mainTables())
        if (t != "PARMS_CL" && t != "SESSIONS" && t != "DATA0000")
            for (const db::ColumnValues& row : generatedRows(db().tableDef(t), 2, 50))
                db::insertRow(db(), t, row);
    trans.Commit();
}

void UpdateTest::TearDown()
{
    run.reset();
    source.reset();
    main.reset();
    SeamTest::TearDown();
}

update::UpdateDatabase& UpdateTest::attach(const UpdateContent& content)
{
    writeUpdateDatabase(updatePath(), content);
    return attach();
}

update::UpdateDatabase& UpdateTest::attach()
{
    run.reset();
    source.reset();
    source = std::make_unique<update::UpdateDatabase>(db(), updatePath(), testsupport::programConnect());
    run = std::make_unique<update::UpdateRun>(db(), *source);
    run->strUpdTables = QStringLiteral("The tables updated inlcude: ");
    return *source;
}

UpdateContent UpdateTest::allSourcesContent(int count, int seed)
{
    UpdateContent c;
    for (const QString& s : allSources())
        c.sources[s] = generatedRows(db().tableDef(targetOf(s)), count, seed);
    return c;
}

QStringList UpdateTest::sourceRows(const QString& source)
{
    return sourceRowsAt(updatePath(), source);
}

QStringList UpdateTest::sourceRowsAt(const QString& path, const QString& source)
{
    dao::Database u = dao::OpenDatabase(path, false, true, testsupport::programConnect());
    return testsupport::tableRows(u, source, QStringLiteral("rowid"));
}

std::map<QString, QStringList> UpdateTest::snapshot()
{
    std::map<QString, QStringList> all;
    for (const QString& t : mainTables())
        all[t] = rows(t);
    return all;
}

}  // namespace updatetest
