#include "Database.h"

#include "Connection.h"
#include "RecordsetData.h"
#include "jetfunctions.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QRegularExpression>

#include <atomic>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>

namespace dao {

namespace {

std::atomic<qint64> gStatements{0};
std::mutex gRegistryMutex;
std::map<QString, std::weak_ptr<Connection>> gRegistry;

const char* kMetaTable = "kelva_dao_meta";
constexpr int kCacheLimit = 64;

QByteArray passwordHash(const QString& password)
{
    return QCryptographicHash::hash(("kelva-dao:" + password).toUtf8(), QCryptographicHash::Sha256).toHex();
}

// The layer's own statements (transactions, column rules, bookkeeping): not counted.
void exec(sqlite3* db, const char* sql)
{
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw sqliteError(db, sqlite3_extended_errcode(db));
}

// The table name a statement names through `re`, in any of SQLite's quotings (captures 1 to 4).
bool capturedTableName(const QRegularExpression& re, const QString& sql, QString* name)
{
    const auto m = re.match(sql);
    if (!m.hasMatch())
        return false;
    for (int i = 1; i <= 4; ++i)
        if (m.capturedLength(i) > 0) {
            *name = m.captured(i);
            if (i == 2)
                name->replace(QLatin1String("\"\""), QLatin1String("\""));
            return true;
        }
    return false;
}

// Whether the statement text begins with this word (after white space): a cheap test before the
// expressions below, which every Execute would otherwise run.
bool startsWithWord(const QString& sql, QLatin1StringView word)
{
    qsizetype i = 0;
    while (i < sql.size() && sql[i].isSpace())
        ++i;
    const qsizetype end = i + word.size();
    return end < sql.size() && sql[end].isSpace() &&
           QStringView(sql).mid(i, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

bool isCreateTable(const QString& sql, QString* name)
{
    if (!startsWithWord(sql, QLatin1StringView("CREATE")))
        return false;
    static const QRegularExpression re(
        QStringLiteral(R"re(^\s*CREATE\s+TABLE\s+(?:IF\s+NOT\s+EXISTS\s+)?(?:\[([^\]]+)\]|"((?:[^"]|"")+)"|`([^`]+)`|([^\s(]+)))re"),
        QRegularExpression::CaseInsensitiveOption);
    return capturedTableName(re, sql, name);
}

bool isRenameTable(const QString& sql, QString* name)
{
    if (!startsWithWord(sql, QLatin1StringView("ALTER")))
        return false;
    static const QRegularExpression re(
        QStringLiteral(R"re(^\s*ALTER\s+TABLE\s+.*\sRENAME\s+TO\s+(?:\[([^\]]+)\]|"((?:[^"]|"")+)"|`([^`]+)`|([^\s;]+)))re"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return capturedTableName(re, sql, name);
}

// ALTER TABLE ... ADD or DROP a column: the table's column rules are made again around it.
bool isAlterColumns(const QString& sql, QString* name)
{
    if (!startsWithWord(sql, QLatin1StringView("ALTER")))
        return false;
    static const QRegularExpression re(
        QStringLiteral(R"re(^\s*ALTER\s+TABLE\s+(?:\[([^\]]+)\]|"((?:[^"]|"")+)"|`([^`]+)`|([^\s;]+))\s+(?:ADD|DROP)\b)re"),
        QRegularExpression::CaseInsensitiveOption);
    return capturedTableName(re, sql, name);
}

}  // namespace

QString quoteIdentifier(const QString& name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

void noteStatement()
{
    ++gStatements;
}

qint64 statementCount()
{
    return gStatements.load();
}

Error sqliteError(sqlite3* db, int rc)
{
    const QString msg = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    const int primary = rc & 0xff;
    if (msg == QLatin1String(kConversionText))
        return Error(errConversion, msg);
    if (msg == QLatin1String(kFieldTooSmallText))
        return Error(errFieldTooSmall, msg);
    if (msg == QLatin1String(kOverflowText))
        return Error(errOverflow, msg);
    if (primary == SQLITE_FULL)
        return Error(errDiskFull, QStringLiteral("Not enough space on disk."));
    if (primary == SQLITE_READONLY)
        return Error(errNotUpdatable, QStringLiteral("Cannot update. Database or object is read-only."));
    if (primary == SQLITE_IOERR)
        return Error(errDiskIo, QStringLiteral("Disk or network error."));
    if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
        return Error(3022, msg);
    if (primary == SQLITE_NOTADB)
        return Error(3343, QStringLiteral("Unrecognized database format."));
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        return Error(3260, msg);
    if (msg.startsWith(QLatin1String("no such table")))
        return Error(3078, msg);
    if (msg.startsWith(QLatin1String("table ")) && msg.endsWith(QLatin1String("already exists")))
        return Error(3010, msg);
    return Error(rc, msg);
}

Connection::~Connection()
{
    for (sqlite3_stmt* s : std::as_const(cache))
        sqlite3_finalize(s);
    if (db)
        sqlite3_close_v2(db);
}

quint64 Connection::watch(const QString& table)
{
    const QByteArray name = table.toUtf8();
    for (const TableWatch& w : watches)
        if (sqlite3_stricmp(w.table.constData(), name.constData()) == 0)
            return events;
    TableWatch w;
    w.table = name;
    Stmt st(*this, QStringLiteral("SELECT max(rowid) FROM %1").arg(quoteIdentifier(table)));
    st.quiet();
    if (st.step())
        w.highest = sqlite3_column_int64(st.get(), 0);
    watches.push_back(std::move(w));
    return events;
}

bool Connection::reusedSince(const QString& table, qint64 rowid, quint64 since) const
{
    const QByteArray name = table.toUtf8();
    for (const TableWatch& w : watches) {
        if (sqlite3_stricmp(w.table.constData(), name.constData()) != 0)
            continue;
        if (since < w.since)
            return true;
        for (auto it = w.reused.rbegin(); it != w.reused.rend() && it->first > since; ++it)
            if (it->second == rowid)
                return true;
    }
    return false;
}

void Connection::inserted(const char* table, qint64 rowid)
{
    for (TableWatch& w : watches) {
        if (sqlite3_stricmp(w.table.constData(), table) != 0)
            continue;
        if (rowid > w.highest) {
            w.highest = rowid;
        } else {
            ++events;
            if (w.reused.size() >= 4096) {  // a table refilled: every reader from before is stale
                w.reused.clear();
                w.since = events;
            }
            w.reused.emplace_back(events, rowid);
        }
    }
}

void Connection::fail(int rc) const
{
    throw sqliteError(db, rc);
}

Stmt::Stmt(Connection& conn, const QString& sql, bool* several) : c(conn)
{
    auto it = c.cache.find(sql);
    if (it != c.cache.end() && !c.busy.value(it.value())) {
        s = it.value();
        cached = true;
        c.busy[s] = true;
        return;
    }
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v3(c.db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &s, &tail);
    if (rc != SQLITE_OK)
        c.fail(rc);
    if (several) {
        const QByteArray rest = QByteArray(tail).trimmed();
        if (!rest.isEmpty() && rest != ";") {
            sqlite3_finalize(s);
            s = nullptr;
            *several = true;
            return;
        }
    }
    if (s && it == c.cache.end()) {
        if (c.cache.size() >= kCacheLimit) {
            for (auto i = c.cache.begin(); i != c.cache.end();) {
                if (c.busy.value(i.value())) {
                    ++i;
                } else {
                    c.busy.remove(i.value());
                    sqlite3_finalize(i.value());
                    i = c.cache.erase(i);
                }
            }
        }
        c.cache.insert(sql, s);
        cached = true;
        c.busy[s] = true;
    }
}

Stmt::Stmt(Connection& conn, const QByteArray& utf8, const char** tail) : c(conn)
{
    const char* start = *tail ? *tail : utf8.constData();
    const int len = int(utf8.constData() + utf8.size() - start);
    const int rc = sqlite3_prepare_v2(c.db, start, len, &s, tail);
    if (rc != SQLITE_OK)
        c.fail(rc);
}

Stmt::~Stmt()
{
    if (!s)
        return;
    if (cached) {
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
        c.busy[s] = false;
    } else {
        sqlite3_finalize(s);
    }
}

void Stmt::bind(int index, const Variant& v)
{
    int rc = SQLITE_OK;
    switch (v.type()) {
    case Variant::Type::Null:
        rc = sqlite3_bind_null(s, index);
        break;
    case Variant::Type::Long:
    case Variant::Type::Boolean:
        rc = sqlite3_bind_int64(s, index, v.toLongLong());
        break;
    case Variant::Type::Double:
        // SQLite would store NaN as Null and Inf as a number no field can show: neither is a value.
        if (!std::isfinite(v.toDouble()))
            throw Error(errOverflow, QString::fromLatin1(kOverflowText));
        rc = sqlite3_bind_double(s, index, v.toDouble());
        break;
    case Variant::Type::Text:
    case Variant::Type::Date: {
        const QByteArray b = v.toString().toUtf8();
        rc = sqlite3_bind_text(s, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        break;
    }
    }
    if (rc != SQLITE_OK)
        c.fail(rc);
}

std::size_t Stmt::bindAll(const std::vector<Variant>& params, std::size_t first)
{
    const int n = sqlite3_bind_parameter_count(s);
    std::size_t used = 0;
    for (int i = 1; i <= n && first + used < params.size(); ++i, ++used)
        bind(i, params[first + used]);
    return used;
}

void Stmt::countRun()
{
    if (!counted) {
        noteStatement();
        counted = true;
    }
}

bool Stmt::step()
{
    countRun();
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const Error e = sqliteError(c.db, sqlite3_extended_errcode(c.db));
    sqlite3_reset(s);
    throw e;
}

Variant columnVariant(sqlite3_stmt* s, int col)
{
    switch (sqlite3_column_type(s, col)) {
    case SQLITE_INTEGER:
        return Variant(qint64(sqlite3_column_int64(s, col)));
    case SQLITE_FLOAT:
        return Variant(sqlite3_column_double(s, col));
    case SQLITE_NULL:
        return {};
    default: {
        const char* t = reinterpret_cast<const char*>(sqlite3_column_text(s, col));
        return Variant(QString::fromUtf8(t, sqlite3_column_bytes(s, col)));
    }
    }
}

namespace {

QString translated(const QString& sql)
{
    static const QRegularExpression dateLit(
        QStringLiteral(R"(#\s*(\d{1,2})/(\d{1,2})/(\d{2,4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?\s*([AaPp][Mm])?)?\s*#)"));
    static const QRegularExpression isoLit(QStringLiteral(R"(#\s*(\d{4})-(\d{1,2})-(\d{1,2})\s*#)"));
    QString out;
    out.reserve(sql.size());
    const int n = sql.size();
    int i = 0;
    QChar prevSignificant;
    while (i < n) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('[')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            int j = i + 1;
            while (j < n) {
                if (sql[j] == close) {
                    if (close != QLatin1Char(']') && j + 1 < n && sql[j + 1] == close) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += QStringView(sql).mid(i, std::min(j + 1, n) - i);
            i = j + 1;
            prevSignificant = close;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            int j = sql.indexOf(QLatin1Char('\n'), i);
            if (j < 0)
                j = n;
            out += QStringView(sql).mid(i, j - i);
            i = j;
            continue;
        }
        if (c == QLatin1Char('#')) {
            auto m = dateLit.match(sql, i, QRegularExpression::NormalMatch,
                                   QRegularExpression::AnchorAtOffsetMatchOption);
            if (m.hasMatch()) {
                int year = m.captured(3).toInt();
                if (m.capturedLength(3) == 2)
                    year += year < 30 ? 2000 : 1900;
                QString lit = QStringLiteral("%1-%2-%3")
                                  .arg(year, 4, 10, QLatin1Char('0'))
                                  .arg(m.captured(1).toInt(), 2, 10, QLatin1Char('0'))
                                  .arg(m.captured(2).toInt(), 2, 10, QLatin1Char('0'));
                if (m.capturedLength(4) > 0) {
                    int hour = m.captured(4).toInt();
                    const QString ampm = m.captured(7).toUpper();
                    if (ampm == QLatin1String("PM") && hour < 12)
                        hour += 12;
                    if (ampm == QLatin1String("AM") && hour == 12)
                        hour = 0;
                    lit += QStringLiteral(" %1:%2:%3")
                               .arg(hour, 2, 10, QLatin1Char('0'))
                               .arg(m.captured(5))
                               .arg(m.capturedLength(6) ? m.captured(6) : QStringLiteral("00"));
                }
                out += QLatin1Char('\'') + lit + QLatin1Char('\'');
                i += m.capturedLength(0);
                prevSignificant = QLatin1Char('\'');
                continue;
            }
            m = isoLit.match(sql, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
            if (m.hasMatch()) {
                out += QStringLiteral("'%1-%2-%3'")
                           .arg(m.captured(1))
                           .arg(m.captured(2).toInt(), 2, 10, QLatin1Char('0'))
                           .arg(m.captured(3).toInt(), 2, 10, QLatin1Char('0'));
                i += m.capturedLength(0);
                prevSignificant = QLatin1Char('\'');
                continue;
            }
        }
        if (c.isLetter() || c == QLatin1Char('_')) {
            int j = i + 1;
            while (j < n && (sql[j].isLetterOrNumber() || sql[j] == QLatin1Char('_') || sql[j] == QLatin1Char('$')))
                ++j;
            const QStringView word = QStringView(sql).mid(i, j - i);
            const bool qualified = prevSignificant == QLatin1Char('.');
            int after = j;
            while (after < n && sql[after].isSpace())
                ++after;
            const bool call = after < n && sql[after] == QLatin1Char('(');
            if (!qualified && call
                && (word.compare(QLatin1String("left"), Qt::CaseInsensitive) == 0
                    || word.compare(QLatin1String("right"), Qt::CaseInsensitive) == 0
                    || word.compare(QLatin1String("isnull"), Qt::CaseInsensitive) == 0))
                out += QLatin1String("j") + word.toString();  // words of SQLite's own grammar
            else if (!qualified && word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                out += QLatin1String("-1");
            else if (!qualified && word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                out += QLatin1String("0");
            else
                out += word;
            i = j;
            prevSignificant = QLatin1Char('a');
            continue;
        }
        out += c;
        if (!c.isSpace())
            prevSignificant = c;
        ++i;
    }
    return out;
}

}  // namespace

QString translateSql(const QString& sql)
{
    // A statement run row by row comes with the same text each time: its translation is kept.
    constexpr qsizetype kKept = 256;
    thread_local QHash<QString, QString> kept;
    if (const auto it = kept.constFind(sql); it != kept.cend())
        return it.value();
    if (kept.size() >= kKept)
        kept.clear();
    return *kept.insert(sql, translated(sql));
}

QString declaredType(const FieldDef& f)
{
    switch (f.type) {
    case FieldType::Text:
        return QStringLiteral("TEXT(%1) COLLATE NOCASE").arg(f.size > 0 ? f.size : 255);
    case FieldType::Memo:
        return QStringLiteral("TEXT COLLATE NOCASE");
    case FieldType::Long:
        return QStringLiteral("INTEGER");
    case FieldType::Double:
        return QStringLiteral("REAL");
    case FieldType::YesNo:
        return QStringLiteral("YESNO");
    case FieldType::Date:
        return QStringLiteral("DATETEXT");
    }
    return QStringLiteral("TEXT COLLATE NOCASE");
}

FieldDef fieldFromDeclared(const QString& name, const QString& declared)
{
    static const QRegularExpression sized(QStringLiteral(R"(^(?:N?VAR)?(?:TEXT|CHAR|CHARACTER)\s*\(\s*(\d+)\s*\))"));
    FieldDef f;
    f.name = name;
    QString d = declared.trimmed().toUpper();
    const int collate = d.indexOf(QLatin1String("COLLATE"));
    if (collate >= 0)
        d = d.left(collate).trimmed();
    const auto m = sized.match(d);
    if (m.hasMatch()) {
        f.type = FieldType::Text;
        f.size = m.captured(1).toInt();
        return f;
    }
    const QString base = d.section(QLatin1Char('('), 0, 0).trimmed();
    static const QStringList longs = {"INTEGER", "INT", "LONG", "BIGINT", "SMALLINT", "BYTE", "TINYINT", "COUNTER"};
    static const QStringList doubles = {"REAL", "DOUBLE", "FLOAT", "NUM", "NUMERIC", "DECIMAL", "CURRENCY", "SINGLE"};
    static const QStringList yesno = {"YESNO", "BIT", "BOOLEAN", "LOGICAL"};
    static const QStringList dates = {"DATETEXT", "DATE", "DATETIME", "TIMESTAMP"};
    if (longs.contains(base))
        f.type = FieldType::Long;
    else if (doubles.contains(base))
        f.type = FieldType::Double;
    else if (yesno.contains(base))
        f.type = FieldType::YesNo;
    else if (dates.contains(base))
        f.type = FieldType::Date;
    else
        f.type = FieldType::Memo;
    return f;
}

QString connectPassword(const QString& connect)
{
    for (const QString& part : connect.split(QLatin1Char(';'))) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq > 0 && part.left(eq).trimmed().compare(QLatin1String("PWD"), Qt::CaseInsensitive) == 0)
            return part.mid(eq + 1);
    }
    return {};
}

namespace {

void checkPassword(const Connection& c, const QString& connect)
{
    if (!c.passwordHash.isEmpty() && passwordHash(connectPassword(connect)) != c.passwordHash)
        throw Error(errBadPassword, QStringLiteral("Not a valid password."));
}

std::shared_ptr<Connection> openConnection(const QString& path, const QString& key, bool readOnly, bool create)
{
    auto c = std::make_shared<Connection>();
    c->path = path;
    c->key = key;
    c->readOnly = readOnly;
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | (create ? SQLITE_OPEN_CREATE : 0)
                      | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &c->db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const Error e = sqliteError(c->db, rc);
        throw e;
    }
    sqlite3_extended_result_codes(c->db, 1);
    sqlite3_busy_timeout(c->db, 5000);
    sqlite3_update_hook(
        c->db,
        [](void* conn, int op, const char* database, const char* table, sqlite3_int64 rowid) {
            if (op == SQLITE_INSERT && qstrcmp(database, "main") == 0)
                static_cast<Connection*>(conn)->inserted(table, rowid);
        },
        c.get());
    // Reading the schema tells a database from any other file.
    sqlite3_stmt* s = nullptr;
    int prc = sqlite3_prepare_v2(c->db, "SELECT value FROM kelva_dao_meta WHERE key = 'password'", -1, &s, nullptr);
    if (prc == SQLITE_OK) {
        if (sqlite3_step(s) == SQLITE_ROW)
            c->passwordHash = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
    } else {
        const int code = sqlite3_extended_errcode(c->db);
        if ((code & 0xff) == SQLITE_NOTADB || (code & 0xff) == SQLITE_CORRUPT)
            throw Error(3343, QStringLiteral("Unrecognized database format '%1'.").arg(path));
        sqlite3_finalize(s);
    }
    jet::registerJetFunctions(c->db);
    return c;
}

void useWal(Connection& c)
{
    if (!c.readOnly && !c.passwordHash.isEmpty())
        exec(c.db, "PRAGMA journal_mode=WAL");
}

void registerConnection(const std::shared_ptr<Connection>& c)
{
    std::lock_guard lock(gRegistryMutex);
    for (auto it = gRegistry.begin(); it != gRegistry.end();)
        it = it->second.expired() ? gRegistry.erase(it) : std::next(it);
    gRegistry[c->key] = c;
}

}  // namespace

Database OpenDatabase(const QString& path, bool /*exclusive: one program instance works on its files*/,
                      bool readOnly, const QString& connect)
{
    const QFileInfo fi(path);
    if (path.isEmpty() || !fi.exists() || !fi.isFile())
        throw Error(errFileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    const QString key = fi.canonicalFilePath();
    {
        std::lock_guard lock(gRegistryMutex);
        auto it = gRegistry.find(key);
        if (it != gRegistry.end()) {
            if (auto c = it->second.lock(); c && (readOnly || !c->readOnly)) {
                checkPassword(*c, connect);
                return Database(c);
            }
        }
    }
    auto c = openConnection(path, key, readOnly, false);
    checkPassword(*c, connect);
    useWal(*c);
    registerConnection(c);
    return Database(c);
}

Database CreateDatabase(const QString& path)
{
    if (QFileInfo::exists(path))
        throw Error(3204, QStringLiteral("Database already exists."));
    auto c = openConnection(path, QString(), false, true);
    exec(c->db, "CREATE TABLE kelva_dao_meta (key TEXT PRIMARY KEY, value TEXT)");
    c->key = QFileInfo(path).canonicalFilePath();
    registerConnection(c);
    return Database(c);
}

QString Database::Name() const
{
    return c ? c->path : QString();
}

sqlite3* Database::handle() const
{
    return c ? c->db : nullptr;
}

namespace {

Connection& live(const std::shared_ptr<Connection>& c)
{
    if (!c)
        throw Error(3420, QStringLiteral("Object invalid or no longer set."));
    return *c;
}

}  // namespace

void Database::Execute(const QString& sql, const std::vector<Variant>& params)
{
    const QString text = translateSql(sql);
    // The rules name every column: a column is added or dropped without them, and they follow the new columns.
    QString altered;
    if (isAlterColumns(text, &altered) && hasTable(altered)) {
        dropColumnRules(altered);
        try {
            run(text, params);
        } catch (const Error&) {
            ApplyColumnRules(altered);
            throw;
        }
        ApplyColumnRules(altered);
        return;
    }
    run(text, params);
}

void Database::run(const QString& text, const std::vector<Variant>& params)
{
    Connection& conn = live(c);
    affected = 0;
    bool several = false;
    {
        Stmt st(conn, text, &several);
        if (!several && st) {
            st.bindAll(params);
            while (st.step()) {
            }
            affected = sqlite3_changes64(conn.db);
        }
    }
    if (several) {
        const QByteArray utf8 = text.toUtf8();
        const char* tail = nullptr;
        std::size_t used = 0;
        while (!tail || *tail) {
            Stmt st(conn, utf8, &tail);
            if (!st)
                continue;
            used += st.bindAll(params, used);
            while (st.step()) {
            }
            affected += sqlite3_changes64(conn.db);
        }
    }
    QString created;
    if ((isCreateTable(text, &created) || isRenameTable(text, &created)) && hasTable(created))
        ApplyColumnRules(created);
}

Variant Database::scalar(const QString& sql, const std::vector<Variant>& params)
{
    Connection& conn = live(c);
    Stmt st(conn, translateSql(sql));
    st.bindAll(params);
    if (!st.step())
        return {};
    return columnVariant(st.get(), 0);
}

QStringList Database::TableNames() const
{
    Connection& conn = live(c);
    Stmt st(conn, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND substr(name, 1, 7) <> "
                                 "'sqlite_' AND name <> 'kelva_dao_meta' ORDER BY name COLLATE NOCASE"));
    st.quiet();
    QStringList out;
    while (st.step())
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
    return out;
}

bool Database::hasTable(const QString& name) const
{
    Connection& conn = live(c);
    if (name.compare(QLatin1String(kMetaTable), Qt::CaseInsensitive) == 0)
        return false;
    Stmt st(conn, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
    st.quiet();
    st.bind(1, name);
    return st.step();
}

TableDef Database::tableDef(const QString& name) const
{
    Connection& conn = live(c);
    TableDef def;
    {
        Stmt st(conn, QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view') AND name = ? "
                                     "COLLATE NOCASE"));
        st.quiet();
        st.bind(1, name);
        if (!st.step() || name.compare(QLatin1String(kMetaTable), Qt::CaseInsensitive) == 0)
            throw Error(errItemNotFound, QStringLiteral("Item not found in this collection."));
        def.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
    }
    QStringList pkFields;
    {
        Stmt st(conn, QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?) ORDER BY cid"));
        st.quiet();
        st.bind(1, def.name);
        std::vector<std::pair<int, QString>> pk;
        while (st.step()) {
            const QString col = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
            const QString type = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 1)));
            def.fields.push_back(fieldFromDeclared(col, type));
            if (const int k = sqlite3_column_int(st.get(), 2); k > 0)
                pk.push_back({k, col});
        }
        std::sort(pk.begin(), pk.end());
        for (const auto& p : pk)
            pkFields << p.second;
    }
    bool pkIndexed = false;
    {
        Stmt st(conn, QStringLiteral("SELECT name, \"unique\", origin FROM pragma_index_list(?) ORDER BY name"));
        st.quiet();
        st.bind(1, def.name);
        std::vector<IndexDef> found;
        while (st.step()) {
            IndexDef idx;
            const QString stored = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
            idx.unique = sqlite3_column_int(st.get(), 1) != 0;
            const QString origin = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 2)));
            idx.primary = origin == QLatin1String("pk");
            const QString prefix = def.name + QLatin1Char('_');
            if (idx.primary)
                idx.name = QStringLiteral("PrimaryKey");
            else if (stored.startsWith(prefix, Qt::CaseInsensitive))
                idx.name = stored.mid(prefix.size());
            else
                idx.name = stored;
            idx.fields << stored;  // replaced below by the indexed columns
            found.push_back(idx);
        }
        for (IndexDef& idx : found) {
            Stmt cols(conn, QStringLiteral("SELECT name FROM pragma_index_info(?) ORDER BY seqno"));
            cols.quiet();
            cols.bind(1, idx.fields.front());
            idx.fields.clear();
            while (cols.step())
                idx.fields << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(cols.get(), 0)));
            pkIndexed = pkIndexed || idx.primary;
        }
        def.indexes = std::move(found);
    }
    if (!pkFields.isEmpty() && !pkIndexed)
        def.indexes.insert(def.indexes.begin(), IndexDef{QStringLiteral("PrimaryKey"), pkFields, true, true});
    return def;
}

void Database::CreateTable(const TableDef& def)
{
    live(c);
    QStringList cols;
    for (const FieldDef& f : def.fields)
        cols << quoteIdentifier(f.name) + QLatin1Char(' ') + declaredType(f);
    for (const IndexDef& idx : def.indexes) {
        if (!idx.primary)
            continue;
        QStringList fs;
        for (const QString& f : idx.fields)
            fs << quoteIdentifier(f);
        cols << QStringLiteral("PRIMARY KEY (%1)").arg(fs.join(QStringLiteral(", ")));
    }
    Execute(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteIdentifier(def.name), cols.join(QStringLiteral(", "))));
    for (const IndexDef& idx : def.indexes)
        if (!idx.primary)
            CreateIndex(def.name, idx);
}

void Database::CreateIndex(const QString& table, const IndexDef& index)
{
    live(c);
    QStringList fs;
    for (const QString& f : index.fields)
        fs << quoteIdentifier(f);
    Execute(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                .arg(index.unique || index.primary ? QStringLiteral("UNIQUE ") : QString(),
                     quoteIdentifier(table + QLatin1Char('_') + index.name), quoteIdentifier(table), fs.join(QStringLiteral(", "))));
}

void Database::dropColumnRules(const QString& table)
{
    Connection& conn = live(c);
    const TableDef def = tableDef(table);
    const QString base = QStringLiteral("kelva_rules_") + def.name;
    // The table's own rules go first (they keep their old names after a rename), then any left under these
    // names by a table that has since been renamed.
    QStringList stale;
    {
        Stmt st(conn, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'trigger' AND tbl_name = ? "
                                     "AND substr(name, 1, 12) = 'kelva_rules_'"));
        st.quiet();
        st.bind(1, def.name);
        while (st.step())
            stale << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
    }
    for (const char* suffix : {"_bi", "_bu", "_ai", "_au"})
        stale << base + QLatin1String(suffix);
    for (const QString& name : stale)
        exec(conn.db, QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(quoteIdentifier(name)).toUtf8().constData());
}

namespace {

// A table's column rules as SQL conditions on a row: `row` is "NEW." in a trigger and empty in a query of
// the table itself.
struct ColumnRules {
    QStringList numeric, written, fixWhen, fixSet;
    QStringList conversion, overflow, tooLong, tooLongChanged;
    // A cheap first test that holds for every row a refusal holds for (and for few others): plain comparisons
    // where the refusals call typeof(). A text or blob sorts above every number, and Null passes.
    QStringList screen, screenChanged;
};

ColumnRules columnRules(const TableDef& def, const QString& row)
{
    ColumnRules r;
    for (const FieldDef& f : def.fields) {
        const QString col = quoteIdentifier(f.name);
        const QString value = row + col;
        if (f.type == FieldType::Text && f.size > 0) {
            r.written << col;
            const QString cond = QStringLiteral("(typeof(%1) = 'text' AND length(%1) > %2)").arg(value).arg(f.size);
            r.tooLong << cond;
            r.tooLongChanged << QStringLiteral("(%1 AND %2 IS NOT OLD.%3)").arg(cond, value, col);
            const QString longer = QStringLiteral("length(%1) > %2").arg(value).arg(f.size);
            r.screen << longer;
            r.screenChanged << QStringLiteral("(%1 AND %2 IS NOT OLD.%3)").arg(longer, value, col);
            continue;
        }
        if (f.type != FieldType::Long && f.type != FieldType::Double && f.type != FieldType::YesNo)
            continue;
        r.numeric << col;
        r.written << col;
        r.conversion << QStringLiteral("(typeof(%1) = 'text' AND %1 <> '')").arg(value);
        r.overflow << (f.type == FieldType::Long
                           ? QStringLiteral("(typeof(%1) = 'real' AND (%1 >= 9223372036854775808.0 OR "
                                            "%1 < -9223372036854775808.0))")
                           : QStringLiteral("(typeof(%1) = 'real' AND abs(%1) > 1.7976931348623157e308)"))
                          .arg(value);
        const QString outside =
            f.type == FieldType::Long
                ? QStringLiteral("%1 >= 9223372036854775808.0 OR %1 < -9223372036854775808.0").arg(value)
                : QStringLiteral("NOT (%1 BETWEEN -1.7976931348623157e308 AND 1.7976931348623157e308)").arg(value);
        r.screen << outside;
        r.screenChanged << outside;
        r.fixWhen << QStringLiteral("%1 = ''").arg(value);
        if (f.type == FieldType::YesNo) {
            r.fixWhen << QStringLiteral("(%1 IS NOT NULL AND %1 NOT IN (0, -1))").arg(value);
            r.fixSet << QStringLiteral("%1 = CASE WHEN %1 IS NULL OR %1 = '' THEN NULL WHEN %1 = 0 THEN 0 ELSE -1 END")
                            .arg(col);
        } else {
            r.fixSet << QStringLiteral("%1 = NULLIF(%1, '')").arg(col);
        }
    }
    return r;
}

// The refusals in the order a row is checked: each with the condition over all its columns.
struct Refusal {
    QString condition;
    int number;
    const char* text;
};

std::vector<Refusal> refusals(const ColumnRules& r, const QStringList& tooLongConditions)
{
    std::vector<Refusal> out;
    const std::tuple<const QStringList*, int, const char*> rules[] = {{&r.conversion, errConversion, kConversionText},
                                                                      {&r.overflow, errOverflow, kOverflowText},
                                                                      {&tooLongConditions, errFieldTooSmall,
                                                                       kFieldTooSmallText}};
    for (const auto& [conditions, number, text] : rules)
        if (!conditions->isEmpty())
            out.push_back({conditions->join(QStringLiteral(" OR ")), number, text});
    return out;
}

QString anyOf(const std::vector<Refusal>& refused)
{
    QStringList any;
    for (const Refusal& x : refused)
        any << x.condition;
    return any.join(QStringLiteral(" OR "));
}

}  // namespace

void Database::ApplyColumnRules(const QString& table)
{
    dropColumnRules(table);
    Connection& conn = live(c);
    const TableDef def = tableDef(table);
    const QString t = quoteIdentifier(def.name);
    const QString base = QStringLiteral("kelva_rules_") + def.name;

    // Refusals: a text that is no number in a number column, a number no column of its kind holds, and a
    // text longer than its column. An update checks only the columns it changes.
    const ColumnRules r = columnRules(def, QStringLiteral("NEW."));
    if (r.written.isEmpty())
        return;
    const auto sqlText = [](const char* text) { return QString::fromLatin1(text).replace("'", "''"); };
    const auto body = [&](const std::vector<Refusal>& refused) {
        QString text;
        for (const Refusal& x : refused)
            text += QStringLiteral("SELECT RAISE(ABORT, '%1') WHERE %2; ").arg(sqlText(x.text), x.condition);
        return text;
    };
    const std::vector<Refusal> onInsert = refusals(r, r.tooLong);
    const std::vector<Refusal> onUpdate = refusals(r, r.tooLongChanged);
    exec(conn.db, QStringLiteral("CREATE TRIGGER %1 BEFORE INSERT ON %2 WHEN %3 BEGIN %4END")
                .arg(quoteIdentifier(base + "_bi"), t, r.screen.join(QStringLiteral(" OR ")), body(onInsert))
                .toUtf8().constData());
    exec(conn.db, QStringLiteral("CREATE TRIGGER %1 BEFORE UPDATE OF %2 ON %3 WHEN %4 BEGIN %5END")
                .arg(quoteIdentifier(base + "_bu"), r.written.join(QStringLiteral(", ")), t,
                     r.screenChanged.join(QStringLiteral(" OR ")), body(onUpdate))
                .toUtf8().constData());
    if (r.numeric.isEmpty())
        return;
    const QString fix =
        QStringLiteral("UPDATE %1 SET %2 WHERE rowid = NEW.rowid;").arg(t, r.fixSet.join(QStringLiteral(", ")));
    const QString when = r.fixWhen.join(QStringLiteral(" OR "));
    const QString cols = r.numeric.join(QStringLiteral(", "));
    exec(conn.db, QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON %2 WHEN %3 BEGIN %4 END")
                .arg(quoteIdentifier(base + "_ai"), t, when, fix).toUtf8().constData());
    exec(conn.db, QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE OF %2 ON %3 WHEN %4 BEGIN %5 END")
                .arg(quoteIdentifier(base + "_au"), cols, t, when, fix).toUtf8().constData());
}

void Database::CopyRows(const QString& target, const QString& source)
{
    Connection& conn = live(c);
    const QString insert =
        QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(quoteIdentifier(target), quoteIdentifier(source));
    const TableDef def = tableDef(target);
    const ColumnRules r = columnRules(def, QString());
    bool plain = r.written.isEmpty();
    for (const QString& sql : {QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(quoteIdentifier(def.name)),
                               QStringLiteral("SELECT 1 WHERE NOT EXISTS (SELECT 1 FROM sqlite_master WHERE "
                                              "type = 'table' AND name = ? COLLATE NOCASE)")}) {
        if (plain)
            break;
        Stmt st(conn, sql);
        st.quiet();
        if (sqlite3_bind_parameter_count(st.get()) > 0)
            st.bind(1, source);
        plain = st.step();  // rows already there, or a source that is no table
    }
    if (plain) {
        Execute(insert);
        return;
    }
    // The rows go in without the rules and are then checked and mended together as the rules would have
    // done one by one. When one breaks a rule, the statement is run again under the rules for its own error.
    const QString t = quoteIdentifier(def.name);
    BeginTrans();
    bool broken = false;
    try {
        dropColumnRules(def.name);
        {
            // In the source's order, so that the rows take the rowids the statement would give them.
            Stmt st(conn, insert + QStringLiteral(" ORDER BY rowid"));
            st.quiet();
            st.step();
            affected = sqlite3_changes64(conn.db);
        }
        {
            Stmt st(conn, QStringLiteral("SELECT 1 FROM %1 WHERE (%2) AND (%3) LIMIT 1")
                              .arg(t, r.screen.join(QStringLiteral(" OR ")), anyOf(refusals(r, r.tooLong))));
            st.quiet();
            broken = st.step();
        }
        if (!broken && !r.numeric.isEmpty()) {
            Stmt st(conn, QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                              .arg(t, r.fixSet.join(QStringLiteral(", ")), r.fixWhen.join(QStringLiteral(" OR "))));
            st.quiet();
            st.step();
        }
    } catch (const Error&) {
        broken = true;
    }
    if (broken) {
        Rollback();
        Execute(insert);
        return;
    }
    try {
        ApplyColumnRules(def.name);
        CommitTrans();
    } catch (...) {
        Rollback();
        throw;
    }
    noteStatement();
}

void Database::BeginTrans()
{
    Connection& conn = live(c);
    if (conn.depth > 0 && sqlite3_get_autocommit(conn.db))
        conn.depth = 0;  // SQLite ended the transaction itself after an error
    if (conn.depth == 0)
        exec(conn.db, conn.readOnly ? "BEGIN" : "BEGIN IMMEDIATE");
    else
        exec(conn.db, QStringLiteral("SAVEPOINT kelva_%1").arg(conn.depth).toUtf8().constData());
    ++conn.depth;
}

void Database::CommitTrans()
{
    Connection& conn = live(c);
    if (conn.depth == 0)
        throw Error(3034, QStringLiteral("You tried to commit or rollback a transaction without first beginning a "
                                         "transaction."));
    --conn.depth;
    if (conn.depth == 0)
        exec(conn.db, "COMMIT");
    else
        exec(conn.db, QStringLiteral("RELEASE kelva_%1").arg(conn.depth).toUtf8().constData());
}

void Database::Rollback()
{
    Connection& conn = live(c);
    if (conn.depth == 0)
        throw Error(3034, QStringLiteral("You tried to commit or rollback a transaction without first beginning a "
                                         "transaction."));
    --conn.depth;
    if (sqlite3_get_autocommit(conn.db)) {
        conn.depth = 0;
        return;
    }
    if (conn.depth == 0) {
        exec(conn.db, "ROLLBACK");
    } else {
        const QByteArray name = QStringLiteral("kelva_%1").arg(conn.depth).toUtf8();
        exec(conn.db, ("ROLLBACK TO " + name).constData());
        exec(conn.db, ("RELEASE " + name).constData());
    }
}

int Database::transactionDepth() const
{
    return c ? c->depth : 0;
}

void Database::SetPassword(const QString& password)
{
    Connection& conn = live(c);
    exec(conn.db, "CREATE TABLE IF NOT EXISTS kelva_dao_meta (key TEXT PRIMARY KEY, value TEXT)");
    if (password.isEmpty()) {
        exec(conn.db, "DELETE FROM kelva_dao_meta WHERE key = 'password'");
        conn.passwordHash.clear();
        return;
    }
    const QByteArray hash = passwordHash(password);
    Stmt st(conn, QStringLiteral("INSERT OR REPLACE INTO kelva_dao_meta (key, value) VALUES ('password', ?)"));
    st.quiet();
    st.bind(1, QString::fromLatin1(hash));
    st.step();
    conn.passwordHash = hash;
}

void Database::Close()
{
    c.reset();
}

Recordset Database::OpenRecordset(const QString& tableNameOrSql, const std::vector<Variant>& params)
{
    live(c);
    Recordset rs;
    rs.d = std::make_shared<RecordsetData>();
    rs.d->open(*this, tableNameOrSql, params);
    return rs;
}

}  // namespace dao
