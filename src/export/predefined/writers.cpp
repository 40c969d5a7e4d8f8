#include "export/predefined/writers.h"

#include "export/rules/csvlayout.h"
#include "platform/dao/Error.h"
#include "platform/dao/jetfunctions.h"
#include "platform/controls/DataControl.h"

#include <QDir>
#include <QFileInfo>

namespace predefined {

namespace {

const QString kFeePattern = QStringLiteral("#0.00");

QString feeText(const dao::Variant& v)
{
    return jet::format(dao::Variant(dao::CDbl(v)), kFeePattern);
}

[[noreturn]] void accessError(const QString& path)
{
    throw dao::Error(75, QStringLiteral("Path/File access error: '%1'").arg(QDir::toNativeSeparators(path)));
}

int fieldIndex(dao::Recordset& rs, const QString& name)
{
    for (int i = 0; i < rs.FieldCount(); ++i)
        if (rs.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throw dao::Error(dao::errItemNotFound, QStringLiteral("Item not found in this collection."));
}

}  // namespace

dao::Variant sheetValue(const Column& c, const dao::Variant& v)
{
    if (v.isNull())
        return v;
    switch (c.value) {
    case Value::Number: return dao::Variant(dao::CDbl(v));
    case Value::Fee: return dao::Variant(feeText(v));
    case Value::Text:
    case Value::Stored: break;
    }
    return v;
}

dao::Variant tableValue(const Column& c, const dao::Variant& v)
{
    if (v.isNull())
        return v;
    switch (c.value) {
    case Value::Number: return dao::Variant(dao::doubleText(dao::CDbl(v)));
    case Value::Fee: return dao::Variant(feeText(v));
    case Value::Text:
    case Value::Stored: break;
    }
    return dao::Variant(v.toString());
}

jet::TextField csvValue(const Column& c, const dao::Variant& v)
{
    const dao::Variant value = v.isNull() && c.nullAsZero ? dao::Variant(0.0) : v;
    switch (c.csv) {
    case Csv::Quoted: return exportcsv::quoted(value);
    case Csv::Bare: return exportcsv::bare(value);
    case Csv::Number: return exportcsv::number(value);
    case Csv::Fee: return {feeText(value), false};
    }
    return {};
}

QStringList sheetColumns(const Layout& l, dao::Recordset& table)
{
    QStringList names;
    for (const Column& c : l.columns)
        names << table.fieldName(fieldIndex(table, QString::fromLatin1(c.sheet)));
    return names;
}

void appendRows(const Layout& l, dao::Recordset& rows, dao::Database out, const QString& table,
                const QStringList& targetNames, dao::Variant (*convert)(const Column&, const dao::Variant&))
{
    std::vector<int> sources;
    QStringList names, marks;
    for (qsizetype i = 0; i < targetNames.size(); ++i) {
        sources.push_back(fieldIndex(rows, QString::fromLatin1(l.columns[std::size_t(i)].source)));
        names << dao::quoteIdentifier(targetNames[i]);
        marks << QStringLiteral("?");
    }
    // One statement for every record: the layer keeps it prepared.
    const QString insert = QStringLiteral("INSERT INTO ") + dao::quoteIdentifier(table) + QStringLiteral(" (")
                           + names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (")
                           + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    std::vector<dao::Variant> values(sources.size());
    out.BeginTrans();
    try {
        for (; !rows.EOF(); rows.MoveNext()) {
            for (std::size_t i = 0; i < sources.size(); ++i)
                values[i] = convert(l.columns[i], rows.Fields(sources[i]).Value());
            out.Execute(insert, values);
        }
    } catch (const dao::Error&) {
        out.CommitTrans();
        throw;
    }
    out.CommitTrans();
}

void releaseDataControl(platform::DataControl& data)
{
    if (data.hasRecordset())
        data.Recordset().Close();
    data.setConnect(QString());
    data.setDatabaseName(QString());
    data.setRecordSource(QString());
    data.Refresh();
}

TextFile::TextFile(const QString& path) : file_(path)
{
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        throw dao::Error(76, QStringLiteral("Path not found: '%1'").arg(QDir::toNativeSeparators(path)));
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        accessError(path);
}

void TextFile::line(const std::vector<jet::TextField>& fields)
{
    const QByteArray bytes = jet::delimitedLine(fields);
    if (file_.write(bytes) != bytes.size())
        accessError(file_.fileName());
}

void TextFile::close()
{
    const bool flushed = file_.flush();
    file_.close();
    if (!flushed || file_.error() != QFileDevice::NoError)
        accessError(file_.fileName());
}

void writeCsv(const Layout& l, const SessionNames& names, dao::Recordset& rows, TextFile& file)
{
    auto header = [&](const QStringList& texts) {
        std::vector<jet::TextField> fields;
        for (const QString& t : texts)
            fields.push_back({t, true});
        if (l.csvEmptyLastHeader)
            fields.push_back({QString(), true});
        file.line(fields);
    };
    header(csvFieldNames(l, names));
    if (l.csvCaptionLine)
        header(csvCaptions(l, names));

    std::vector<int> sources;
    for (const Column& c : l.columns)
        sources.push_back(fieldIndex(rows, QString::fromLatin1(c.source)));
    std::vector<jet::TextField> fields(sources.size());
    for (; !rows.EOF(); rows.MoveNext()) {
        for (std::size_t i = 0; i < sources.size(); ++i)
            fields[i] = csvValue(l.columns[i], rows.Fields(sources[i]).Value());
        file.line(fields);
    }
}

}  // namespace predefined
