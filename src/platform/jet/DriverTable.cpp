#include "platform/jet/DriverTable.h"

#include "platform/jet/biff4.h"
#include "platform/jet/codepage.h"
#include "platform/jet/dbase.h"
#include "platform/jet/delimited.h"
#include "platform/jet/texttable.h"
#include "platform/jet/wk1.h"
#include "platform/jet/xlsread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <set>
#include <sqlite3.h>

namespace jet {

namespace {

enum class Kind { Any, Text, Number, Date, Logical };

struct Column {
    QString name;
    Kind kind = Kind::Any;
    int width = 0;  // of a text: the most characters; 0 for no limit
};

const char* const kTable = "DriverTable";

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void notFound(const QString& object)
{
    throw dao::Error(3011, QStringLiteral("Could not find the object '%1'. Make sure the object exists and that "
                                          "you spell its name and the path name correctly.")
                               .arg(object));
}

// The file name.ext in folder, matched without regard to case.
QString findInFolder(const QString& folder, const QString& name, const QString& ext)
{
    const QFileInfo dir(folder);
    if (folder.isEmpty() || !dir.isDir())
        throw dao::Error(3044, QStringLiteral("'%1' is not a valid path: the folder does not exist.").arg(nativePath(folder)));
    const QString wanted = name.endsWith(QLatin1Char('.') + ext, Qt::CaseInsensitive) ? name : name + QLatin1Char('.') + ext;
    const QDir d(dir.absoluteFilePath());
    if (d.exists(wanted) && QFileInfo(d.filePath(wanted)).isFile())
        return d.filePath(wanted);
    const QStringList files = d.entryList(QDir::Files | QDir::Hidden);
    for (const QString& f : files)
        if (f.compare(wanted, Qt::CaseInsensitive) == 0)
            return d.filePath(f);
    notFound(name);
}

QString withoutSuffix(QString source, const QString& suffix)
{
    source = source.trimmed();
    if (source.startsWith(QLatin1Char('[')) && source.endsWith(QLatin1Char(']')))
        source = source.mid(1, source.size() - 2);
    if (source.endsWith(suffix, Qt::CaseInsensitive))
        source.chop(suffix.size());
    return source;
}

dao::Variant valueOf(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return dao::Variant(qint64(sqlite3_value_int64(v)));
    case SQLITE_FLOAT: return dao::Variant(sqlite3_value_double(v));
    case SQLITE_NULL: return {};
    default:
        return dao::Variant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                                              sqlite3_value_bytes(v)));
    }
}

void exec(sqlite3* db, const QString& sql)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : "");
        sqlite3_free(err);
        throw dao::Error(3274, msg);
    }
}

}  // namespace

struct DriverTable::State {
    Driver driver = Driver::None;
    QString path;        // the file
    QString object;      // the table as the record source names it
    dao::Database db;
    std::vector<Column> columns;
    int codepage = 1252;

    QByteArray original;  // a sheet's bytes as read
    bool writable = true;
    QString readOnlyReason;
    DbfTable dbf;         // a dBASE table's layout and record numbers (rows emptied once loaded)

    qint64 loaded = 0;    // rows read from the file: rowids 1..loaded
    qint64 count = 0;     // rows now
    qint64 maxRows = 0;   // data rows the file can hold; 0 for no limit
    std::set<qint64> changed;  // rowids of rows read from the file and changed since
    std::set<qint64> deleted;  // ... and deleted
    bool dirty = false;
    bool closed = false;

    QString problem(int col, const dao::Variant& v) const;
    void load(const Rows& rows);
    RowSource rowsAfter(qint64 rowid, std::vector<qint64>* ids = nullptr) const;
    Rows allRows(std::vector<qint64>* ids = nullptr) const;
    void write();
};

