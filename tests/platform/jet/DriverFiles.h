#pragma once

#include "platform/controls/DataControl.h"
#include "platform/jet/sheetfile.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Opening, filling and reading driver tables through a data control, as the windows do.
namespace drivers {

// Writes a hand-made or tool-made file for a test to read.
inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A test with a folder of its own for the files it writes.
class FolderTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
};


struct Table {
    QStringList names;
    jet::Rows rows;
};

inline void release(platform::DataControl& dc)
{
    dc.setConnect(QString());
    dc.setDatabaseName(QString());
    dc.setRecordSource(QString());
    dc.Refresh();
}

inline void open(platform::DataControl& dc, const QString& connect, const QString& database, const QString& source)
{
    dc.setConnect(connect);
    dc.setDatabaseName(database);
    dc.setRecordSource(source);
    dc.Refresh();
}

// Adds the rows by field name, then releases the data control.
inline void append(const QString& connect, const QString& database, const QString& source, const Table& t)
{
    platform::DataControl dc;
    open(dc, connect, database, source);
    auto& rs = dc.Recordset();
    for (const auto& row : t.rows) {
        rs.AddNew();
        for (int i = 0; i < t.names.size(); ++i)
            rs[t.names[i]] = row[size_t(i)];
        rs.Update();
    }
    release(dc);
}

// Every field of every record, read once, forward, by name.
inline Table read(const QString& connect, const QString& database, const QString& source)
{
    platform::DataControl dc;
    open(dc, connect, database, source);
    auto& rs = dc.Recordset();
    Table t;
    for (int i = 0; i < rs.FieldCount(); ++i)
        t.names << rs.Fields(i).Name();
    while (!rs.EOF()) {
        std::vector<dao::Variant> row;
        for (const QString& n : t.names)
            row.push_back(rs[n].Value());
        t.rows.push_back(std::move(row));
        rs.MoveNext();
    }
    release(dc);
    return t;
}

// Compares cells: same kind (number, text, boolean, Null) and value.
inline ::testing::AssertionResult sameCells(const jet::Rows& expected, const jet::Rows& actual)
{
    const size_t n = std::max(expected.size(), actual.size());
    for (size_t r = 0; r < n; ++r) {
        const size_t w = std::max(r < expected.size() ? expected[r].size() : 0, r < actual.size() ? actual[r].size() : 0);
        for (size_t c = 0; c < w; ++c) {
            const dao::Variant e = r < expected.size() && c < expected[r].size() ? expected[r][c] : dao::Variant();
            const dao::Variant a = r < actual.size() && c < actual[r].size() ? actual[r][c] : dao::Variant();
            const bool eNum = e.type() == dao::Variant::Type::Double || e.type() == dao::Variant::Type::Long;
            const bool aNum = a.type() == dao::Variant::Type::Double || a.type() == dao::Variant::Type::Long;
            const bool same = eNum ? aNum && e.toDouble() == a.toDouble()
                                   : e.type() == a.type() && e.toString() == a.toString();
            if (!same)
                return ::testing::AssertionFailure()
                       << "row " << r << ", column " << c << ": expected " << int(e.type()) << " '"
                       << e.toString().toStdString() << "', got " << int(a.type()) << " '" << a.toString().toStdString() << "'";
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace drivers
