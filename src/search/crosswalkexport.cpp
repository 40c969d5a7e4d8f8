#include "search/crosswalkexport.h"

#include "platform/dao/Error.h"
#include "platform/dao/Transaction.h"
#include "platform/jet/delimited.h"

#include <QDir>
#include <vector>

namespace crosswalkexport {

namespace {

// Jet's text columns without a size hold 255 characters.
const QString kCreateNdExport = QStringLiteral(
    "CREATE TABLE [ND Export] ([HCPCS Code] TEXT(255), [Labeler Name] TEXT(255), [NDC] TEXT(255), "
    "[HCPCS DOSAGE] TEXT(255),[Drug Name] TEXT(255), [PKG SIZE] TEXT(255), [PKG QTY] TEXT(255),"
    "[BILLUNITS] TEXT(255), [BILLUNITSPKG] TEXT(255))");
const QString kInsertNdExport = QStringLiteral("INSERT INTO [ND Export] VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");

void write(QIODevice& out, const QByteArray& line, const QString& name)
{
    if (out.write(line) != line.size())
        throw dao::Error(75, QStringLiteral("Path/File access error: '%1'").arg(QDir::toNativeSeparators(name)));
}

bool endsAsExportable(const QString& path)
{
    const QString type = path.right(3).toLower();
    return type == QLatin1String("mdb") || type == QLatin1String("csv");
}

}  // namespace

const QStringList& columns()
{
    static const QStringList names = {
        QStringLiteral("HCPCS Code"), QStringLiteral("Labeler Name"), QStringLiteral("NDC"),
        QStringLiteral("HCPCS DOSAGE"), QStringLiteral("Drug Name"), QStringLiteral("PKG SIZE"),
        QStringLiteral("PKG QTY"), QStringLiteral("BILLUNITS"), QStringLiteral("BILLUNITSPKG")};
    return names;
}

const QStringList& csvHeader()
{
    static const QStringList texts = {
        QStringLiteral("HCPCS Code"), QStringLiteral("Labeler Name"), QStringLiteral("NDC"),
        QStringLiteral("HCPCS DOSAGE"), QStringLiteral("Drug Name"), QStringLiteral("Package Size"),
        QStringLiteral("Package Quantity"), QStringLiteral("Billable Units"),
        QStringLiteral("Billable Units Per Package")};
    return texts;
}

QString completedPath(const QString& path, int filterIndex)
{
    if (endsAsExportable(path))
        return path;
    return path + (filterIndex == 2 ? QStringLiteral(".csv") : QStringLiteral(".mdb"));
}

Kind kindOf(const QString& completedPath)
{
    return completedPath.right(3).toLower() == QLatin1String("csv") ? Kind::Csv : Kind::Access;
}

void writeCsv(dao::Recordset& rows, QIODevice& out, const QString& name)
{
    std::vector<jet::TextField> fields;
    for (const QString& text : csvHeader())
        fields.push_back({text, true});
    fields.push_back({QString(), true});
    write(out, jet::delimitedLine(fields), name);

    while (!rows.EOF()) {
        fields.clear();
        for (const QString& column : columns())
            fields.push_back({rows[column].Value().toString(), true});
        fields.push_back({QString(), false});
        write(out, jet::delimitedLine(fields), name);
        rows.MoveNext();
    }
}

void writeAccess(dao::Recordset& rows, dao::Database& target)
{
    target.Execute(kCreateNdExport);
    {
        // One transaction for speed; what was appended before a failure is kept all the same.
        dao::Transaction appended(target);
        std::vector<dao::Variant> values(std::size_t(columns().size()));
        try {
            while (!rows.EOF()) {
                for (qsizetype i = 0; i < columns().size(); ++i) {
                    const dao::Variant v = rows[columns()[i]].Value();
                    // Numbers go in as the text they read as ("12", not "12.0").
                    values[std::size_t(i)] = v.isNull() ? dao::Variant() : dao::Variant(v.toString());
                }
                target.Execute(kInsertNdExport, values);
                rows.MoveNext();
            }
        } catch (const dao::Error&) {
            appended.Commit();
            throw;
        }
        appended.Commit();
    }
    target.Execute(QStringLiteral("DROP TABLE export"));
}

}  // namespace crosswalkexport
