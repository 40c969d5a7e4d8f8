#include "export/session/tableexport.h"

#include "export/ExprtInd.h"
#include "export/rules/exportrules.h"
#include "export/session/tablefields.h"

#include <QStringList>
#include <vector>

namespace tableexport {

void appendRows(dao::Recordset& rows, dao::Database out, dao::Recordset& table, const Target& target,
                ExprtInd* progress)
{
    // The columns by name, once: the target's as its table spells them.
    auto find = [](dao::Recordset& rs, const QString& name) {
        for (int i = 0; i < rs.FieldCount(); ++i)
            if (rs.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
                return i;
        throw dao::Error(dao::errItemNotFound, QStringLiteral("Item not found in this collection."));
    };
    struct Column {
        int source;
        tablefields::Value value;
    };
    std::vector<Column> columns;
    QStringList names, marks;
    for (const tablefields::Field& f : tablefields::fields()) {
        // dBASE names hold at most ten characters: its template has no OPPS factor columns.
        if ((target.opps || target.dbase) && f.oppsFactor)
            continue;
        names << dao::quoteIdentifier(table.fieldName(find(table, tablefields::targetName(f, target.access))));
        marks << QStringLiteral("?");
        columns.push_back({find(rows, QString::fromLatin1(f.source)), f.value});
    }
    // One statement for every record: the layer keeps it prepared.
    const QString insert = QStringLiteral("INSERT INTO ") + dao::quoteIdentifier(table.source()) + QStringLiteral(" (")
                           + names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (")
                           + marks.join(QStringLiteral(", ")) + QLatin1Char(')');

    exportrules::startRows(rows, progress);

    std::vector<dao::Variant> values(columns.size());
    out.BeginTrans();
    try {
        for (; !rows.EOF(); rows.MoveNext()) {
            for (std::size_t i = 0; i < columns.size(); ++i)
                values[i] = tablefields::converted(columns[i].value, rows.Fields(columns[i].source).Value());
            out.Execute(insert, values);
            if (progress)
                progress->setPrg1Value(progress->prg1Value() + 1);
        }
    } catch (const dao::Error&) {
        // The records saved before the failing one stay in the file.
        out.CommitTrans();
        throw;
    }
    out.CommitTrans();
}

}  // namespace tableexport
