#include "userdata/prioryear.h"

#include "app/buildinfo.h"
#include "platform/dao/Error.h"
#include "platform/dao/Recordset.h"
#include "platform/dao/Transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace prioryear {

QString stageOldRelease()
{
    return QStringLiteral("KELVA prior to 2001 cannot be updated using this option.  Contact tech support at ") +
           supportEmail();
}

QString initialFolder(const QString& homeFolder, const QString& programFolder)
{
    const QString prior = QDir(homeFolder).filePath(kPriorFolder);
    return QFileInfo(QDir(prior).filePath(QStringLiteral("kelva.mdb"))).isFile() ? prior : programFolder;
}

std::vector<PriorSession> priorSessions(dao::Database& prior)
{
    std::vector<PriorSession> sessions;
    dao::Recordset rs = prior.OpenRecordset(QStringLiteral("SELECT Session, SESTAB FROM sessions WHERE Session <> ?"),
                                            {dao::Variant(QStringLiteral("Default"))});
    for (; !rs.EOF(); rs.MoveNext())
        sessions.emplace_back(rs[0].Value().toString(), rs[1].Value().toString());
    return sessions;
}

const std::vector<QString>& scheduleColumns()
{
    static const std::vector<QString> columns = {"S1",    "S2",    "S3",    "S4",    "S5",
                                                 "Freq1", "Freq2", "Freq3", "Freq4", "Freq5"};
    return columns;
}

dao::Recordset priorRows(dao::Database& prior, const QString& priorTable)
{
    if (!prior.hasTable(priorTable))
        throw dao::Error(3078, QStringLiteral("The Microsoft Jet database engine cannot find the input table or "
                                              "query '%1'.  Make sure it exists and that its name is spelled "
                                              "correctly.")
                                   .arg(priorTable));
    QStringList above;
    for (const QString& c : scheduleColumns())
        above << c + QStringLiteral(" > 0");
    return prior.OpenRecordset(QStringLiteral("SELECT CODEMOD, CPT, S1, S2, S3, S4, S5, Freq1, Freq2, Freq3, Freq4, "
                                              "Freq5 FROM ") +
                               dao::quoteIdentifier(priorTable) + QStringLiteral(" WHERE ") +
                               above.join(QStringLiteral(" OR ")) + QStringLiteral(" ORDER BY CODEMOD"));
}

void copyRows(dao::Database& main, const QString& table, dao::Recordset& rows, const std::function<void()>& advance)
{
    QStringList assignments;
    for (const QString& c : scheduleColumns())
        assignments << QStringLiteral("%1 = coalesce(?, %1)").arg(c);
    const QString sql = QStringLiteral("UPDATE ") + dao::quoteIdentifier(table) + QStringLiteral(" SET ") +
                        assignments.join(QStringLiteral(", ")) + QStringLiteral(" WHERE CODEMOD = ?");
    const int first = 2;  // S1, after CODEMOD and CPT
    std::vector<dao::Variant> params(scheduleColumns().size() + 1);
    dao::Transaction copied(main);
    for (; !rows.EOF(); rows.MoveNext()) {
        for (std::size_t i = 0; i < scheduleColumns().size(); ++i) {
            const dao::Variant v = rows[first + int(i)].Value();
            const bool empty = v.isNull() || (v.type() == dao::Variant::Type::Text && v.toString().isEmpty());
            params[i] = empty ? dao::Variant() : v;
        }
        params.back() = dao::Variant(rows[0].Value().toString().trimmed());
        main.Execute(sql, params);
        if (advance)
            advance();
    }
    copied.Commit();
}

}  // namespace prioryear