namespace {

// kelva_driver_check(v1, ..., vN): fails the statement when the file cannot hold a value of the row.
void checkFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    auto* s = static_cast<DriverTable::State*>(sqlite3_user_data(ctx));
    if (!s->writable) {
        const QByteArray msg = s->readOnlyReason.toUtf8();
        sqlite3_result_error(ctx, msg.constData(), int(msg.size()));
        return;
    }
    for (int i = 0; i < argc && i < int(s->columns.size()); ++i) {
        const QString problem = s->problem(i, valueOf(argv[i]));
        if (!problem.isEmpty()) {
            const QByteArray msg = problem.toUtf8();
            sqlite3_result_error(ctx, msg.constData(), int(msg.size()));
            return;
        }
    }
    sqlite3_result_null(ctx);
}

// kelva_driver_event(kind, rowid): 0 before an insert (the row limit), 1 after it, 2 after an update,
// 3 after a delete.
void eventFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    auto* s = static_cast<DriverTable::State*>(sqlite3_user_data(ctx));
    const int kind = sqlite3_value_int(argv[0]);
    const qint64 rowid = sqlite3_value_int64(argv[1]);
    switch (kind) {
    case 0:
        if (s->maxRows > 0 && s->count + 1 > s->maxRows) {
            const QByteArray msg = QStringLiteral("'%1' holds at most %2 records: no more can be added.")
                                       .arg(nativePath(s->path)).arg(s->maxRows).toUtf8();
            sqlite3_result_error(ctx, msg.constData(), int(msg.size()));
            return;
        }
        break;
    case 1:
        ++s->count;
        s->dirty = true;
        break;
    case 2:
        if (rowid <= s->loaded)
            s->changed.insert(rowid);
        s->dirty = true;
        break;
    case 3:
        --s->count;
        if (rowid <= s->loaded) {
            s->deleted.insert(rowid);
            s->changed.erase(rowid);
        }
        s->dirty = true;
        break;
    default:
        break;
    }
    sqlite3_result_null(ctx);
}

}  // namespace

QString DriverTable::State::problem(int col, const dao::Variant& v) const
{
    if (v.isNull())
        return {};
    const Column& c = columns[size_t(col)];
    switch (driver) {
    case Driver::Excel:
        // A single-byte code page gives at most a byte a character: only a long text needs encoding.
        if (v.type() == dao::Variant::Type::Text && (v.toString().size() > kBiff4MaxLabelBytes || codepage == 65001 || codepage == 1200)) {
            const qsizetype n = encode(v.toString(), codepage).size();
            if (n > kBiff4MaxLabelBytes)
                return QStringLiteral("The text for the field '%1' is %2 bytes long; a worksheet cell holds at most %3.")
                    .arg(c.name).arg(n).arg(kBiff4MaxLabelBytes);
        }
        return {};
    case Driver::Lotus:
        if (v.type() == dao::Variant::Type::Text && v.toString().size() > kWk1MaxLabel)
            return QStringLiteral("The text for the field '%1' is %2 characters long; a WK1 cell holds at most %3.")
                .arg(c.name).arg(v.toString().size()).arg(kWk1MaxLabel);
        return {};
    case Driver::DBase: {
        const QString why = dbfValueProblem(dbf.fields[size_t(col)], v, codepage);
        return why.isEmpty() ? why : QStringLiteral("The record cannot be written to '%1': %2.").arg(nativePath(path), why);
    }
    default:
        return {};
    }
}

