#include "TableWriter.h"

#include <sqlite3.h>

#include <stdexcept>

namespace datagen {

namespace {

void check(sqlite3* db, int rc, const std::string& what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(what + ": " + sqlite3_errmsg(db));
}

}  // namespace

void exec(sqlite3* db, const std::string& sql)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string msg = err ? err : "unknown error";
        sqlite3_free(err);
        throw std::runtime_error(sql.substr(0, 60) + ": " + msg);
    }
}

TableWriter::TableWriter(sqlite3* db, const std::string& table) : db(db), table(table)
{
    sqlite3_stmt* info = nullptr;
    check(db, sqlite3_prepare_v2(db, ("PRAGMA table_info(\"" + table + "\")").c_str(), -1, &info, nullptr), table);
    while (sqlite3_step(info) == SQLITE_ROW) {
        const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(info, 1));
        byName.emplace(name, columns.size());
        columns.push_back(name);
    }
    sqlite3_finalize(info);
    if (columns.empty())
        throw std::runtime_error("no table " + table);
    std::string sql = "INSERT INTO \"" + table + "\" VALUES (";
    for (std::size_t i = 0; i < columns.size(); ++i)
        sql += i ? ", ?" : "?";
    sql += ")";
    check(db, sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), table);
}

TableWriter::~TableWriter()
{
    sqlite3_finalize(stmt);
}

std::size_t TableWriter::index(const std::string& column) const
{
    const auto it = byName.find(column);
    if (it == byName.end())
        throw std::runtime_error("no column " + column + " in " + table);
    return it->second;
}

Value& TableWriter::Row::operator[](const std::string& column)
{
    return v[w->index(column)];
}

void TableWriter::insert(const Row& row)
{
    insert(row.values());
}

void TableWriter::insert(const std::vector<Value>& values)
{
    if (values.size() != columns.size())
        throw std::runtime_error("wrong number of values for " + table);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int p = int(i) + 1;
        const Value& v = values[i];
        if (const auto* n = std::get_if<std::int64_t>(&v))
            sqlite3_bind_int64(stmt, p, *n);
        else if (const auto* d = std::get_if<double>(&v))
            sqlite3_bind_double(stmt, p, *d);
        else if (const auto* s = std::get_if<std::string>(&v))
            sqlite3_bind_text(stmt, p, s->c_str(), int(s->size()), SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(stmt, p);
    }
    check(db, sqlite3_step(stmt), "insert into " + table);
    sqlite3_reset(stmt);
    ++count;
}

}  // namespace datagen
