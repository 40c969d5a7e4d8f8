#include "Recordset.h"

#include "Connection.h"
#include "RecordsetData.h"
#include "jetfunctions.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <cstring>
#include <mutex>

namespace dao {

namespace {

const char* kRowidName = "kelva_rowid__";

Error noCurrent()
{
    return Error(errNoCurrentRecord, QStringLiteral("No current record."));
}

QString text(const char* s)
{
    return s ? QString::fromUtf8(s) : QString();
}

// Statement text without its quoted parts, for looking at its keywords.
QString withoutLiterals(const QString& sql)
{
    static const QRegularExpression quoted(QStringLiteral(R"('(?:[^']|'')*'|\[[^\]]*\]|"(?:[^"]|"")*")"));
    QString s = sql;
    for (auto it = quoted.globalMatch(sql); it.hasNext();) {
        const auto m = it.next();
        s.replace(m.capturedStart(), m.capturedLength(), QString(m.capturedLength(), QLatin1Char('x')));
    }
    return s;
}

// The rowid goes first in the select list, so an ORDER BY by column number must count one more.
QString shiftOrderNumbers(const QString& sql)
{
    static const QRegularExpression orderBy(QStringLiteral(R"(\bORDER\s+BY\s)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression number(QStringLiteral(R"(^(\s*)(\d+)(\s+(?:ASC|DESC))?(\s*;?\s*)$)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString plain = withoutLiterals(sql);
    if (plain.size() != sql.size())
        return sql;  // literals changed the length: leave the text alone
    int at = -1;
    for (auto it = orderBy.globalMatch(plain); it.hasNext();)
        at = int(it.next().capturedEnd());
    if (at < 0 || plain.indexOf(QLatin1Char(')'), at) >= 0)
        return sql;
    QStringList items = sql.mid(at).split(QLatin1Char(','));
    bool changed = false;
    for (QString& item : items) {
        const auto m = number.match(item);
        if (m.hasMatch()) {
            item = m.captured(1) + QString::number(m.captured(2).toInt() + 1) + m.captured(3) + m.captured(4);
            changed = true;
        }
    }
    return changed ? sql.left(at) + items.join(QLatin1Char(',')) : sql;
}

bool isQueryText(const QString& s)
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*(SELECT|WITH|VALUES|PRAGMA)\b)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(s).hasMatch();
}

}  // namespace

// ---- RecordsetData ----

void RecordsetData::open(const Database& database, const QString& src, const std::vector<Variant>& p)
{
    db = database;
    source = src;
    params = p;
    load();
}

void RecordsetData::requireOpen() const
{
    if (closed || !db.c)
        throw Error(3420, QStringLiteral("Object invalid or no longer set."));
}

void RecordsetData::requireCurrent() const
{
    requireOpen();
    if (deletedCurrent)
        throw Error(3167, QStringLiteral("Record is deleted."));
    if (pos < 0 || pos >= count())
        throw noCurrent();
}

void RecordsetData::requireUpdatable() const
{
    requireOpen();
    if (table.isEmpty() || !hasRowid || db.c->readOnly)
        throw Error(errNotUpdatable, QStringLiteral("Cannot update. Database or object is read-only."));
}

void RecordsetData::requireSameRow(quint32 stored) const
{
    const qint64 id = rowid(stored);
    const auto it = added.find(id);
    if (db.c->reusedSince(table, id, it != added.end() ? it->second : readAt))
        throw Error(errRecordDeleted, QStringLiteral("Record is deleted."));
}

void RecordsetData::requireRowFound() const
{
    if (sqlite3_changes64(db.c->db) == 0)
        throw Error(errRecordDeleted, QStringLiteral("Record is deleted."));
}

void RecordsetData::load()
{
    requireOpen();
    Connection& conn = *db.c;
    cols.clear();
    store.reset(0);
    order.clear();
    table.clear();
    hasRowid = false;
    mode = Mode::None;
    deletedCurrent = false;
    lastModified = -1;
    added.clear();

    const QString trimmed = source.trimmed();
    QString sql;
    QString tableName;
    if (!isQueryText(trimmed)) {
        tableName = trimmed;
        if (tableName.size() > 1 && tableName.startsWith(QLatin1Char('[')) && tableName.endsWith(QLatin1Char(']')))
            tableName = tableName.mid(1, tableName.size() - 2);
        else if (tableName.size() > 1 && tableName.startsWith(QLatin1Char('"')) && tableName.endsWith(QLatin1Char('"')))
            tableName = tableName.mid(1, tableName.size() - 2).replace(QLatin1String("\"\""), QLatin1String("\""));
        if (!db.hasTable(tableName)) {
            // A view, or no such thing: read it as a query and let SQLite report what is wrong.
            sql = QStringLiteral("SELECT * FROM %1").arg(quoteIdentifier(tableName));
            tableName.clear();
        } else {
            sql = QStringLiteral("SELECT *, rowid AS %1 FROM %2").arg(QLatin1String(kRowidName), quoteIdentifier(tableName));
        }
    } else {
        sql = translateSql(trimmed);
    }

    auto prepare = [&](const QString& text, sqlite3_stmt** out) {
        const QByteArray utf8 = text.toUtf8();
        return sqlite3_prepare_v2(conn.db, utf8.constData(), int(utf8.size()), out, nullptr);
    };

    sqlite3_stmt* s = nullptr;
    int rc = prepare(sql, &s);
    if (rc != SQLITE_OK) {
        const Error e = sqliteError(conn.db, sqlite3_extended_errcode(conn.db));
        sqlite3_finalize(s);
        throw e;
    }
    if (!s)
        throw Error(3001, QStringLiteral("Invalid argument."));

    if (tableName.isEmpty()) {
        // A query over one table can write that table's rows: add its rowid to what it reads.
        QString only;
        bool single = true;
        for (int i = 0; i < sqlite3_column_count(s); ++i) {
            const QString t = text(sqlite3_column_table_name(s, i));
            if (t.isEmpty())
                continue;
            if (only.isEmpty())
                only = t;
            else if (only.compare(t, Qt::CaseInsensitive) != 0)
                single = false;
        }
        static const QRegularExpression grouped(QStringLiteral(R"(\b(DISTINCT|GROUP\s+BY|UNION|INTERSECT|EXCEPT)\b)"),
                                                QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression selectHead(QStringLiteral(R"(^\s*SELECT\s+)"),
                                                   QRegularExpression::CaseInsensitiveOption);
        const auto head = selectHead.match(sql);
        if (single && !only.isEmpty() && head.hasMatch() && !grouped.match(withoutLiterals(sql)).hasMatch()
            && db.hasTable(only)) {
            for (const QString& rowidRef : {quoteIdentifier(only) + QStringLiteral(".rowid"), QStringLiteral("rowid")}) {
                QString withRowid = shiftOrderNumbers(sql);
                withRowid.insert(head.capturedEnd(), QStringLiteral("%1 AS %2, ").arg(rowidRef, QLatin1String(kRowidName)));
                sqlite3_stmt* s2 = nullptr;
                if (prepare(withRowid, &s2) == SQLITE_OK && s2) {
                    sqlite3_finalize(s);
                    s = s2;
                    tableName = only;
                    break;
                }
                sqlite3_finalize(s2);
            }
        }
    }

    // The rowid comes first in a query we changed, last over a table; either way it is stored last.
    const int n = sqlite3_column_count(s);
    int rowidCol = -1;
    if (!tableName.isEmpty())
        for (int i = 0; i < n; ++i)
            if (qstrcmp(sqlite3_column_name(s, i), kRowidName) == 0)
                rowidCol = i;
    hasRowid = rowidCol >= 0;
    table = hasRowid ? tableName : QString();
    if (hasRowid)
        readAt = conn.watch(table);  // before reading: a row inserted from here on is newer than ours
    std::vector<int> from;
    for (int i = 0; i < n; ++i) {
        if (i == rowidCol)
            continue;
        Column col;
        col.name = text(sqlite3_column_name(s, i));
        const QString t = text(sqlite3_column_table_name(s, i));
        const char* decl = sqlite3_column_decltype(s, i);
        if (decl) {
            col.def = fieldFromDeclared(col.name, QString::fromUtf8(decl));
            col.typed = true;
        } else {
            col.def.name = col.name;
            col.def.type = FieldType::Text;
            col.def.size = 255;
        }
        if (hasRowid && !t.isEmpty() && t.compare(table, Qt::CaseInsensitive) == 0) {
            col.originColumn = text(sqlite3_column_origin_name(s, i));
            col.editable = !col.originColumn.isEmpty() && !conn.readOnly;
        }
        cols.push_back(col);
        from.push_back(i);
    }
    if (hasRowid)
        from.push_back(rowidCol);
    width = int(from.size());

    try {
        rc = SQLITE_OK;
        for (std::size_t k = 0; k < params.size() && int(k) < sqlite3_bind_parameter_count(s); ++k) {
            const Variant& v = params[k];
            switch (v.type()) {
            case Variant::Type::Null:
                sqlite3_bind_null(s, int(k) + 1);
                break;
            case Variant::Type::Long:
            case Variant::Type::Boolean:
                sqlite3_bind_int64(s, int(k) + 1, v.toLongLong());
                break;
            case Variant::Type::Double:
                sqlite3_bind_double(s, int(k) + 1, v.toDouble());
                break;
            default: {
                const QByteArray b = v.toString().toUtf8();
                sqlite3_bind_text(s, int(k) + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
            }
            }
        }
        noteStatement();
        store.reset(width);
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            const quint32 row = store.addRow(false);
            Payload* p = store.payloads(row);
            quint8* t = store.types(row);
            for (int k = 0; k < width; ++k) {
                const int i = from[k];
                const int type = sqlite3_column_type(s, i);
                t[k] = quint8(type);
                switch (type) {
                case SQLITE_INTEGER:
                    p[k].i = sqlite3_column_int64(s, i);
                    break;
                case SQLITE_FLOAT:
                    p[k].d = sqlite3_column_double(s, i);
                    break;
                case SQLITE_NULL:
                    break;
                default: {
                    const char* txt = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
                    p[k] = store.text(txt, quint32(sqlite3_column_bytes(s, i)));
                    t[k] = SQLITE_TEXT;
                }
                }
            }
            order.push_back(row);
        }
        if (rc != SQLITE_DONE)
            throw sqliteError(conn.db, sqlite3_extended_errcode(conn.db));
    } catch (...) {
        sqlite3_finalize(s);
        throw;
    }
    sqlite3_finalize(s);

    // A computed column takes its kind from its first value.
    for (int k = 0; k < int(cols.size()); ++k) {
        Column& col = cols[k];
        if (col.typed)
            continue;
        for (quint32 r = 0; r < order.size(); ++r) {
            const quint8 t = store.get(r, k).type;
            if (t == SQLITE_NULL)
                continue;
            col.def.type = t == SQLITE_INTEGER ? FieldType::Long : t == SQLITE_FLOAT ? FieldType::Double : FieldType::Text;
            col.def.size = t == SQLITE_TEXT ? 255 : 0;
            break;
        }
    }

    fields.assign(cols.size(), Field());
    for (int k = 0; k < int(cols.size()); ++k) {
        fields[k].rs = this;
        fields[k].col = k;
    }
    buffer.assign(cols.size(), Variant());
    dirty.assign(cols.size(), false);
    pos = order.empty() ? -1 : 0;
}

Variant RecordsetData::value(quint32 stored, int col) const
{
    const Cell c = cellAt(stored, col);
    const FieldType kind = cols[col].def.type;
    switch (c.type) {
    case SQLITE_INTEGER:
        if (kind == FieldType::YesNo)
            return Variant(c.v.i != 0);
        return Variant(qint64(c.v.i));
    case SQLITE_FLOAT:
        if (kind == FieldType::YesNo)
            return Variant(c.v.d != 0);
        return Variant(c.v.d);
    case SQLITE_TEXT: {
        QString s = QString::fromUtf8(store.textData(c.v), qsizetype(c.v.t.len));
        if (kind == FieldType::Date && !s.isEmpty())
            return Variant::dateFromText(s);
        return Variant(std::move(s));
    }
    default:
        return {};
    }
}

void RecordsetData::put(quint32 stored, int col, const Variant& v)
{
    Cell c{};
    switch (v.type()) {
    case Variant::Type::Null:
        c.type = SQLITE_NULL;
        break;
    case Variant::Type::Long:
    case Variant::Type::Boolean:
        c.type = SQLITE_INTEGER;
        c.v.i = v.toLongLong();
        break;
    case Variant::Type::Double:
        c.type = SQLITE_FLOAT;
        c.v.d = v.toDouble();
        break;
    default: {
        const QByteArray b = v.toString().toUtf8();
        c.type = SQLITE_TEXT;
        c.v = store.text(b.constData(), quint32(b.size()));
    }
    }
    store.set(stored, col, c);
}

namespace {

// Chunks of closed recordsets, ready for the next one.
std::mutex gSpareMutex;
std::vector<std::unique_ptr<char[]>> gSpare;
constexpr std::size_t kSpareLimit = 48;  // 24 MiB

std::unique_ptr<char[]> takeChunk()
{
    {
        std::lock_guard lock(gSpareMutex);
        if (!gSpare.empty()) {
            auto c = std::move(gSpare.back());
            gSpare.pop_back();
            return c;
        }
    }
    return std::make_unique_for_overwrite<char[]>(CellStore::kChunkBytes);
}

void giveChunks(std::vector<std::unique_ptr<char[]>>& chunks)
{
    std::lock_guard lock(gSpareMutex);
    for (auto& c : chunks)
        if (gSpare.size() < kSpareLimit)
            gSpare.push_back(std::move(c));
    chunks.clear();
}

}  // namespace

void CellStore::reset(int width)
{
    giveChunks(chunks);
    w = width;
    n = 0;
    // A row wider than a chunk (over 58,000 columns) cannot occur: SQLite allows 2,000.
    perChunk = quint32(std::max<std::size_t>(1, kChunkBytes / (std::size_t(std::max(w, 1)) * (sizeof(Payload) + 1))));
    blocks.clear();
    used = kBlock;
}

quint32 CellStore::addRow(bool clear)
{
    if (n % perChunk == 0)
        chunks.push_back(takeChunk());
    if (clear)
        std::memset(types(n), SQLITE_NULL, std::size_t(w));
    return n++;
}

Payload CellStore::text(const char* data, quint32 len)
{
    Payload p;
    p.t.len = len;
    p.t.off = 0;
    if (len == 0)
        return p;
    const bool own = len > kBlock / 4;  // a long text gets a block of its own
    if (own || len > kBlock - used) {
        if (blocks.size() >= 4096)
            throw Error(7, QStringLiteral("Out of memory"));
        blocks.push_back(std::make_unique<char[]>(own ? std::max<quint32>(len, 1) : kBlock));
        used = 0;
    }
    std::memcpy(blocks.back().get() + used, data, len);
    p.t.off = quint32(blocks.size() - 1) << 20 | used;
    used = own ? kBlock : used + len;
    return p;
}

namespace {

Error overflowError()
{
    return Error(errOverflow, QString::fromLatin1(kOverflowText));
}

// Characters as SQLite's length() counts them: a pair of surrogates is one.
qsizetype characters(const QString& s)
{
    qsizetype n = s.size();
    for (const QChar c : s)
        if (c.isLowSurrogate())
            --n;
    return n;
}

// A number text beyond a double's range ("1e309"): SQLite reads it as infinity, which no column holds;
// one below it ("1e-400") is 0, as SQLite reads it.
bool outOfRangeNumber(const QString& s, double* x)
{
    const QByteArray b = s.toLatin1();
    const char* p = b.constData();
    const char* end = p + b.size();
    if (p != end && (*p == '+' || *p == '-'))
        ++p;
    double v = 0;
    const auto r = std::from_chars(p, end, v, std::chars_format::general);
    if (r.ec != std::errc::result_out_of_range || r.ptr != end)
        return false;
    const bool tiny = b.contains("e-") || b.contains("E-");
    if (!tiny)
        throw overflowError();
    *x = 0;
    return true;
}

}  // namespace

Variant RecordsetData::convert(int col, const Variant& v) const
{
    const FieldDef& def = cols[col].def;
    // A column declared without a type (the file drivers' worksheet columns) keeps each value's own kind.
    if (v.isNull() || !cols[col].typed)
        return v;
    if (v.type() == Variant::Type::Double && !std::isfinite(v.toDouble()))
        throw overflowError();
    const auto conversion = [] { return Error(errConversion, QString::fromLatin1(kConversionText)); };
    switch (def.type) {
    case FieldType::Text:
    case FieldType::Memo: {
        const QString s = v.toString();
        if (def.type == FieldType::Text && def.size > 0 && characters(s) > def.size)
            throw Error(errFieldTooSmall, QString::fromLatin1(kFieldTooSmallText));
        return Variant(s);
    }
    case FieldType::Long:
    case FieldType::Double:
    case FieldType::YesNo: {
        double x = 0;
        switch (v.type()) {
        case Variant::Type::Text: {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return {};  // as a statement stores it
            if (def.type == FieldType::YesNo && s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
                x = -1;
            else if (def.type == FieldType::YesNo && s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
                x = 0;
            else if (!parseNumber(s, &x) && !outOfRangeNumber(s, &x))
                throw conversion();
            break;
        }
        case Variant::Type::Date:
            throw conversion();
        default:
            x = v.toDouble();
        }
        if (def.type == FieldType::YesNo)
            return Variant(x != 0);
        if (def.type == FieldType::Long) {
            if (v.type() == Variant::Type::Long || v.type() == Variant::Type::Boolean)
                return Variant(v.toLongLong());
            // The whole numbers a 64-bit column holds; 2^63 itself is one too many.
            if (!(x >= -9223372036854775808.0 && x < 9223372036854775808.0))
                throw overflowError();
            return Variant(jet::clng(x));
        }
        return Variant(x);
    }
    case FieldType::Date: {
        if (v.type() == Variant::Type::Date)
            return v;
        if (v.type() != Variant::Type::Text)
            throw conversion();
        const QDateTime dt = v.toDateTime();
        if (!dt.isValid())
            throw conversion();
        return Variant(dt);
    }
    }
    return v;
}

int RecordsetData::columnIndex(const QString& name) const
{
    for (int k = 0; k < int(cols.size()); ++k)
        if (cols[k].name.compare(name, Qt::CaseInsensitive) == 0)
            return k;
    return -1;
}

void RecordsetData::setPosition(qint64 p)
{
    if (mode != Mode::None)
        leaveEdit();
    deletedCurrent = false;
    if (p < 0)
        pos = -1;
    else if (p >= count())
        pos = count();
    else
        pos = p;
}

bool RecordsetData::find(const QString& criteria, const std::vector<Variant>& findParams, qint64 from, int step)
{
    requireOpen();
    Connection& conn = *db.c;
    const QString crit = translateSql(criteria);

    // The columns that the criterion names are bound row by row into a one-row table of that name.
    std::vector<int> used;
    {
        static const QRegularExpression ident(
            QStringLiteral(R"re('(?:[^']|'')*'|\[([^\]]+)\]|"((?:[^"]|"")+)"|([A-Za-z_][A-Za-z0-9_]*))re"));
        auto it = ident.globalMatch(crit);
        while (it.hasNext()) {
            const auto m = it.next();
            const QString name = m.capturedLength(1)   ? m.captured(1)
                                 : m.capturedLength(2) ? m.captured(2).replace(QLatin1String("\"\""), QLatin1String("\""))
                                                       : m.captured(3);
            if (name.isEmpty())
                continue;
            const int k = columnIndex(name);
            if (k >= 0 && std::find(used.begin(), used.end(), k) == used.end())
                used.push_back(k);
        }
    }
    QStringList items;
    for (int k : used) {
        const FieldType t = cols[k].def.type;
        const bool number = t == FieldType::Long || t == FieldType::Double || t == FieldType::YesNo;
        const QString param = QStringLiteral(":c%1").arg(k);
        items << (number ? QStringLiteral("CAST(%1 AS NUMERIC)").arg(param)
                         : (t == FieldType::Text || t == FieldType::Memo) ? param + QStringLiteral(" COLLATE NOCASE")
                                                                          : param)
                     + QStringLiteral(" AS ") + quoteIdentifier(cols[k].name);
    }
    QString sql = QStringLiteral("SELECT (%1)").arg(crit);
    if (!items.isEmpty())
        sql += QStringLiteral(" FROM (SELECT %1) AS %2")
                   .arg(items.join(QStringLiteral(", ")), quoteIdentifier(table.isEmpty() ? QStringLiteral("rs") : table));

    Stmt st(conn, sql);
    sqlite3_stmt* s = st.get();
    st.bindAll(findParams);
    st.countRun();
    std::vector<int> index;
    for (int k : used)
        index.push_back(sqlite3_bind_parameter_index(s, QStringLiteral(":c%1").arg(k).toUtf8().constData()));

    for (qint64 p = from; p >= 0 && p < count(); p += step) {
        const quint32 stored = order[std::size_t(p)];
        for (std::size_t u = 0; u < used.size(); ++u) {
            const Cell c = cellAt(stored, used[u]);
            switch (c.type) {
            case SQLITE_INTEGER:
                sqlite3_bind_int64(s, index[u], c.v.i);
                break;
            case SQLITE_FLOAT:
                sqlite3_bind_double(s, index[u], c.v.d);
                break;
            case SQLITE_TEXT:
                sqlite3_bind_text(s, index[u], store.textData(c.v), int(c.v.t.len), SQLITE_STATIC);
                break;
            default:
                sqlite3_bind_null(s, index[u]);
            }
        }
        const int rc = sqlite3_step(s);
        if (rc != SQLITE_ROW) {
            const Error e = sqliteError(conn.db, sqlite3_extended_errcode(conn.db));
            sqlite3_reset(s);
            throw e;
        }
        const bool hit = sqlite3_column_type(s, 0) != SQLITE_NULL && sqlite3_column_double(s, 0) != 0;
        sqlite3_reset(s);
        if (hit) {
            setPosition(p);
            noMatch = false;
            return true;
        }
    }
    noMatch = true;
    return false;
}

// ---- Field ----

QString Field::Name() const
{
    return rs->cols[col].name;
}

Variant Field::Value() const
{
    if (rs->mode != RecordsetData::Mode::None && rs->dirty[col])
        return rs->buffer[col];
    if (rs->mode == RecordsetData::Mode::AddNew)
        return {};
    rs->requireCurrent();
    return rs->value(rs->order[std::size_t(rs->pos)], col);
}

void Field::setValue(const Variant& v)
{
    rs->requireOpen();
    if (rs->mode == RecordsetData::Mode::None)
        throw Error(errUpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    if (!rs->cols[col].editable)
        throw Error(3164, QStringLiteral("Field cannot be updated."));
    rs->buffer[col] = rs->convert(col, v);
    rs->dirty[col] = true;
}

FieldType Field::Type() const
{
    return rs->cols[col].def.type;
}

int Field::Size() const
{
    return rs->cols[col].def.size;
}

bool Field::editable() const
{
    return rs->cols[col].editable;
}

// ---- Recordset ----

RecordsetData& Recordset::data() const
{
    if (!d)
        throw Error(3420, QStringLiteral("Object invalid or no longer set."));
    d->requireOpen();
    return *d;
}

int Recordset::FieldCount() const
{
    return int(data().cols.size());
}

Field& Recordset::Fields(int i)
{
    RecordsetData& r = data();
    if (i < 0 || i >= int(r.fields.size()))
        throw Error(errItemNotFound, QStringLiteral("Item not found in this collection."));
    return r.fields[std::size_t(i)];
}

Field& Recordset::Fields(const QString& name)
{
    RecordsetData& r = data();
    const int k = r.columnIndex(name);
    if (k < 0)
        throw Error(errItemNotFound, QStringLiteral("Item not found in this collection."));
    return r.fields[std::size_t(k)];
}

void Recordset::MoveFirst()
{
    RecordsetData& r = data();
    if (r.count() == 0)
        throw noCurrent();
    r.moving([&] { r.setPosition(0); });
}

void Recordset::MoveLast()
{
    RecordsetData& r = data();
    if (r.count() == 0)
        throw noCurrent();
    r.moving([&] { r.setPosition(r.count() - 1); });
}

void Recordset::MoveNext()
{
    RecordsetData& r = data();
    if (r.deletedCurrent) {  // the rows after a deleted one moved up into its place
        r.moving([&] { r.setPosition(r.pos); });
        return;
    }
    if (r.pos >= r.count())
        throw noCurrent();
    r.moving([&] { r.setPosition(r.pos + 1); });
}

void Recordset::MovePrevious()
{
    RecordsetData& r = data();
    if (r.pos < 0 || r.count() == 0)
        throw noCurrent();
    r.moving([&] { r.setPosition(r.pos - 1); });
}

void Recordset::Move(qint64 n)
{
    RecordsetData& r = data();
    if (n == 0)
        return;
    if (r.count() == 0 || (n > 0 && r.pos >= r.count()) || (n < 0 && r.pos < 0))
        throw noCurrent();
    if (r.deletedCurrent && n > 0)
        --n;
    r.moving([&] { r.setPosition(r.pos + n); });
}

bool Recordset::hasCurrentRecord() const
{
    return d && d->hasCurrent();
}

bool Recordset::editing() const
{
    return data().mode != RecordsetData::Mode::None;
}

bool Recordset::BOF() const
{
    const RecordsetData& r = data();
    return r.count() == 0 || r.pos < 0;
}

bool Recordset::EOF() const
{
    const RecordsetData& r = data();
    return r.count() == 0 || r.pos >= r.count();
}

qint64 Recordset::RecordCount() const
{
    return data().count();
}

qint64 Recordset::AbsolutePosition() const
{
    const RecordsetData& r = data();
    return r.hasCurrent() ? r.pos : -1;
}

void Recordset::setAbsolutePosition(qint64 n)
{
    RecordsetData& r = data();
    if (n < 0 || n >= r.count())
        throw Error(3001, QStringLiteral("Invalid argument."));
    r.moving([&] { r.setPosition(n); });
}

qint64 Recordset::Bookmark() const
{
    const RecordsetData& r = data();
    r.requireCurrent();
    return r.order[std::size_t(r.pos)];
}

void Recordset::setBookmark(qint64 b)
{
    RecordsetData& r = data();
    if (b >= 0 && b < r.count() && r.order[std::size_t(b)] == quint64(b)) {
        r.moving([&] { r.setPosition(b); });
        return;
    }
    for (qint64 p = 0; p < r.count(); ++p)
        if (r.order[std::size_t(p)] == quint64(b)) {
            r.moving([&] { r.setPosition(p); });
            return;
        }
    throw Error(3159, QStringLiteral("Not a valid bookmark."));
}

void Recordset::FindFirst(const QString& criteria, const std::vector<Variant>& params)
{
    RecordsetData& r = data();
    r.moving([&] { r.find(criteria, params, 0, 1); });
}

void Recordset::FindNext(const QString& criteria, const std::vector<Variant>& params)
{
    RecordsetData& r = data();
    r.moving([&] { r.find(criteria, params, r.deletedCurrent ? r.pos : std::max<qint64>(r.pos + 1, 0), 1); });
}

void Recordset::FindPrevious(const QString& criteria, const std::vector<Variant>& params)
{
    RecordsetData& r = data();
    r.moving([&] { r.find(criteria, params, std::min(r.pos, r.count()) - 1, -1); });
}

void Recordset::FindLast(const QString& criteria, const std::vector<Variant>& params)
{
    RecordsetData& r = data();
    r.moving([&] { r.find(criteria, params, r.count() - 1, -1); });
}

bool Recordset::NoMatch() const
{
    return data().noMatch;
}

void Recordset::Edit()
{
    RecordsetData& r = data();
    r.requireUpdatable();
    r.requireCurrent();
    r.mode = RecordsetData::Mode::Edit;
    std::fill(r.dirty.begin(), r.dirty.end(), false);
}

void Recordset::AddNew()
{
    RecordsetData& r = data();
    r.requireUpdatable();
    r.mode = RecordsetData::Mode::AddNew;
    std::fill(r.dirty.begin(), r.dirty.end(), false);
    std::fill(r.buffer.begin(), r.buffer.end(), Variant());
}

void Recordset::Update()
{
    RecordsetData& r = data();
    if (r.mode == RecordsetData::Mode::None)
        throw Error(errUpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    Connection& conn = *r.db.c;
    QStringList names;
    std::vector<Variant> values;
    std::vector<int> changed;
    for (int k = 0; k < int(r.cols.size()); ++k) {
        if (!r.dirty[k])
            continue;
        names << quoteIdentifier(r.cols[k].originColumn);
        values.push_back(r.buffer[k]);
        changed.push_back(k);
    }
    if (r.mode == RecordsetData::Mode::Edit) {
        r.requireCurrent();
        const quint32 stored = r.order[std::size_t(r.pos)];
        if (!changed.empty()) {
            QStringList sets;
            for (const QString& n : names)
                sets << n + QStringLiteral(" = ?");
            values.push_back(Variant(r.rowid(stored)));
            r.requireSameRow(stored);
            Stmt st(conn, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                              .arg(quoteIdentifier(r.table), sets.join(QStringLiteral(", "))));
            st.bindAll(values);
            st.step();
            r.requireRowFound();
            for (std::size_t u = 0; u < changed.size(); ++u)
                r.put(stored, changed[u], values[u]);
        }
        r.lastModified = stored;
        r.leaveEdit();
        r.notify([at = qint64(r.pos)](RecordsetObserver& o) { o.written(at); });
        return;
    }

    // AddNew: insert, then read the new row back with the table's defaults.
    {
        Stmt st(conn, changed.empty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdentifier(r.table))
                                      : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                            .arg(quoteIdentifier(r.table), names.join(QStringLiteral(", ")),
                                                 QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", "))));
        st.bindAll(values);
        st.step();
    }
    const qint64 rowid = sqlite3_last_insert_rowid(conn.db);
    r.added[rowid] = conn.events;
    const quint32 stored = r.store.addRow();
    r.store.set(stored, r.width - 1, Cell{{rowid}, SQLITE_INTEGER});
    QStringList readCols;
    std::vector<int> readIdx;
    for (int k = 0; k < int(r.cols.size()); ++k)
        if (!r.cols[k].originColumn.isEmpty()) {
            readCols << quoteIdentifier(r.cols[k].originColumn);
            readIdx.push_back(k);
        }
    if (!readCols.isEmpty()) {
        Stmt st(conn, QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                          .arg(readCols.join(QStringLiteral(", ")), quoteIdentifier(r.table)));
        st.bind(1, Variant(rowid));
        if (st.step())
            for (std::size_t u = 0; u < readIdx.size(); ++u)
                r.put(stored, readIdx[u], columnVariant(st.get(), int(u)));
    }
    r.order.push_back(stored);
    r.lastModified = stored;
    r.leaveEdit();
    r.notify([](RecordsetObserver& o) { o.written(-1); });
}

qint64 Recordset::LastModified() const
{
    const RecordsetData& r = data();
    if (r.lastModified < 0)
        throw noCurrent();
    return r.lastModified;
}

void Recordset::CancelUpdate()
{
    RecordsetData& r = data();
    if (r.mode == RecordsetData::Mode::None)
        throw Error(errUpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    r.leaveEdit();
}

void Recordset::Delete()
{
    RecordsetData& r = data();
    r.requireUpdatable();
    r.requireCurrent();
    r.leaveEdit();
    const quint32 stored = r.order[std::size_t(r.pos)];
    r.requireSameRow(stored);
    Stmt st(*r.db.c, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteIdentifier(r.table)));
    st.bind(1, Variant(r.rowid(stored)));
    st.step();
    r.requireRowFound();
    r.order.erase(r.order.begin() + r.pos);
    r.deletedCurrent = true;
    r.notify([](RecordsetObserver& o) { o.deleted(); });
}

bool Recordset::updatable() const
{
    const RecordsetData& r = data();
    return !r.table.isEmpty() && r.hasRowid && !r.db.c->readOnly;
}

void Recordset::Requery()
{
    RecordsetData& r = data();
    r.notify([](RecordsetObserver& o) { o.beforeMove(); });
    r.load();
    r.notify([](RecordsetObserver& o) { o.requeried(); });
}

void Recordset::subscribe(RecordsetObserver* observer)
{
    RecordsetData& r = data();
    if (std::find(r.observers.begin(), r.observers.end(), observer) == r.observers.end())
        r.observers.push_back(observer);
}

void Recordset::unsubscribe(RecordsetObserver* observer)
{
    if (d)
        d->observers.erase(std::remove(d->observers.begin(), d->observers.end(), observer), d->observers.end());
}

void Recordset::Close()
{
    if (!d)
        return;
    d->closed = true;
    d->store.reset(0);
    d->order = {};
    d->db = Database();
}

int Recordset::rowCount() const
{
    return int(data().count());
}

Variant Recordset::cell(int row, int col) const
{
    const RecordsetData& r = data();
    if (row < 0 || row >= r.count() || col < 0 || col >= int(r.cols.size()))
        throw Error(3001, QStringLiteral("Invalid argument."));
    return r.value(r.order[std::size_t(row)], col);
}

void Recordset::setCell(int row, int col, const Variant& v)
{
    RecordsetData& r = data();
    if (row < 0 || row >= r.count() || col < 0 || col >= int(r.cols.size()))
        throw Error(3001, QStringLiteral("Invalid argument."));
    r.requireUpdatable();
    if (!r.cols[col].editable)
        throw Error(3164, QStringLiteral("Field cannot be updated."));
    const Variant value = r.convert(col, v);
    const quint32 stored = r.order[std::size_t(row)];
    r.requireSameRow(stored);
    Stmt st(*r.db.c, QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
                         .arg(quoteIdentifier(r.table), quoteIdentifier(r.cols[col].originColumn)));
    st.bind(1, value);
    st.bind(2, Variant(r.rowid(stored)));
    st.step();
    r.requireRowFound();
    r.put(stored, col, value);
}

QString Recordset::fieldName(int col) const
{
    const RecordsetData& r = data();
    if (col < 0 || col >= int(r.cols.size()))
        throw Error(errItemNotFound, QStringLiteral("Item not found in this collection."));
    return r.cols[col].name;
}

bool Recordset::editable(int col) const
{
    const RecordsetData& r = data();
    return col >= 0 && col < int(r.cols.size()) && r.cols[col].editable && !r.table.isEmpty();
}

Database Recordset::database() const
{
    return data().db;
}

QString Recordset::source() const
{
    return data().source;
}

}  // namespace dao
