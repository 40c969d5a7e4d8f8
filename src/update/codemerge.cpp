#include "update/codemerge.h"

#include "db/sessions.h"
#include "platform/dao/Recordset.h"
#include "platform/seam/Seam.h"

#include <vector>

namespace update {

namespace {

const QString kUpdateTable = QStringLiteral("DATA00001");

// The rows of DATA00001, read once for every session table.
struct UpdateRows {
    dao::Recordset rs;
    int columns = 0;
    int codemod = -1;
    int tag = -1;
};

UpdateRows readUpdateRows(UpdateRun& run)
{
    UpdateRows u;
    const QString source = run.source.table(kUpdateTable);
    u.rs = run.main.OpenRecordset(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(source));
    u.columns = u.rs.FieldCount();
    for (int i = 0; i < u.columns; ++i) {
        const QString name = u.rs.fieldName(i);
        if (name.compare(QLatin1String("Codemod"), Qt::CaseInsensitive) == 0)
            u.codemod = i;
        else if (name.compare(QLatin1String("Tag"), Qt::CaseInsensitive) == 0)
            u.tag = i;
    }
    if (u.codemod < 0 || u.tag < 0)
        throw dao::Error(dao::errItemNotFound, QStringLiteral("Item not found in this collection."));
    return u;
}

void mergeRows(UpdateRun& run, const QString& table, const UpdateRows& u)
{
    const dao::TableDef def = run.main.tableDef(table);
    if (int(def.fields.size()) < u.columns)
        throw dao::Error(dao::errItemNotFound, QStringLiteral("Item not found in this collection."));
    const QString t = dao::quoteIdentifier(def.name);
    QStringList all, marks, set;
    std::vector<int> changed;  // positions the held codes take from the update
    for (int i = 0; i < u.columns; ++i) {
        const QString col = dao::quoteIdentifier(def.fields[i].name);
        all << col;
        marks << QStringLiteral("?");
        if (!keptColumns().contains(def.fields[i].name)) {
            set << col + QStringLiteral(" = ?");
            changed.push_back(i);
        }
    }
    // The first row of the code, found through the table's CODEMOD index.
    const QString first = QStringLiteral("(SELECT rowid FROM %1 WHERE CODEMOD = ? ORDER BY rowid LIMIT 1)").arg(t);
    const QString remove = QStringLiteral("DELETE FROM %1 WHERE rowid = %2").arg(t, first);
    const QString edit =
        QStringLiteral("UPDATE %1 SET %2 WHERE rowid = %3").arg(t, set.join(QStringLiteral(", ")), first);
    const QString add = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(t, all.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));

    std::vector<dao::Variant> params;
    for (int r = 0; r < u.rs.rowCount(); ++r) {
        const dao::Variant code = u.rs.cell(r, u.codemod);
        const dao::Variant tag = u.rs.cell(r, u.tag);
        if (tag.type() == dao::Variant::Type::Text && tag.toString() == QLatin1String("D")) {
            run.main.Execute(remove, {code});
            continue;
        }
        params.clear();
        for (int i : changed)
            params.push_back(u.rs.cell(r, i));
        params.push_back(code);
        run.main.Execute(edit, params);
        if (run.main.RecordsAffected() > 0)
            continue;
        params.clear();
        for (int i = 0; i < u.columns; ++i)
            params.push_back(u.rs.cell(r, i));
        run.main.Execute(add, params);
    }
}

}  // namespace

const QStringList& keptColumns()
{
    static const QStringList kept = {"Tag",   "S1",    "S2",    "S3",    "S4",    "S5",   "Freq1",
                                     "Freq2", "Freq3", "Freq4", "Freq5", "NOTES", "USRDF"};
    return kept;
}

void mergeSessionTable(UpdateRun& run, const QString& table)
{
    mergeRows(run, table, readUpdateRows(run));
}

void Update_KELVA(UpdateRun& run)
{
    const UpdateRows rows = readUpdateRows(run);
    seam().SetMousePointer(vbHourglass);
    dao::Recordset sessions = run.main.OpenRecordset(QStringLiteral("SELECT * FROM SESSIONS ORDER BY rowid"));
    for (; !sessions.EOF(); sessions.MoveNext()) {
        const QString table = db::SessionRow(sessions).get(db::SessionRow::SESTAB);
        run.setProgress(160);
        run.pumpEvents();
        mergeRows(run, table, rows);
    }
    run.setProgress(199);
    run.main.Execute(QStringLiteral("UPDATE PARMS_CL SET dataupdate = ?"), {dao::Variant(run.strDate)});
    run.strUpdTables += QStringLiteral(" KELVA ");
    run.pumpEvents();
    seam().SetMousePointer(vbDefault);
}

}  // namespace update