void DriverTable::State::load(const Rows& rows)
{
    sqlite3* h = db.handle();
    QStringList defs;
    QStringList news;
    for (const Column& c : columns) {
        QString type;
        switch (c.kind) {
        case Kind::Any: break;
        case Kind::Text: type = c.width > 0 ? QStringLiteral(" TEXT(%1) COLLATE NOCASE").arg(c.width) : QStringLiteral(" TEXT COLLATE NOCASE"); break;
        case Kind::Number: type = QStringLiteral(" REAL"); break;
        case Kind::Date: type = QStringLiteral(" DATETEXT"); break;
        case Kind::Logical: type = QStringLiteral(" YESNO"); break;
        }
        defs << dao::quoteIdentifier(c.name) + type;
        news << QStringLiteral("NEW.") + dao::quoteIdentifier(c.name);
    }
    exec(h, QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(kTable), defs.join(QStringLiteral(", "))));

    exec(h, QStringLiteral("BEGIN"));
    sqlite3_stmt* st = nullptr;
    const QByteArray insert = QStringLiteral("INSERT INTO %1 VALUES (%2)")
                                  .arg(QLatin1String(kTable), QStringList(int(columns.size()), QStringLiteral("?")).join(QLatin1Char(',')))
                                  .toUtf8();
    if (sqlite3_prepare_v2(h, insert.constData(), -1, &st, nullptr) != SQLITE_OK)
        throw dao::Error(3274, QString::fromUtf8(sqlite3_errmsg(h)));
    for (const auto& row : rows) {
        sqlite3_reset(st);
        for (int i = 0; i < int(columns.size()); ++i) {
            const dao::Variant v = size_t(i) < row.size() ? row[size_t(i)] : dao::Variant();
            switch (v.type()) {
            case dao::Variant::Type::Null: sqlite3_bind_null(st, i + 1); break;
            case dao::Variant::Type::Long:
            case dao::Variant::Type::Boolean: sqlite3_bind_int64(st, i + 1, v.toLongLong()); break;
            case dao::Variant::Type::Double: sqlite3_bind_double(st, i + 1, v.toDouble()); break;
            case dao::Variant::Type::Date: {
                const QByteArray t = v.toDateTime().date().toString(Qt::ISODate).toUtf8();
                sqlite3_bind_text(st, i + 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray t = v.toString().toUtf8();
                sqlite3_bind_text(st, i + 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            }
            }
        }
        if (sqlite3_step(st) != SQLITE_DONE) {
            const QString msg = QString::fromUtf8(sqlite3_errmsg(h));
            sqlite3_finalize(st);
            throw dao::Error(3274, msg);
        }
    }
    sqlite3_finalize(st);
    exec(h, QStringLiteral("COMMIT"));
    loaded = count = qint64(rows.size());

    const int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS;
    sqlite3_create_function_v2(h, "kelva_driver_check", -1, flags, this, checkFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(h, "kelva_driver_event", 2, flags, this, eventFunction, nullptr, nullptr, nullptr);
    const QString t = QLatin1String(kTable);
    const QString all = news.join(QStringLiteral(", "));
    exec(h, QStringLiteral("CREATE TEMP TRIGGER driver_bi BEFORE INSERT ON main.%1 BEGIN SELECT kelva_driver_check(%2); "
                           "SELECT kelva_driver_event(0, 0); END").arg(t, all));
    exec(h, QStringLiteral("CREATE TEMP TRIGGER driver_bu BEFORE UPDATE ON main.%1 BEGIN SELECT kelva_driver_check(%2); END").arg(t, all));
    exec(h, QStringLiteral("CREATE TEMP TRIGGER driver_bd BEFORE DELETE ON main.%1 BEGIN SELECT kelva_driver_check(); END").arg(t));
    exec(h, QStringLiteral("CREATE TEMP TRIGGER driver_ai AFTER INSERT ON main.%1 BEGIN SELECT kelva_driver_event(1, NEW.rowid); END").arg(t));
    exec(h, QStringLiteral("CREATE TEMP TRIGGER driver_au AFTER UPDATE ON main.%1 BEGIN SELECT kelva_driver_event(2, OLD.rowid); END").arg(t));
    exec(h, QStringLiteral("CREATE TEMP TRIGGER driver_ad AFTER DELETE ON main.%1 BEGIN SELECT kelva_driver_event(3, OLD.rowid); END").arg(t));
}

RowSource DriverTable::State::rowsAfter(qint64 rowid, std::vector<qint64>* ids) const
{
    sqlite3* h = db.handle();
    sqlite3_stmt* raw = nullptr;
    const QByteArray sql = QStringLiteral("SELECT rowid, * FROM %1 WHERE rowid > ? ORDER BY rowid").arg(QLatin1String(kTable)).toUtf8();
    if (sqlite3_prepare_v2(h, sql.constData(), -1, &raw, nullptr) != SQLITE_OK)
        throw dao::Error(3051, QString::fromUtf8(sqlite3_errmsg(h)));
    std::shared_ptr<sqlite3_stmt> st(raw, sqlite3_finalize);
    sqlite3_bind_int64(raw, 1, rowid);
    return [this, st, ids](std::vector<dao::Variant>& row) {
        if (sqlite3_step(st.get()) != SQLITE_ROW)
            return false;
        if (ids)
            ids->push_back(sqlite3_column_int64(st.get(), 0));
        const int n = int(columns.size());
        row.resize(size_t(n));
        for (int i = 0; i < n; ++i) {
            dao::Variant v = valueOf(sqlite3_column_value(st.get(), i + 1));
            if (!v.isNull() && columns[size_t(i)].kind == Kind::Date)
                v = dao::Variant::dateFromText(v.toString());
            else if (!v.isNull() && columns[size_t(i)].kind == Kind::Logical)
                v = dao::Variant(v.toDouble() != 0);
            row[size_t(i)] = std::move(v);
        }
        return true;
    };
}

Rows DriverTable::State::allRows(std::vector<qint64>* ids) const
{
    Rows rows;
    const RowSource next = rowsAfter(0, ids);
    std::vector<dao::Variant> row;
    while (next(row))
        rows.push_back(std::move(row));
    return rows;
}

void DriverTable::State::write()
{
    const bool appendOnly = changed.empty() && deleted.empty();
    switch (driver) {
    case Driver::Excel:
    case Driver::Lotus: {
        const RowSource rows = rowsAfter(appendOnly ? loaded : 0);
        const int first = appendOnly ? int(loaded) + 1 : 1;
        const QByteArray bytes = driver == Driver::Excel ? biff4WithRows(original, first, rows, !appendOnly, path)
                                                         : wk1WithRows(original, first, rows, !appendOnly, path);
        writeFileWhole(path, bytes);
        original = bytes;
        break;
    }
    case Driver::DBase: {
        std::vector<qint64> ids;
        Rows rows = allRows(&ids);
        std::vector<DbfWrite> writes;
        writes.reserve(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            if (ids[i] > loaded)
                writes.push_back({-1, std::move(rows[i])});
            else if (changed.count(ids[i]))
                writes.push_back({dbf.recordIndex[size_t(ids[i] - 1)], std::move(rows[i])});
        }
        std::vector<int> gone;
        for (qint64 id : deleted)
            gone.push_back(dbf.recordIndex[size_t(id - 1)]);
        writeDbf(path, dbf, writes, gone);
        break;
    }
    case Driver::Text: {
        QStringList names;
        for (const Column& c : columns)
            names << c.name;
        writeFileWhole(path, textTableBytes(names, allRows()));
        break;
    }
    case Driver::None:
        break;
    }
}

Driver driverOf(const QString& connect)
{
    const QString name = connect.section(QLatin1Char(';'), 0, 0).trimmed();
    if (name.compare(QLatin1String("Excel 4.0"), Qt::CaseInsensitive) == 0)
        return Driver::Excel;
    if (name.compare(QLatin1String("Lotus WK1"), Qt::CaseInsensitive) == 0)
        return Driver::Lotus;
    if (name.compare(QLatin1String("dBASE III"), Qt::CaseInsensitive) == 0)
        return Driver::DBase;
    if (name.compare(QLatin1String("Text"), Qt::CaseInsensitive) == 0)
        return Driver::Text;
    return Driver::None;
}

std::unique_ptr<DriverTable> DriverTable::open(Driver driver, const QString& databaseName, const QString& recordSource)
{
    auto s = std::make_unique<State>();
    s->driver = driver;
    s->object = recordSource;
    Rows rows;
    auto requireFile = [&] {
        const QFileInfo fi(databaseName);
        if (databaseName.isEmpty() || !fi.isFile())
            throw dao::Error(dao::errFileNotFound, QStringLiteral("Could not find file '%1'.").arg(nativePath(databaseName)));
        s->path = fi.absoluteFilePath();
        QFile f(s->path);
        if (!f.open(QIODevice::ReadOnly))
            throwUnreadable(s->path, f.errorString());
        return f.readAll();
    };
    auto sheetColumns = [&](Rows& cells, int width) {
        const QStringList names = headerNames(cells.empty() ? std::vector<dao::Variant>() : cells[0], std::max(width, 1));
        for (const QString& n : names)
            s->columns.push_back({n, Kind::Any, 0});
        if (!cells.empty())
            cells.erase(cells.begin());
        rows = std::move(cells);
    };

    switch (driver) {
    case Driver::Excel: {
        s->original = requireFile();
        const QString name = withoutSuffix(recordSource, QStringLiteral("$"));
        Workbook wb = readWorkbookBytes(s->original, s->path);
        const bool workbook = s->original.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
        Sheet* sheet = nullptr;
        if (!workbook && !wb.sheets.empty()) {
            sheet = &wb.sheets[0];
        } else {
            for (Sheet& sh : wb.sheets)
                if (sh.name.compare(name, Qt::CaseInsensitive) == 0)
                    sheet = &sh;
        }
        if (!sheet)
            notFound(recordSource);
        s->codepage = wb.codepage;
        s->writable = isBiff4(s->original);
        s->readOnlyReason = QStringLiteral("'%1' is not an Excel 4.0 worksheet: it can be read, not written.").arg(nativePath(s->path));
        s->maxRows = kBiff4MaxRows - 1;
        sheetColumns(sheet->rows, sheet->columns);
        break;
    }
    case Driver::Lotus: {
        s->original = requireFile();
        s->codepage = 437;
        Rows cells = readWk1(s->original, s->path);
        s->maxRows = kWk1MaxRows - 1;
        const int width = cells.empty() ? 0 : int(cells[0].size());
        sheetColumns(cells, width);
        break;
    }
    case Driver::DBase: {
        s->path = findInFolder(databaseName, recordSource.trimmed(), QStringLiteral("dbf"));
        s->dbf = readDbf(s->path);
        s->codepage = s->dbf.codepage;
        for (const DbfField& f : s->dbf.fields) {
            switch (f.type) {
            case 'N': case 'F': s->columns.push_back({f.name, Kind::Number, 0}); break;
            case 'D': s->columns.push_back({f.name, Kind::Date, 0}); break;
            case 'L': s->columns.push_back({f.name, Kind::Logical, 0}); break;
            case 'C': s->columns.push_back({f.name, Kind::Text, f.width}); break;
            default: s->columns.push_back({f.name, Kind::Text, 0});
            }
        }
        if (s->columns.empty())
            throwUnreadable(s->path, QStringLiteral("the table has no fields"));
        rows = std::move(s->dbf.rows);
        s->dbf.rows.clear();
        break;
    }
    case Driver::Text: {
        s->path = findInFolder(databaseName, withoutSuffix(recordSource, QStringLiteral("#csv")), QStringLiteral("csv"));
        TextTable t = readTextTable(s->path);
        if (t.names.isEmpty())
            t.names << QStringLiteral("F1");
        for (int i = 0; i < t.names.size(); ++i)
            s->columns.push_back({t.names[i], size_t(i) < t.numeric.size() && t.numeric[size_t(i)] ? Kind::Number : Kind::Text, 0});
        rows = std::move(t.rows);
        break;
    }
    case Driver::None:
        throw dao::Error(3170, QStringLiteral("Could not find installable ISAM."));
    }

    s->db = dao::CreateDatabase(QStringLiteral(":memory:"));
    s->load(rows);
    return std::unique_ptr<DriverTable>(new DriverTable(std::move(s)));
}

DriverTable::DriverTable(std::unique_ptr<State> st) : s(std::move(st)) {}

DriverTable::~DriverTable()
{
    if (s && !s->closed) {
        try {
            close();
        } catch (const dao::Error& e) {
            qWarning("%s", e.what());
        }
    }
}

dao::Database& DriverTable::database()
{
    return s->db;
}

QString DriverTable::tableName() const
{
    return QLatin1String(kTable);
}

QString DriverTable::filePath() const
{
    return s->path;
}

void DriverTable::close()
{
    if (s->closed)
        return;
    s->closed = true;  // a failed write is not tried again
    if (s->dirty)
        s->write();
}

}  // namespace jet
