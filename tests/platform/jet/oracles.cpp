#include "oracles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace oracle {
namespace {

QString nodeModules()
{
    return QStringLiteral(KELVA_SOURCE_DIR "/tests/node_modules");
}

QString tool(const QString& name)
{
    return QStringLiteral(KELVA_SOURCE_DIR "/tests/platform/jet/tools/") + name;
}

// Debian's python3, which holds python3-dbf, before any other on the path.
QString python()
{
    return QFileInfo::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3") : QStringLiteral("python3");
}

// Runs a program; returns its standard output, the rest of what it printed in *err.
QByteArray run(const QString& program, const QStringList& args, QString* err, int timeoutMs = 120000)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KELVA_NODE_MODULES"), nodeModules());
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        ADD_FAILURE() << program.toStdString() << " did not finish";
        p.kill();
        p.waitForFinished();
    }
    const QByteArray out = p.readAllStandardOutput();
    const QString stderrText = QString::fromUtf8(p.readAllStandardError());
    if (err)
        *err = stderrText;
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        ADD_FAILURE() << program.toStdString() << " failed: " << stderrText.toStdString();
    return out;
}

dao::Variant fromJson(const QJsonValue& cell)
{
    if (!cell.isArray())
        return {};
    const QJsonArray a = cell.toArray();
    const QString t = a[0].toString();
    if (t == QLatin1String("n"))
        return a[1].toDouble();
    if (t == QLatin1String("b"))
        return a[1].toBool();
    return a[1].toVariant().toString();
}

}  // namespace

QString missing(Tool t)
{
    switch (t) {
    case Tool::SheetJS:
        if (QStandardPaths::findExecutable(QStringLiteral("node")).isEmpty())
            return QStringLiteral("nodejs is not installed (scripts/deps.sh installs it)");
        if (!QFileInfo::exists(nodeModules() + QStringLiteral("/xlsx/package.json")))
            return QStringLiteral("SheetJS is not installed: run npm ci in tests/ (scripts/deps.sh does)");
        return {};
    case Tool::Ssconvert:
        if (QStandardPaths::findExecutable(QStringLiteral("ssconvert")).isEmpty())
            return QStringLiteral("gnumeric's ssconvert is not installed (scripts/deps.sh installs it)");
        return {};
    case Tool::PythonDbf: {
        QProcess p;
        p.start(python(), {QStringLiteral("-W"), QStringLiteral("ignore"), QStringLiteral("-c"), QStringLiteral("import dbf")});
        if (!p.waitForFinished(30000) || p.exitCode() != 0)
            return QStringLiteral("python3-dbf is not installed (scripts/deps.sh installs it)");
        return {};
    }
    }
    return {};
}

std::vector<jet::Rows> sheetjsRead(const QStringList& files, QString* messages)
{
    const QByteArray out = run(QStringLiteral("node"), QStringList{tool(QStringLiteral("sheetjs_cells.js"))} + files, messages);
    std::vector<jet::Rows> sheets;
    const QJsonArray all = QJsonDocument::fromJson(out).array();
    for (const QJsonValue& f : all) {
        jet::Rows rows;
        if (f.isObject()) {
            ADD_FAILURE() << "SheetJS: " << f.toObject().value(QStringLiteral("error")).toString().toStdString();
        } else {
            for (const QJsonValue& r : f.toArray()) {
                std::vector<dao::Variant> row;
                for (const QJsonValue& c : r.toArray())
                    row.push_back(fromJson(c));
                rows.push_back(std::move(row));
            }
        }
        sheets.push_back(std::move(rows));
    }
    EXPECT_EQ(sheets.size(), size_t(files.size())) << "SheetJS gave no answer for some files";
    sheets.resize(size_t(files.size()));
    return sheets;
}

std::vector<jet::Rows> ssconvertRead(const QStringList& files, QString* messages)
{
    QTemporaryDir dir;
    const QString merged = dir.filePath(QStringLiteral("merged.gnumeric"));
    QString err;
    // --merge-to wants two files at least.
    run(QStringLiteral("ssconvert"),
        files.size() == 1 ? QStringList{files[0], merged} : QStringList{QStringLiteral("--merge-to=") + merged} + files, &err);
    if (messages)
        *messages = err;
    QString unused;
    const QByteArray xml = run(QStringLiteral("gzip"), {QStringLiteral("-dc"), merged}, &unused);
    std::vector<jet::Rows> sheets;
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement())
            continue;
        if (r.name() == QLatin1String("Sheet")) {
            sheets.emplace_back();
        } else if (r.name() == QLatin1String("Cell") && !sheets.empty()) {
            const int row = r.attributes().value(QLatin1String("Row")).toInt();
            const int col = r.attributes().value(QLatin1String("Col")).toInt();
            const int type = r.attributes().value(QLatin1String("ValueType")).toInt();
            const QString text = r.readElementText();
            dao::Variant v;
            if (type == 40 || type == 30)
                v = text.toDouble();
            else if (type == 20)
                v = text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
            else if (type == 60 && !text.isEmpty())  // gnumeric shows a blank dBASE text as an empty one
                v = text;
            jet::Rows& rows = sheets.back();
            if (size_t(row) >= rows.size())
                rows.resize(size_t(row) + 1);
            if (size_t(col) >= rows[size_t(row)].size())
                rows[size_t(row)].resize(size_t(col) + 1);
            rows[size_t(row)][size_t(col)] = v;
        }
    }
    EXPECT_EQ(sheets.size(), size_t(files.size())) << "ssconvert gave another number of sheets: " << err.toStdString();
    sheets.resize(size_t(files.size()));
    return sheets;
}

void sheetjsWrite(const std::vector<SheetJob>& jobs)
{
    QJsonArray all;
    for (const SheetJob& j : jobs) {
        QJsonArray rows;
        for (const auto& r : j.rows) {
            QJsonArray row;
            for (const dao::Variant& v : r) {
                switch (v.type()) {
                case dao::Variant::Type::Null: row.append(QJsonValue()); break;
                case dao::Variant::Type::Long:
                case dao::Variant::Type::Double: row.append(v.toDouble()); break;
                case dao::Variant::Type::Boolean: row.append(v.toBool()); break;
                default: row.append(v.toString());
                }
            }
            rows.append(row);
        }
        all.append(QJsonObject{{"file", j.file}, {"type", j.type}, {"rows", rows}, {"sheet", j.sheet}});
    }
    QString err;
    run(QStringLiteral("node"), {tool(QStringLiteral("sheetjs_write.js")), QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Compact))}, &err);
}

void runPython(const QString& script, const QStringList& args)
{
    QString err;
    run(python(), QStringList{QStringLiteral("-W"), QStringLiteral("ignore"), QStringLiteral("-c"), script} + args, &err);
}

}  // namespace oracle
