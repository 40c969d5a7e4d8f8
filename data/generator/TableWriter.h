#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace datagen {

// A value of a row: Null, whole number, double or text.
using Value = std::variant<std::monostate, std::int64_t, double, std::string>;

// Bulk insert of whole rows into one table over the C API (the caller holds the transaction).
// Values are placed by column name; unnamed columns stay Null.
class TableWriter {
public:
    TableWriter(sqlite3* db, const std::string& table);
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    class Row {
    public:
        Value& operator[](const std::string& column);
        const std::vector<Value>& values() const { return v; }

    private:
        friend class TableWriter;
        Row(const TableWriter* w, std::size_t n) : w(w), v(n) {}
        const TableWriter* w;
        std::vector<Value> v;
    };

    Row row() const { return Row(this, columns.size()); }
    void insert(const Row& row);
    void insert(const std::vector<Value>& values);  // all columns, in table order
    const std::vector<std::string>& columnNames() const { return columns; }
    std::size_t index(const std::string& column) const;  // throws std::runtime_error for an unknown name
    std::int64_t rows() const { return count; }

private:
    sqlite3* db;
    std::string table;
    sqlite3_stmt* stmt = nullptr;
    std::vector<std::string> columns;
    std::unordered_map<std::string, std::size_t> byName;
    std::int64_t count = 0;
};

// Runs a statement on the C API and throws std::runtime_error with SQLite's message on failure.
void exec(sqlite3* db, const std::string& sql);

}  // namespace datagen
