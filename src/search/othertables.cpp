#include "search/othertables.h"

#include "app/globals.h"
#include "db/sqltext.h"
#include "main/frmMain.h"
#include "platform/forms/FormRegistry.h"
#include "search/findengine.h"
#include "search/frmCodeTable.h"

namespace search {

namespace {

// The rows each family offers, as its view has them: J-codes priced in the chosen state, ASC codes that
// also stand in DATA0000 with DATA0000's description. State columns come from the parameter row and must
// be columns of their table. %S: the state column.
struct OtherTable {
    Family family;
    const char* rows;
    const char* stateColumn;  // PARMS_CL's column naming the table's state column, nullptr for none
    const char* stateTable;
    const char* both;
    const char* codeOnly;
    const char* descOnly;
};

const OtherTable kOtherTables[] = {
    {Kelva, "SELECT CPT, [DESC], LDESC FROM %T", nullptr, nullptr, "CPT%L OR [Desc]%L OR [LDesc]%L", "CPT%L",
     "[Desc]%L OR [LDesc]%L"},
    {Dme, "SELECT HCPCS, %S AS STATE, Description FROM DME", "DMESTATE", "DME", "HCPCS%L OR Description%L",
     "HCPCS%L", "Description%L"},
    {Drg, "SELECT format(DRG, '000') AS DRG, [DESC] FROM DRG", nullptr, nullptr, "DRG%L OR [DESC]%L", "DRG%L",
     "[DESC]%L"},
    {Jcd, "SELECT HCPCS, Description FROM JCD WHERE %S > 0", "JCDSTATE", "JCD", "HCPCS%L OR Description%L",
     "HCPCS%L", "Description%L"},
    {Lab, "SELECT HCPCS, %S AS STATE, Description FROM LAB", "LABSTATE", "LAB", "HCPCS%L OR Description%L",
     "HCPCS%L", "Description%L"},
    {Asc,
     "SELECT ASCGROUPS.CODE AS CODE, DATA0000.[DESC] AS [DESC] FROM ASCGROUPS INNER JOIN DATA0000 ON "
     "ASCGROUPS.CODE = DATA0000.CODEMOD",
     nullptr, nullptr, "CODE%L OR [DESC]%L", "CODE%L", "[DESC]%L"},
};

}  // namespace

std::vector<ExistenceQuery> otherTableQueries(dao::Database& db, const QString& text, const QString& field,
                                              const QString& current)
{
    const QString pattern = QLatin1Char('*') + literalPattern(text) + QLatin1Char('*');
    std::vector<ExistenceQuery> out;
    for (const OtherTable& t : kOtherTables) {
        const FindFamily& family = kFindFamilies[t.family];
        if (current == QLatin1String(family.code))
            continue;
        ExistenceQuery q{t.family, {}, {}, {}};
        try {
            QString rows = QString::fromLatin1(t.rows);
            rows.replace(QStringLiteral("%T"), dao::quoteIdentifier(g().CurSesTab.trimmed()));
            if (t.stateColumn) {
                const QString state =
                    db.scalar(QStringLiteral("SELECT %1 FROM PARMS_CL").arg(QString::fromLatin1(t.stateColumn)))
                        .toString();
                rows.replace(QStringLiteral("%S"), db::checkedColumn(db, QString::fromLatin1(t.stateTable), state));
            }
            const char* shape = field == QLatin1String("*")   ? t.both
                                : field == QLatin1String("1") ? t.codeOnly
                                                              : t.descOnly;
            QString criterion = QString::fromLatin1(shape);
            const qsizetype n = criterion.count(QStringLiteral("%L"));
            criterion.replace(QStringLiteral("%L"), QStringLiteral(" LIKE ?"));
            q.sql = QStringLiteral("SELECT 1 FROM (%1) WHERE %2 LIMIT 1").arg(rows, criterion);
            q.params.assign(std::size_t(n), dao::Variant(pattern));
        } catch (const dao::Error& e) {
            q.error = e.description;
        }
        out.push_back(std::move(q));
    }
    return out;
}

}  // namespace search

QString FindInOtherTables(const QString& text, const QString& field, const QString& current)
{
    dao::Database& db = g().MainDb;
    QString found;
    for (const search::ExistenceQuery& q : search::otherTableQueries(db, text, field, current)) {
        if (!q.error.isEmpty())
            continue;
        // A family whose rows cannot be read (a missing column, a locked table) is passed over.
        bool exists = false;
        try {
            exists = !db.scalar(q.sql, q.params).isNull();
        } catch (const dao::Error&) {
            continue;
        }
        if (exists)
            found += (found.isEmpty() ? QStringLiteral(" ") : QStringLiteral(", ")) +
                     QString::fromLatin1(search::kFindFamilies[q.family].code);
    }
    return found;
}

void EnableFoundTables()
{
    frmCodeTable& t = forms().get<frmCodeTable>();
    for (int i = 0; i < search::FamilyCount; ++i)
        if (!g().FoundInTables.contains(QString::fromLatin1(search::kFindFamilies[i].code), Qt::CaseInsensitive))
            t.Option1(i)->setEnabled(false);
}

void ChooseOtherTable(int own)
{
    frmCodeTable& t = forms().get<frmCodeTable>();
    EnableFoundTables();
    t.Option1(own)->setEnabled(false);
    t.Show(vbModal);
}
