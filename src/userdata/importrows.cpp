#include "userdata/importrows.h"

#include "platform/controls/DataControl.h"
#include "platform/dao/Transaction.h"

namespace userimport {

namespace {

const char* const kScheduleNames[5] = {"S1", "S2", "S3", "S4", "S5"};
const char* const kFrequencyNames[5] = {"FREQ1", "FREQ2", "FREQ3", "FREQ4", "FREQ5"};

}  // namespace

void releaseSource(platform::DataControl& data)
{
    data.setConnect(QString());
    data.setDatabaseName(QString());
    data.setRecordSource(QString());
    data.Refresh();
}

const char* const kNoCodeColumnText = "The import file must have a column labeled\"CODE\" or \"CPT\".";

bool SourceColumns::anyValue() const
{
    return anyColumn(value);
}

SourceColumns sourceColumns(const QStringList& fieldNames, Member member)
{
    SourceColumns c;
    const bool schedules = member == Member::Schedules;
    for (int i = 0; i < fieldNames.size(); ++i) {
        const QString n = fieldNames[i].toLower();
        if (n == QLatin1String("code") || n == QLatin1String("cpt")) {
            c.code = i;
            c.codeIsCpt = n == QLatin1String("cpt");
        } else if (n == QLatin1String("mod")) {
            c.mod = i;
        } else if (schedules && n == QLatin1String("tag")) {
            c.tag = i;
        }
        for (int k = 0; k < 5; ++k) {
            const QString name = schedules ? QStringLiteral("s%1").arg(k + 1) : QStringLiteral("freq%1").arg(k + 1);
            if (n == name)
                c.value[size_t(k)] = i;
        }
    }
    return c;
}

QString noValueColumnText(Member member)
{
    return member == Member::Schedules
               ? QStringLiteral("The import file must have a column labeled S1, S2, S3, S4, and/or S5.")
               : QStringLiteral("The import file must have a column labeled freq1, freq2, freq3, freq4, and/or freq5.");
}

std::optional<QString> recordKey(const dao::Variant& code, const dao::Variant& mod, bool hasMod)
{
    QString key;
    if (!code.isNull()) {
        const QString c = dao::CStr(code).trimmed();
        const qsizetype length = c.size();
        if (length == 0 || length > 7)
            return std::nullopt;
        key = c.rightJustified(length <= 5 ? 5 : 7, QLatin1Char('0'));
    }
    if (hasMod && !mod.isNull())
        key += dao::CStr(mod).trimmed();
    return key;
}

std::optional<dao::Variant> columnValue(Member member, int column, const dao::Variant& v)
{
    if (v.isNull())
        return std::nullopt;
    const QString text = dao::CStr(v);
    const QString t = text.trimmed();
    const bool textCompare = column == 1;  // S2 and Freq2
    bool below = false;
    double number = 0;
    const bool isNumber = v.type() == dao::Variant::Type::Double || v.type() == dao::Variant::Type::Long
                              ? (number = v.toDouble(), true)
                              : dao::parseNumber(text, &number);
    if (textCompare) {
        below = t < QLatin1String("0");  // in character-code order: "", "-3", ".5" and "+1" sort before it
    } else {
        if (!isNumber)
            return std::nullopt;
        below = number < 0;
    }
    if (member == Member::Schedules) {
        if (below || !isNumber)
            return std::nullopt;
        return dao::Variant(number);
    }
    if (below)
        return column == 0 ? std::nullopt : std::optional<dao::Variant>(dao::Variant(0.0));
    return isNumber ? dao::Variant(number) : dao::Variant(text);
}

RowOutcome importRows(Member member, dao::Recordset& source, dao::Database& db, const QString& table,
                      RowProgress& progress)
{
    QStringList names;
    for (int i = 0; i < source.FieldCount(); ++i)
        names << source.Fields(i).Name();
    const SourceColumns columns = sourceColumns(names, member);
    if (columns.code < 0)
        return RowOutcome::NoCodeColumn;
    if (!columns.anyValue())
        return RowOutcome::NoValueColumn;

    const bool frequencies = member == Member::Frequencies;
    const char* const* columnNames = frequencies ? kFrequencyNames : kScheduleNames;
    progress.record = 1;
    dao::Transaction transaction(db);
    std::vector<dao::Variant> params;
    for (; !source.EOF(); source.MoveNext()) {
        ++progress.record;
        const dao::Variant code = source.Fields(columns.code).Value();
        if (code.isNull() && columns.codeIsCpt && frequencies) {
            ++progress.recordLines;
            if (progress.recordLine)
                progress.recordLine(progress.record);
        }
        const std::optional<QString> key =
            recordKey(code, columns.mod >= 0 ? source.Fields(columns.mod).Value() : dao::Variant(), columns.mod >= 0);
        if (!key)
            continue;
        CsvUpdate update;
        update.key = *key;
        for (int k = 0; k < 5; ++k) {
            const int at = columns.value[size_t(k)];
            if (at < 0)
                continue;
            if (std::optional<dao::Variant> v = columnValue(member, k, source.Fields(at).Value()))
                update.set.emplace_back(QLatin1String(columnNames[k]), *v);
        }
        if (columns.tag >= 0 && !source.Fields(columns.tag).Value().isNull())
            update.set.emplace_back(QStringLiteral("tag"), dao::Variant(QStringLiteral("+")));
        if (update.set.empty())
            continue;
        db.Execute(updateText(table, update, &params), params);
    }
    transaction.Commit();
    return RowOutcome::Imported;
}

}  // namespace userimport
