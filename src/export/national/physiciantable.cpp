#include "export/national/physiciantable.h"

#include "app/globals.h"
#include "db/sqltext.h"
#include "export/ExprtInd.h"
#include "main/frmMain.h"
#include "platform/dao/Recordset.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/FormRegistry.h"
#include "platform/seam/Seam.h"

#include <sqlite3.h>

#include <QSet>
#include <cmath>
#include <cstdlib>

namespace physician {

const EngineRow kAllLocalityRow{true, false, true, true, false};
const EngineRow kCarrierRow{false, false, true, true, false};
const EngineRow kLookupRow{true, true, false, false, true};

namespace {

const char* const kTextColumns[] = {"STATUS", "NOTUSEDIND", "NAIND", "NAFIND", "PCTCIND", "PREOP", "INTRAOP",
                                    "POSTOP", "MULTPROC", "BILATSURG", "ASSTSURG", "COSURG", "TEAMSURG",
                                    "PHYSSUPV", "BMIND", "ENDOBASE", "GLOBAL", "CODEMOD"};
// Written as numbers, never scaled by the percentage: RVUs, service counts and OPPS values.
const char* const kUnscaledColumns[] = {"WORKZ", "MRVU", "NFTPERVU", "FTPERVU", "NON_PE_OPPS", "FAC_PE_OPPS",
                                        "MAL_PE_OPPS", "F1", "F2", "F3", "F4", "F5"};

// The fixed columns after the schedules' and frequencies', with their source columns.
struct Fixed {
    const char* name;
    int workWidth;     // width in the work table
    int exportWidth;   // width in the export file
    char exportKind;   // 's' STATE, 't' ST, 'c' CARRIER
};
const Fixed kHead[] = {{"STATUS", 3, 3, 's'},    {"NOTUSEDIND", 1, 1, 's'}, {"NAIND", 2, 2, 's'},
                       {"NAFIND", 2, 2, 's'},    {"PCTCIND", 2, 2, 's'},    {"PREOP", 12, 12, 's'},
                       {"INTRAOP", 12, 12, 's'}, {"POSTOP", 12, 12, 's'},   {"MULTPROC", 2, 2, 's'},
                       {"BILATSURG", 2, 2, 't'}, {"ASSTSURG", 2, 2, 't'},   {"COSURG", 2, 2, 't'},
                       {"TEAMSURG", 2, 2, 't'},  {"PHYSSUPV", 2, 2, 't'},   {"BMIND", 2, 2, 't'},
                       {"ENDOBASE", 12, 2, 't'}, {"GLOBAL", 12, 10, 't'}};

bool isOneOf(const QString& upper, const auto& names)
{
    for (const char* n : names)
        if (upper == QLatin1String(n))
            return true;
    return false;
}

QString q(const QString& name)
{
    return dao::quoteIdentifier(name);
}

// The column names of the RVU and OPPS columns of the fee type: work table, source.
QStringList feeTypeColumns(const EngineRow& row, bool facility)
{
    QStringList out{QStringLiteral("WORKZ"), QStringLiteral("MRVU"),
                    facility ? QStringLiteral("FTPERVU") : QStringLiteral("NFTPERVU")};
    if (row.oppsColumns)
        out << (facility ? QStringLiteral("FAC_PE_OPPS") : QStringLiteral("NON_PE_OPPS"))
            << QStringLiteral("MAL_PE_OPPS");
    return out;
}

// A table made by a plain statement: its columns keep their declared widths and hold what they are given.
void execRaw(dao::Database& db, const QString& sql)
{
    char* msg = nullptr;
    if (sqlite3_exec(db.handle(), sql.toUtf8().constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
        const QString text = QString::fromUtf8(msg ? msg : "");
        sqlite3_free(msg);
        throw dao::Error(3000, text);
    }
}

void checkDistinct(const QStringList& names)
{
    QSet<QString> seen;
    for (const QString& n : names) {
        if (n.trimmed().isEmpty())
            throw dao::Error(3125, QStringLiteral("'' is not a valid name.  Make sure that it does not include "
                                                  "invalid characters or punctuation and that it is not too long."));
        const QString key = n.toUpper();
        if (seen.contains(key))
            throw dao::Error(3191, QStringLiteral("Cannot define field more than once."));
        seen.insert(key);
    }
}

// The column names of both tables, in their order.
QStringList columnNames(const EngineRow& row, const Inputs& in, const std::vector<Locality>& locs)
{
    QStringList names{QStringLiteral("CODE"), QStringLiteral("MOD"), QStringLiteral("NAT")};
    for (const Fixed& f : kHead)
        names << QString::fromLatin1(f.name);
    names << in.schedules;
    for (int i = 1; i <= 5; ++i)
        names << QStringLiteral("F%1").arg(i);
    names << feeTypeColumns(row, in.facility);
    for (const Locality& l : locs)
        if (!l.column.isEmpty())
            names << l.column;
    names << QStringLiteral("CODEMOD");
    return names;
}

// A text that is a whole number, a decimal or an exponent form, blanks around it allowed.
bool parseNumber(const QByteArray& text, double& out)
{
    const QByteArray t = text.trimmed();
    if (t.isEmpty())
        return false;
    char* end = nullptr;
    out = std::strtod(t.constData(), &end);
    return end == t.constData() + t.size() && std::isfinite(out);
}

// The text work table: every column text, the fees as the engine writes numbers.
std::vector<dao::FieldDef> workFields(const QStringList& names, const Inputs& in, const QStringList& rvus)
{
    const int n = 8;  // the width of a double, as the locality tables declare their amounts
    std::vector<dao::FieldDef> out;
    for (const QString& name : names) {
        int width = n;
        if (name == QLatin1String("CODE"))
            width = 6;
        else if (name == QLatin1String("MOD"))
            width = 2;
        else if (name == QLatin1String("CODEMOD"))
            width = 8;
        else if (name == QLatin1String("WORKZ"))
            width = 1;
        else if (rvus.contains(name))
            width = 12;
        else if (name.startsWith(QLatin1Char('F')) && name.size() == 2 && name[1].isDigit())
            width = 8;
        else if (in.schedules.contains(name))
            width = 8;
        else
            for (const Fixed& f : kHead)
                if (name == QLatin1String(f.name))
                    width = f.workWidth;
        out.push_back({name, dao::FieldType::Text, width});
    }
    return out;
}

// The file's layout: text columns of the kinds of LOCATION's text columns, every other of the kind of WORK.
std::vector<dao::FieldDef> fileFields(const QStringList& names, const QStringList& rvus, dao::Database& mainDb)
{
    const dao::TableDef location = mainDb.tableDef(QStringLiteral("LOCATION"));
    if (location.fields.size() < 7)
        throw dao::Error(3265, QStringLiteral("Item not found in this collection."));
    const dao::FieldDef& state = location.fields[0];
    const dao::FieldDef& st = location.fields[1];
    const dao::FieldDef& carrier = location.fields[4];
    const dao::FieldDef& work = location.fields[6];
    const auto text = [](const dao::FieldDef& kind, int width) {
        dao::FieldDef f{QString(), kind.type, kind.type == dao::FieldType::Text ? width : kind.size};
        return f;
    };
    std::vector<dao::FieldDef> fields;
    for (const QString& name : names) {
        dao::FieldDef f;
        if (name == QLatin1String("CODE"))
            f = text(state, 6);
        else if (name == QLatin1String("MOD"))
            f = text(state, 2);
        else if (name == QLatin1String("CODEMOD"))
            f = text(st, 8);
        else if (name == QLatin1String("WORKZ"))
            f = text(carrier, 1);
        else if (rvus.contains(name))
            f = text(carrier, 12);
        else {
            f = work;
            for (const Fixed& x : kHead)
                if (name == QLatin1String(x.name))
                    f = text(x.exportKind == 's' ? state : st, x.exportWidth);
        }
        f.name = name;
        fields.push_back(f);
    }
    return fields;
}

bool isText(const dao::FieldDef& f)
{
    return f.type == dao::FieldType::Text || f.type == dao::FieldType::Memo;
}

// Makes the table with its index. Its columns keep their declared widths and hold what they are given; where only
// MOD takes the empty text, every other text column says so in its declaration.
void createTable(const EngineRow& row, dao::Database& db, const QString& table,
                 const std::vector<dao::FieldDef>& fields)
{
    QStringList defs;
    for (const dao::FieldDef& f : fields) {
        QString def = q(f.name) + QLatin1Char(' ') + dao::declaredType(f);
        if (row.emptyTextInModOnly && isText(f) && f.name.compare(QLatin1String("MOD"), Qt::CaseInsensitive) != 0)
            def += QStringLiteral(" CHECK (%1 <> '')").arg(q(f.name));
        defs << def;
    }
    execRaw(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(q(table), defs.join(QStringLiteral(", "))));
    db.CreateIndex(table, {QStringLiteral("CODEMODIndexx"), {QStringLiteral("CODEMOD")}, false, false});
}

// Whole cents of the 15-significant-digit decimal form of v, a half rounded away from zero.
qint64 cents(double v)
{
    const double y = std::fabs(v) * 100.0;
    if (y < 1e13) {
        const double whole = std::floor(y);
        const double frac = y - whole;
        if (std::fabs(frac - 0.5) > y * 1e-14 + 1e-9) {
            const qint64 c = qint64(whole) + (frac > 0.5 ? 1 : 0);
            return v < 0 ? -c : c;
        }
    }
    return qint64(std::llround(jet::format(dao::Variant(v), QStringLiteral("0.00")).toDouble() * 100.0));
}

}  // namespace

QString twoDecimals(double v)
{
    const double y = std::fabs(v) * 100.0;
    if (!(y < 1e13))
        return jet::format(dao::Variant(v), QStringLiteral("####0.00;;"));
    const qint64 c = cents(v);
    if (c == 0)
        return QStringLiteral("0.00");
    const qint64 a = c < 0 ? -c : c;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%lld.%02lld", c < 0 ? "-" : "", static_cast<long long>(a / 100),
                  static_cast<long long>(a % 100));
    return QString::fromLatin1(buf);
}

double twoDecimalsValue(double v)
{
    const double y = std::fabs(v) * 100.0;
    if (!(y < 1e13))
        return jet::format(dao::Variant(v), QStringLiteral("0.00")).toDouble();
    return double(cents(v)) / 100.0;
}

double percentFrom(const QString& text)
{
    if (text.trimmed().isEmpty())
        return 0;
    double p = 0;
    if (!parseNumber(text.toUtf8(), p))
        throw dao::Error(13, QStringLiteral("Type mismatch"));
    return p;
}

Inputs currentInputs(dao::Database& mainDb, bool facility, const QString& percentText)
{
    Inputs in;
    in.percent = percentFrom(percentText);
    in.facility = facility;
    in.sessionTable = g().CurSesTab;
    in.convFactor = g().ConvFactor;
    if (auto* main = dynamic_cast<frmMain*>(platform::forms().loadedByName(QStringLiteral("frmMain"))))
        in.oppsView = main->cmboCurrentView->currentText() == QLatin1String("KELVA OPPS");
    dao::Recordset parms = mainDb.OpenRecordset(QStringLiteral("SELECT S1, S2, S3, S4, S5, CARRIER, Loc FROM PARMS_CL"));
    if (parms.rowCount() == 0)
        throw dao::Error(3021, QStringLiteral("No current record."));
    for (int i = 0; i < 5; ++i)
        in.schedules << parms.cell(0, i).toString();
    in.carrier = parms.cell(0, 5);
    in.loc = parms.cell(0, 6);
    return in;
}

std::vector<Locality> localities(const EngineRow& row, dao::Database& mainDb)
{
    dao::Recordset rs = mainDb.OpenRecordset(
        QStringLiteral("SELECT ST, CARRIER, LOCCODE, WORK, PRACT, MALP FROM LOCATION ORDER BY rowid"));
    std::vector<Locality> out;
    for (int r = 0; r < rs.rowCount(); ++r) {
        Locality l;
        const QString st = rs.cell(r, 0).toString();
        if (st != QLatin1String("**")) {
            const QString tail = rs.cell(r, 1).toString() + QLatin1Char('_') + rs.cell(r, 2).toString();
            l.column = row.stateInColumnName ? st + QLatin1Char('_') + tail : tail;
        }
        l.work = rs.cell(r, 3);
        l.pract = rs.cell(r, 4);
        l.malp = rs.cell(r, 5);
        out.push_back(l);
    }
    return out;
}

void dropTable(dao::Database& db, const QString& table)
{
    if (db.hasTable(table))
        db.Execute(QStringLiteral("DROP TABLE ") + q(table));
}

void defineFileTable(const EngineRow& row, const Inputs& in, const std::vector<Locality>& locs,
                     dao::Database& mainDb, dao::Database& target, const QString& table)
{
    const QStringList names = columnNames(row, in, locs);
    checkDistinct(names);
    createTable(row, target, table, fileFields(names, feeTypeColumns(row, in.facility), mainDb));
}

void buildWorkTable(const EngineRow& row, const Inputs& in, dao::Database& mainDb, ExprtInd& progress,
                    const QString& table)
{
    const std::vector<Locality> locs = localities(row, mainDb);
    const QStringList names = columnNames(row, in, locs);
    checkDistinct(names);

    progress.Show();
    seam().DoEvents();
    progress.Show();

    // From here to the end of the run the main database changes in one transaction.
    mainDb.BeginTrans();
    dropTable(mainDb, table);
    const QStringList rvus = feeTypeColumns(row, in.facility);
    createTable(row, mainDb, table, row.typedWorkTable ? fileFields(names, rvus, mainDb) : workFields(names, in, rvus));
    fillWorkTable(row, in, locs, mainDb, progress, table);
}

void fillWorkTable(const EngineRow& row, const Inputs& in, const std::vector<Locality>& locs,
                   dao::Database& mainDb, ExprtInd& progress, const QString& table)
{
    progress.setPrg1Value(1);
    progress.setPrg1Max(double(2 * locs.size() + 200));

    // The copy: every code of the source, each fee priced from the session table's row of its CODEMOD. An empty
    // text reaches only the column that takes it.
    const auto text = [&](const QString& source) {
        return row.emptyTextInModOnly ? QStringLiteral("NULLIF(%1, '')").arg(source) : source;
    };
    QStringList targets{QStringLiteral("CODE"), QStringLiteral("MOD"), QStringLiteral("CODEMOD")};
    QStringList sources{text(QStringLiteral("s.\"cpt\"")), QStringLiteral("s.\"mod\""),
                        text(QStringLiteral("s.\"codemod\""))};
    for (const Fixed& f : kHead) {
        targets << QString::fromLatin1(f.name);
        sources << text(QStringLiteral("s.") + q(QString::fromLatin1(f.name)));
    }
    for (int i = 0; i < 5; ++i) {
        targets << in.schedules[i];
        sources << QStringLiteral("s.\"S%1\"").arg(i + 1);
    }
    for (int i = 1; i <= 5; ++i) {
        targets << QStringLiteral("F%1").arg(i);
        sources << QStringLiteral("s.\"Freq%1\"").arg(i);
    }
    for (const QString& c : feeTypeColumns(row, in.facility)) {
        targets << c;
        sources << QStringLiteral("s.") + q(c);
    }
    const QString pe = in.facility ? QStringLiteral("F98WORK") : QStringLiteral("NF98WORK");
    const QString cf = db::sqlNumber(in.convFactor);
    int national = -1;
    for (int i = 0; i < int(locs.size()); ++i)
        if (locs[std::size_t(i)].column.isEmpty())
            national = i;  // of several national rows the last fills NAT
    for (int i = 0; i < int(locs.size()); ++i) {
        const Locality& l = locs[std::size_t(i)];
        if (l.column.isEmpty() && i != national)
            continue;
        targets << (l.column.isEmpty() ? QStringLiteral("NAT") : l.column);
        if (l.work.isNull() || l.pract.isNull() || l.malp.isNull()) {
            sources << QStringLiteral("NULL");
            continue;
        }
        const QString fee = QStringLiteral("round(((f.w * %1) + (f.pe * %2) + (f.m * %3)) * %4, 2) * f.cf")
                                .arg(db::sqlNumber(l.work.toDouble()), db::sqlNumber(l.pract.toDouble()),
                                     db::sqlNumber(l.malp.toDouble()), cf);
        sources << (row.typedWorkTable ? QStringLiteral("CASE WHEN f.ok THEN %1 END").arg(fee)
                                       : QStringLiteral("CASE WHEN f.ok THEN printf('%.15g', %1 + 0.0) END").arg(fee));
    }
    QStringList quoted;
    for (const QString& t : targets)
        quoted << q(t);
    const QString t = q(in.sessionTable);
    QString sql = QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4 AS s LEFT JOIN (SELECT \"CODEMOD\" AS k, "
                                 "\"WORKZ\" AS w, %5 AS pe, \"MRVU\" AS m, \"calcflag\" AS cf, (\"WORKZ\" IS NOT NULL "
                                 "AND %5 IS NOT NULL AND \"MRVU\" IS NOT NULL AND \"calcflag\" IS NOT NULL) AS ok "
                                 "FROM %6 GROUP BY \"CODEMOD\") AS f ON f.k = s.\"codemod\"")
                      .arg(q(table), quoted.join(QStringLiteral(", ")), sources.join(QStringLiteral(", ")),
                           in.oppsView ? QStringLiteral("\"DATAOPPSVIEW\"") : t, q(pe), t);
    std::vector<dao::Variant> params;
    if (in.oppsView) {
        sql += QStringLiteral(" WHERE s.\"carrier\" = ? AND s.\"locality\" = ?");
        params = {in.carrier, in.loc};
    }
    mainDb.Execute(sql, params);
    progress.setPrg1Value(progress.prg1Value() + double(locs.size()));
}

qint64 buildExportTable(const EngineRow& row, const Inputs& in, dao::Database& mainDb, dao::Database& target,
                        ExprtInd& progress, const QString& table)
{
    // The work table's columns, in its order, make the export file's.
    QStringList names;
    for (const dao::FieldDef& wf : mainDb.tableDef(table).fields)
        names << wf.name;
    createTable(row, target, table, fileFields(names, feeTypeColumns(row, in.facility), mainDb));
    return copyRows(row, in, mainDb, target, progress, table);
}

qint64 copyRows(const EngineRow& row, const Inputs& in, dao::Database& mainDb, dao::Database& target,
                ExprtInd& progress, const QString& table)
{
    const std::vector<dao::FieldDef> fields = target.tableDef(table).fields;
    // Column classes: 0 text, 1 number as stored, 2 amount.
    std::vector<int> cls;
    std::vector<bool> numberTarget;
    std::vector<bool> nullAsEmpty;  // a Null text is written as the empty text
    QStringList quoted;
    for (const dao::FieldDef& f : fields) {
        const QString upper = f.name.toUpper();
        const bool text =
            upper == QLatin1String("CODE") || upper == QLatin1String("MOD") || isOneOf(upper, kTextColumns);
        cls.push_back(text ? 0 : isOneOf(upper, kUnscaledColumns) ? 1 : 2);
        numberTarget.push_back(!isText(f));
        nullAsEmpty.push_back(!row.emptyTextInModOnly || upper == QLatin1String("MOD"));
        quoted << q(f.name);
    }
    const double factor = row.percentage ? in.percent / 100.0 + 1.0 : 1.0;
    const bool scale = row.percentage && in.percent != 0;

    sqlite3_stmt* read = nullptr;
    sqlite3_stmt* write = nullptr;
    const auto finish = [&] {
        sqlite3_finalize(read);
        sqlite3_finalize(write);
    };
    const auto fail = [&](sqlite3* h) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(h));
        finish();
        throw dao::Error(3000, msg);
    };
    const QByteArray select = QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                                  .arg(quoted.join(QStringLiteral(", ")), q(table)).toUtf8();
    if (sqlite3_prepare_v2(mainDb.handle(), select.constData(), -1, &read, nullptr) != SQLITE_OK)
        fail(mainDb.handle());
    const QByteArray insert =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(q(table), quoted.join(QStringLiteral(", ")),
                 QStringList(int(fields.size()), QStringLiteral("?")).join(QStringLiteral(", ")))
            .toUtf8();
    if (sqlite3_prepare_v2(target.handle(), insert.constData(), -1, &write, nullptr) != SQLITE_OK)
        fail(target.handle());

    qint64 written = 0;
    target.BeginTrans();
    const int count = int(fields.size());
    for (;;) {
        const int rc = sqlite3_step(read);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            fail(mainDb.handle());
        sqlite3_reset(write);
        for (int c = 0; c < count; ++c) {
            const int type = sqlite3_column_type(read, c);
            if (cls[std::size_t(c)] == 0) {
                if (type == SQLITE_NULL && nullAsEmpty[std::size_t(c)])
                    sqlite3_bind_text(write, c + 1, "", 0, SQLITE_STATIC);
                else if (type == SQLITE_NULL)
                    sqlite3_bind_null(write, c + 1);
                else
                    sqlite3_bind_text(write, c + 1, reinterpret_cast<const char*>(sqlite3_column_text(read, c)),
                                      sqlite3_column_bytes(read, c), SQLITE_TRANSIENT);
                continue;
            }
            if (type == SQLITE_NULL) {
                sqlite3_bind_int(write, c + 1, 0);
                continue;
            }
            double v = 0;
            if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
                v = sqlite3_column_double(read, c);
            } else {
                const QByteArray raw(reinterpret_cast<const char*>(sqlite3_column_text(read, c)),
                                     sqlite3_column_bytes(read, c));
                if (!parseNumber(raw, v)) {
                    finish();
                    throw dao::Error(13, QStringLiteral("Type mismatch"));
                }
            }
            if (scale && cls[std::size_t(c)] == 2)
                v *= factor;
            if (numberTarget[std::size_t(c)]) {
                sqlite3_bind_double(write, c + 1, twoDecimalsValue(v));
            } else {
                const QByteArray s = twoDecimals(v).toLatin1();
                sqlite3_bind_text(write, c + 1, s.constData(), int(s.size()), SQLITE_TRANSIENT);
            }
        }
        if (sqlite3_step(write) != SQLITE_DONE)
            fail(target.handle());
        ++written;
    }
    finish();
    target.CommitTrans();
    if (written == 0)
        throw dao::Error(3021, QStringLiteral("No current record."));
    progress.setPrg1Value(progress.prg1Max());
    return written;
}

}  // namespace physician
