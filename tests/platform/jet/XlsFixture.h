#pragma once

#include "oracles.h"
#include "platform/dao/Variant.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

namespace dao {
// How a failed comparison shows a cell.
inline void PrintTo(const Variant& v, std::ostream* os)
{
    static const char* const kinds[] = {"Null", "Long", "Double", "Text", "Date", "Boolean"};
    *os << kinds[int(v.type())] << " " << v.toString().toStdString();
}
}  // namespace dao

// One table of cells that the outside writers put into workbooks: the sheet "fees" and a second sheet
// "Sheet1". The cells cover what users' fee sheets hold: codes as text ("00100") and as numbers, fees,
// formulas with a number, a text and a yes/no result, a date, texts with a comma and a quote, accents,
// empty cells inside a row.
struct TableCell {
    enum Kind { Text, Number, Bool, Formula, Date };
    int row, col;
    Kind kind;
    QString value;          // the text, the number, TRUE/FALSE, or the formula without "="
    dao::Variant expected;  // what the reader gives for it
};

inline const std::vector<TableCell>& feesTable()
{
    using K = TableCell::Kind;
    static const std::vector<TableCell> cells = {
        {0, 0, K::Text, "CPT", "CPT"},       {0, 2, K::Text, "FEE", "FEE"},       {0, 3, K::Text, "DOUBLE", "DOUBLE"},
        {0, 4, K::Text, "WHEN", "WHEN"},     {0, 5, K::Text, "DESC", "DESC"},     {0, 6, K::Text, "CALC", "CALC"},
        {1, 0, K::Text, "00100", "00100"},   {1, 2, K::Number, "12.5", 12.5},     {1, 3, K::Formula, "C2*2", 25.0},
        {1, 4, K::Date, "38047", 38047.0},   {1, 5, K::Text, "a, \"quoted\" text", "a, \"quoted\" text"},
        {1, 6, K::Formula, "\"ca\"&\"lc\"", "calc"},
        {2, 0, K::Number, "99213", 99213.0}, {2, 1, K::Text, "26", "26"},         {2, 2, K::Number, "0.1", 0.1},
        {2, 5, K::Text, "Café", "Café"},     {2, 6, K::Bool, "TRUE", true},
        {3, 2, K::Number, "-1250.75", -1250.75},  {3, 6, K::Formula, "C4>0", false},
    };
    return cells;
}

// The same table with the texts SheetJS can write (it turns characters outside ASCII into "_").
inline std::vector<TableCell> asciiTable()
{
    std::vector<TableCell> cells = feesTable();
    for (TableCell& c : cells)
        if (c.value == QStringLiteral("Café")) {
            c.value = "Cafe";
            c.expected = "Cafe";
        }
    return cells;
}

class XlsFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }

    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path(name);
    }

    static QByteArray readAll(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

public:
    // A BIFF record: id, size, data; little-endian fields.
    static QByteArray rec(quint16 id, const QByteArray& data)
    {
        QByteArray r;
        r.append(char(id & 0xFF)).append(char(id >> 8));
        r.append(char(data.size() & 0xFF)).append(char(data.size() >> 8));
        return r + data;
    }
    static QByteArray w16(quint16 v) { return QByteArray(1, char(v & 0xFF)) + char(v >> 8); }
    static QByteArray w32(quint32 v) { return w16(quint16(v)) + w16(quint16(v >> 16)); }
    static QByteArray f64(double v)
    {
        QByteArray b(8, 0);
        qToLittleEndian(v, b.data());
        return b;
    }

protected:

    // Runs a program in the test's folder; fails the test when it does not end well. Returns what it printed
    // on its error output.
    QByteArray run(const QString& program, const QStringList& args) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("NODE_PATH", KELVA_SOURCE_DIR "/tests/node_modules");
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(dir.path());
        p.start(program, args);
        const bool finished = p.waitForFinished(120000);
        const QByteArray err = p.readAllStandardError();
        EXPECT_TRUE(finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            << program.toStdString() << ": " << err.toStdString();
        return err;
    }

    // Runs a SheetJS script in the test's folder; `XLSX` is the library.
    void sheetjs(const QString& script) const
    {
        write("make.js", "const XLSX = require('xlsx');\n" + script.toUtf8());
        run("node", {path("make.js")});
    }

    // Runs ssconvert; fails on its complaints about the file.
    void ssconvert(const QStringList& args) const
    {
        const QByteArray err = run("ssconvert", args);
        EXPECT_FALSE(err.contains("corrupted") || err.contains("Invalid")) << err.toStdString();
    }

    // The table as SheetJS's array of cell objects, on the sheet given.
    static QString sheetjsSheet(const std::vector<TableCell>& cells)
    {
        QString js = "(() => { const ws = {};\n";
        int lastRow = 0, lastCol = 0;
        for (const TableCell& c : cells) {
            lastRow = std::max(lastRow, c.row);
            lastCol = std::max(lastCol, c.col);
            const QString ref = QStringLiteral("XLSX.utils.encode_cell({r:%1,c:%2})").arg(c.row).arg(c.col);
            QString value;
            switch (c.kind) {
            case TableCell::Text: value = QStringLiteral("{t:'s', v:%1}").arg(jsString(c.value)); break;
            case TableCell::Number: value = QStringLiteral("{t:'n', v:%1}").arg(c.value); break;
            case TableCell::Bool: value = QStringLiteral("{t:'b', v:%1}").arg(c.value.toLower()); break;
            case TableCell::Date: value = QStringLiteral("{t:'n', v:%1, z:'yyyy-mm-dd'}").arg(c.value); break;
            case TableCell::Formula:
                value = c.expected.type() == dao::Variant::Type::Text
                            ? QStringLiteral("{t:'s', v:%1, f:%2}").arg(jsString(c.expected.toString()), jsString(c.value))
                        : c.expected.type() == dao::Variant::Type::Boolean
                            ? QStringLiteral("{t:'b', v:%1, f:%2}").arg(c.expected.toBool() ? "true" : "false", jsString(c.value))
                            : QStringLiteral("{t:'n', v:%1, f:%2}").arg(c.expected.toString(), jsString(c.value));
                break;
            }
            js += QStringLiteral("ws[%1] = %2;\n").arg(ref, value);
        }
        js += QStringLiteral("ws['!ref'] = XLSX.utils.encode_range({s:{r:0,c:0}, e:{r:%1,c:%2}}); return ws; })()")
                  .arg(lastRow)
                  .arg(lastCol);
        return js;
    }

    // The table as a Gnumeric XML workbook: "Sheet1" first, "fees" second and active.
    static QByteArray gnumericWorkbook(const std::vector<TableCell>& cells)
    {
        QString xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<gnm:Workbook xmlns:gnm=\"http://www.gnumeric.org/v10.dtd\">\n"
                      "<gnm:SheetNameIndex><gnm:SheetName>Sheet1</gnm:SheetName><gnm:SheetName>fees</gnm:SheetName>"
                      "</gnm:SheetNameIndex>\n<gnm:Sheets>\n"
                      "<gnm:Sheet><gnm:Name>Sheet1</gnm:Name><gnm:MaxCol>-1</gnm:MaxCol><gnm:MaxRow>-1</gnm:MaxRow>"
                      "<gnm:Cells><gnm:Cell Row=\"0\" Col=\"0\" ValueType=\"60\">other</gnm:Cell></gnm:Cells></gnm:Sheet>\n"
                      "<gnm:Sheet><gnm:Name>fees</gnm:Name><gnm:MaxCol>-1</gnm:MaxCol><gnm:MaxRow>-1</gnm:MaxRow><gnm:Cells>\n";
        for (const TableCell& c : cells) {
            QString attrs = QStringLiteral("Row=\"%1\" Col=\"%2\"").arg(c.row).arg(c.col);
            QString value = c.value.toHtmlEscaped();
            switch (c.kind) {
            case TableCell::Text: attrs += " ValueType=\"60\""; break;
            case TableCell::Number: attrs += " ValueType=\"40\""; break;
            case TableCell::Bool: attrs += " ValueType=\"20\""; break;
            case TableCell::Date: attrs += " ValueType=\"40\" ValueFormat=\"yyyy-mm-dd\""; break;
            case TableCell::Formula: value = "=" + value; break;
            }
            xml += QStringLiteral("<gnm:Cell %1>%2</gnm:Cell>\n").arg(attrs, value);
        }
        xml += "</gnm:Cells></gnm:Sheet>\n</gnm:Sheets>\n<gnm:UIData SelectedTab=\"1\"/>\n</gnm:Workbook>\n";
        return xml.toUtf8();
    }

    static QString jsString(const QString& s)
    {
        QString out = s;
        out.replace("\\", "\\\\").replace("'", "\\'");
        return "'" + out + "'";
    }
};
