#include "update/updatedb.h"

#include "platform/dao/Recordset.h"
#include "platform/seam/Seam.h"

namespace update {

namespace {

const QString kSchema = QStringLiteral("kelvaupd");

bool attached(dao::Database& db)
{
    return !db.scalar(QStringLiteral("SELECT 1 FROM pragma_database_list WHERE name = ?"), {kSchema}).isNull();
}

}  // namespace

UpdateDatabase::UpdateDatabase(dao::Database mainDb, const QString& path, const QString& connect)
    : main(std::move(mainDb)), file(path)
{
    // Opened read-only through the layer only to check the file and its password.
    dao::Database check = dao::OpenDatabase(path, false, true, connect);
    check.Close();
    if (attached(main))
        main.Execute(QStringLiteral("DETACH DATABASE ") + kSchema);
    main.Execute(QStringLiteral("ATTACH DATABASE ? AS ") + kSchema, {path});
}

UpdateDatabase::~UpdateDatabase()
{
    try {
        main.Execute(QStringLiteral("DETACH DATABASE ") + kSchema);
    } catch (const dao::Error&) {
        // Still read by an open transaction: the next attachment detaches it first.
    }
}

QString UpdateDatabase::storedName(const QString& name) const
{
    return main
        .scalar(QStringLiteral("SELECT name FROM ") + kSchema
                    + QStringLiteral(".sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"),
                {name})
        .toString();
}

bool UpdateDatabase::hasTable(const QString& name) const
{
    return !storedName(name).isEmpty();
}

QString UpdateDatabase::table(const QString& name) const
{
    const QString stored = storedName(name);
    if (stored.isEmpty())
        throw dao::Error(3078, QStringLiteral("The update database has no table '%1'.").arg(name));
    return kSchema + QLatin1Char('.') + dao::quoteIdentifier(stored);
}

QStringList UpdateDatabase::columns(const QString& name) const
{
    dao::Recordset rs = main.OpenRecordset(QStringLiteral("SELECT name FROM pragma_table_info(?, ?) ORDER BY cid"),
                                         {storedName(name), kSchema});
    QStringList out;
    for (; !rs.EOF(); rs.MoveNext())
        out << rs[0].Value().toString();
    return out;
}

void UpdateRun::setProgress(int value) const
{
    if (hooks.progress)
        hooks.progress(value);
}

void UpdateRun::pumpEvents() const
{
    if (hooks.events)
        hooks.events();
    else
        seam().DoEvents();
}

}  // namespace update
