#include "export/rules/csvlayout.h"

#include "platform/dao/Error.h"
#include "platform/dao/jetfunctions.h"

#include <QDir>
#include <QFileInfo>

namespace exportcsv {

namespace {

const QString kFeePattern = QStringLiteral("#0.00");

[[noreturn]] void accessError(const QString& path)
{
    throw dao::Error(75, QStringLiteral("Path/File access error: '%1'").arg(QDir::toNativeSeparators(path)));
}

}  // namespace

CsvFile::CsvFile(const QString& path) : file_(path)
{
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        throw dao::Error(76, QStringLiteral("Path not found: '%1'").arg(QDir::toNativeSeparators(path)));
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        accessError(path);
}

CsvFile::~CsvFile()
{
    if (file_.isOpen())
        file_.close();
}

void CsvFile::write(const QByteArray& line)
{
    if (file_.write(line) != line.size())
        accessError(file_.fileName());
}

void CsvFile::header(const QStringList& texts)
{
    std::vector<jet::TextField> fields;
    fields.reserve(std::size_t(texts.size()) + 1);
    for (const QString& t : texts)
        fields.push_back({t, true});
    fields.push_back({QString(), true});
    write(jet::delimitedLine(fields));
}

void CsvFile::data(std::vector<jet::TextField>& values)
{
    values.push_back({QString(), false});
    write(jet::delimitedLine(values));
    values.pop_back();
}

void CsvFile::close()
{
    const bool flushed = file_.flush();
    file_.close();
    if (!flushed || file_.error() != QFileDevice::NoError)
        accessError(file_.fileName());
}

jet::TextField quoted(const dao::Variant& v)
{
    return {v.toString(), true};
}

jet::TextField quoted(QString text)
{
    return {std::move(text), true};
}

jet::TextField bare(const dao::Variant& v)
{
    return {v.toString(), false};
}

jet::TextField number(const dao::Variant& v)
{
    return {dao::doubleText(dao::CDbl(v)), false};
}

jet::TextField patterned(const dao::Variant& v, const QString& pattern)
{
    return {jet::format(dao::Variant(dao::CDbl(v)), pattern), false};
}

jet::TextField fee(const dao::Variant& v)
{
    if (v.isNull())
        return {QString(), false};
    return patterned(v, kFeePattern);
}

QString shortDescription(const dao::Variant& v)
{
    QString text = v.toString().left(150);
    text.replace(QLatin1Char('"'), QLatin1Char(' '));
    return text;
}

QString quotesToBlanks(const dao::Variant& v)
{
    QString text = v.toString();
    text.replace(QLatin1Char('"'), QLatin1Char(' '));
    return text;
}

}  // namespace exportcsv
