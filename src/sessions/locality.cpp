#include "sessions/locality.h"

#include "platform/dao/Recordset.h"

#include <algorithm>

namespace locality {

QStringList stateList(dao::Database& db)
{
    QStringList states;
    dao::Recordset rs = db.OpenRecordset(QStringLiteral("SELECT DISTINCT STATE FROM LOCATION"));
    for (; !rs.EOF(); rs.MoveNext()) {
        const QString state = rs[0].Value().toString();
        states << (state == kNationalValues ? kNationalEntry : state);
    }
    std::stable_sort(states.begin(), states.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return states;
}

Source allLocalities()
{
    return {QStringLiteral("SELECT * FROM LOCATION"), {}};
}

Source stateLocalities(const QString& entry)
{
    if (entry == kNationalEntry)
        return {QStringLiteral("SELECT * FROM LOCATION WHERE ST = ?"), {QStringLiteral("**")}};
    return {QStringLiteral("SELECT * FROM LOCATION WHERE STATE = ?"), {entry}};
}

Source zipLocalities(const QString& carrier, const QString& locCode)
{
    return {QStringLiteral("SELECT * FROM LOCATION WHERE CARRIER = ? AND LOCCODE = ?"), {carrier, locCode}};
}

std::optional<ZipRow> findZip(dao::Database& db, const QString& zip)
{
    dao::Recordset rs = db.OpenRecordset(QStringLiteral("SELECT * FROM ZPLC WHERE ZIPCODE = ?"), {zip});
    if (rs.EOF())
        return std::nullopt;
    return ZipRow{zip, rs["CARRIER"].Value().toString(), rs["LOCALITY"].Value().toString(),
                  rs["rural ind"].Value()};
}

QString zipVersion(dao::Database& db)
{
    return db.scalar(QStringLiteral("SELECT Version FROM ZPLC ORDER BY rowid LIMIT 1")).toString();
}

QString quarterText(const QString& version)
{
    static const char* const quarters[] = {"1st Qtr ", "2nd Qtr ", "3rd Qtr ", "4th Qtr "};
    if (version.isEmpty())
        return {};
    const int q = version.right(1).toInt();
    if (q < 1 || q > 4)
        return {};
    return QString::fromLatin1(quarters[q - 1]) + version.left(4);
}

QString localityText(const QString& state, const QString& st, const QString& desc)
{
    if (st == QLatin1String("**") || desc == kNationalValues)
        return desc;
    return state + QStringLiteral(" - ") + desc;
}

}  // namespace locality
