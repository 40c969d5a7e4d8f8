#include "userdata/importcsv.h"

#include "platform/dao/Transaction.h"
#include "platform/jet/codepage.h"

#include <QDir>
#include <algorithm>
#include <QFile>

namespace userimport {

namespace {

const char* const kScheduleColumns[5] = {"S1", "S2", "S3", "S4", "S5"};
const char* const kFrequencyColumns[5] = {"FREQ1", "FREQ2", "FREQ3", "FREQ4", "FREQ5"};

bool hasDigit1To9(const QString& line)
{
    for (const QChar c : line)
        if (c >= QLatin1Char('1') && c <= QLatin1Char('9'))
            return true;
    return false;
}

QString textOf(const dao::Variant& v)
{
    return v.isNull() ? QString() : dao::CStr(v);
}

// A value for a number column: the number a text stands for, or the text itself, which the column refuses.
dao::Variant numberOrText(const dao::Variant& v)
{
    if (v.type() == dao::Variant::Type::Double)
        return v;
    double d = 0;
    const QString t = textOf(v);
    if (dao::parseNumber(t, &d))
        return dao::Variant(d);
    return dao::Variant(t);
}

}  // namespace

bool anyColumn(const std::array<int, 5>& columns)
{
    return std::any_of(columns.begin(), columns.end(), [](int c) { return c >= 0; });
}

bool CsvHeader::usable() const
{
    return code >= 0 && anyColumn(value);
}

CsvHeader csvHeader(const QString& line, Member member)
{
    CsvHeader h;
    const QStringList names = line.split(QLatin1Char(','));
    h.fields = int(names.size());
    const bool schedules = member == Member::Schedules;
    for (int i = 0; i < h.fields; ++i) {
        const QString t = names[i].toLower();
        const bool code = schedules ? (t.trimmed().contains(QLatin1String("code")) || t.trimmed().contains(QLatin1String("cpt")))
                                    : (t == QLatin1String("code") || t.contains(QLatin1String("cpt")));
        if (code)
            h.code = i;
        if (t.contains(QLatin1String("mod")))
            h.mod = i;
        for (int k = 0; k < 5; ++k) {
            const QString name = schedules ? QStringLiteral("s%1").arg(k + 1) : QStringLiteral("freq%1").arg(k + 1);
            if (t.contains(name))
                h.value[size_t(k)] = i;
        }
        if (schedules && t.contains(QLatin1String("tag")))
            h.tag = i;
        if (schedules && t.contains(QLatin1String("usrdf")))
            h.usrdf = i;
    }
    return h;
}

QStringList textLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

std::vector<dao::Variant> splitCsvLine(const QString& line, int maxFields, int lineNumber)
{
    const QString text = line + QLatin1Char(',');
    std::vector<dao::Variant> fields;
    qsizetype at = 0;
    const qsizetype n = text.size();
    while (n - at > 1) {
        if (int(fields.size()) >= maxFields)
            throw dao::Error(9, QStringLiteral("Line %1 of the file has more fields than its header line.").arg(lineNumber));
        qsizetype j = at;
        while (j < n && text[j] == QLatin1Char(' '))
            ++j;
        if (j < n && text[j] == QLatin1Char('"')) {
            const qsizetype close = text.indexOf(QLatin1Char('"'), j + 1);
            if (close < 0) {
                fields.emplace_back(QString());
                const qsizetype comma = text.indexOf(QLatin1Char(','), j + 1);
                at = comma < 0 ? n : comma + 1;
                continue;
            }
            QString value = text.mid(j + 1, close - j - 1);
            value.remove(QLatin1Char('$')).remove(QLatin1Char('\'')).remove(QLatin1Char(','));
            double d = 0;
            if (dao::parseNumber(value, &d))
                fields.emplace_back(d);
            else
                fields.emplace_back(value);
            const qsizetype comma = text.indexOf(QLatin1Char(','), close + 1);
            at = comma < 0 ? n : comma + 1;
        } else {
            const qsizetype comma = text.indexOf(QLatin1Char(','), at);
            fields.emplace_back(text.mid(at, comma - at));
            at = comma + 1;
        }
    }
    return fields;
}

std::optional<CsvUpdate> csvLineUpdate(const CsvHeader& header, const std::vector<dao::Variant>& fields,
                                       Member member)
{
    auto field = [&](int role) -> dao::Variant {
        if (role < 0 || role >= int(fields.size()))
            return dao::Variant(QString());
        return fields[size_t(role)];
    };
    const bool schedules = member == Member::Schedules;

    CsvUpdate u;
    const QString code = textOf(field(header.code));
    const qsizetype length = code.size();
    if (length >= 8)
        return std::nullopt;
    u.key = code.rightJustified(length <= 5 ? 5 : 7, QLatin1Char('0'));
    if (header.mod >= 0)
        u.key += textOf(field(header.mod)).trimmed();
    if (u.key.size() >= 9)
        return std::nullopt;
    if (schedules && u.key.size() == 6 && u.key.endsWith(QLatin1Char('0')))
        u.key.truncate(5);

    for (int k = 0; k < 5; ++k) {
        const int role = header.value[size_t(k)];
        if (role < 0)
            continue;
        const dao::Variant v = field(role);
        const QString t = textOf(v);
        if (t.isEmpty())
            continue;
        if (schedules) {
            double d = 0;
            if (v.type() == dao::Variant::Type::Double)
                u.set.emplace_back(QLatin1String(kScheduleColumns[k]), v);
            else if (dao::parseNumber(t, &d))
                u.set.emplace_back(QLatin1String(kScheduleColumns[k]), dao::Variant(d));
        } else {
            u.set.emplace_back(QLatin1String(kFrequencyColumns[k]), numberOrText(v));
        }
    }
    if (schedules && header.tag >= 0 && !textOf(field(header.tag)).isEmpty())
        u.set.emplace_back(QStringLiteral("tag"), dao::Variant(QStringLiteral("+")));
    if (schedules && header.usrdf >= 0) {
        const QString user = textOf(field(header.usrdf));
        if (!user.trimmed().isEmpty())
            u.set.emplace_back(QStringLiteral("usrdf"), dao::Variant(user));
    }
    if (u.set.empty())
        return std::nullopt;
    return u;
}

QString updateText(const QString& table, const CsvUpdate& update, std::vector<dao::Variant>* params)
{
    QString sql = QStringLiteral("UPDATE ") + dao::quoteIdentifier(table) + QStringLiteral(" SET ");
    params->clear();
    bool first = true;
    for (const auto& [column, value] : update.set) {
        if (!first)
            sql += QStringLiteral(", ");
        first = false;
        if (column == QLatin1String("tag")) {
            sql += QStringLiteral("tag = '+'");
        } else {
            sql += column + QStringLiteral(" = ?");
            params->push_back(value);
        }
    }
    sql += QStringLiteral(" WHERE CODEMOD = ?");
    params->push_back(dao::Variant(update.key));
    return sql;
}

CsvOutcome importCsv(Member member, const QString& path, dao::Database& db, const QString& table,
                     const std::function<void()>& beforeFirstLine)
{
    const bool schedules = member == Member::Schedules;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (schedules)
            return CsvOutcome::Refused;
        throw dao::Error(53, QStringLiteral("File not found: '%1'.").arg(QDir::toNativeSeparators(path)));
    }
    const QByteArray bytes = file.readAll();
    file.close();
    const QStringList lines = textLines(jet::decodeUtf8Or1252(bytes));
    if (lines.isEmpty())
        return CsvOutcome::Refused;
    const CsvHeader header = csvHeader(lines.front(), member);
    if (!header.usable())
        return CsvOutcome::Refused;
    if (beforeFirstLine)
        beforeFirstLine();

    dao::Transaction transaction(db);
    std::vector<dao::Variant> params;
    const qsizetype count = lines.size();
    for (qsizetype i = 1; i < count; ++i) {
        QString line = lines[i];
        if (schedules) {
            if (line.contains(QLatin1String("XXXXXX"), Qt::CaseInsensitive)) {
                if (++i >= count)
                    break;
                line = lines[i];
            }
            if (!hasDigit1To9(line))
                continue;
        }
        const std::vector<dao::Variant> fields = splitCsvLine(line, header.fields + 1, int(i + 1));
        const std::optional<CsvUpdate> update = csvLineUpdate(header, fields, member);
        if (!update)
            continue;
        db.Execute(updateText(table, *update, &params), params);
    }
    transaction.Commit();
    return CsvOutcome::Imported;
}

}  // namespace userimport
