#include "update/localityrefresh.h"

#include "db/sessions.h"
#include "platform/dao/Recordset.h"
#include "platform/dao/Transaction.h"

namespace update {

std::optional<GeolocParts> splitGeoloc(const QString& geoloc)
{
    const int dash = geoloc.indexOf(QLatin1Char('-'));
    if (dash < 1)
        return std::nullopt;
    return GeolocParts{geoloc.left(dash - 1), geoloc.mid(dash + 2)};
}

void Temp_2004_Update(UpdateRun& run)
{
    if (!run.source.hasTable(QStringLiteral("location1")))
        return;
    const QString find = QStringLiteral("SELECT work, pract, malp FROM %1 WHERE state = ? COLLATE NOCASE AND "
                                        "\"desc\" = ? COLLATE NOCASE ORDER BY rowid LIMIT 1")
                             .arg(run.source.table(QStringLiteral("location1")));
    dao::Transaction trans(run.main);
    dao::Recordset sessions = run.main.OpenRecordset(QStringLiteral("SELECT * FROM SESSIONS ORDER BY rowid"));
    for (; !sessions.EOF(); sessions.MoveNext()) {
        const QString geoloc = db::SessionRow(sessions).get(db::SessionRow::GEOLOC);
        const auto parts = splitGeoloc(geoloc);
        if (!parts)
            continue;
        dao::Recordset loc = run.main.OpenRecordset(find, {parts->state, parts->desc});
        if (loc.EOF())
            continue;
        const dao::Variant work = loc["work"].Value(), pract = loc["pract"].Value(), malp = loc["malp"].Value();
        if (!work.isNumeric() || !pract.isNumeric() || !malp.isNumeric())
            continue;
        run.main.Execute(QStringLiteral("UPDATE SESSIONS SET CURWORKGPCI = ?, CURPRACGPCI = ?, CURMALPGPCI = ? "
                                        "WHERE GEOLOC = ?"),
                         {work, pract, malp, geoloc});
    }
    trans.Commit();
}

}  // namespace update
