#include "tagging/tagcriteria.h"

#include "app/globals.h"
#include "platform/controls/DataControl.h"
#include "platform/forms/controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace tagging {

Criterion& Criterion::operator+=(const Criterion& more)
{
    sql += more.sql;
    params.insert(params.end(), more.params.begin(), more.params.end());
    return *this;
}

bool isBlankText(const QString& text)
{
    // Character-code comparison with " ": a shorter text that begins the longer one is the smaller.
    return QString::compare(text, QStringLiteral(" "), Qt::CaseSensitive) <= 0;
}

QString rtrim(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

QString containsPattern(const QString& text)
{
    return QLatin1Char('*') + rtrim(text) + QLatin1Char('*');
}

QString zeroFill(const QString& code)
{
    return (QStringLiteral("00000") + code).right(5);
}

Criterion exclusionClause(const QLineEdit* exclusion, const QString& column)
{
    if (!exclusion->isEnabled() || exclusion->text().isEmpty())
        return {};
    return {QStringLiteral(" and %1 not Like ?").arg(column), {containsPattern(exclusion->text())}};
}

QString countLine(qint64 n, bool twoBlanks)
{
    return QStringLiteral("This search found%1 %2 code(s) which are displayed below.")
        .arg(twoBlanks ? QStringLiteral(" ") : QString())
        .arg(n);
}

qint64 runPreview(platform::DataControl& data, const QString& sql, const std::vector<dao::Variant>& params)
{
    data.setRecordSource(sql, params);
    data.Refresh();
    auto& rs = data.Recordset();
    if (rs.EOF())
        return 0;
    rs.MoveLast();
    const qint64 n = rs.AbsolutePosition() + 1;
    rs.MoveFirst();
    return n;
}

void loadTagHistory(QComboBox* box)
{
    dao::Recordset rs = g().MainDb.OpenRecordset(QStringLiteral("SELECT HISTTEXT FROM THIST"));
    QStringList entries;
    if (!rs.EOF()) {
        rs.MoveLast();
        while (!rs.BOF()) {
            entries << rs["HISTTEXT"].Value().toString();
            rs.MovePrevious();
        }
    }
    rs.Close();
    // What the user typed stays in the box; filling the list raises no change of it.
    const QString typed = box->currentText();
    platform::fillList(box, entries);
    const QSignalBlocker block(box);
    box->setCurrentIndex(-1);
    box->setEditText(typed);
}

void rememberDescription(QComboBox* box)
{
    const QString typed = box->currentText();
    const QString newest = box->count() > 0 ? box->itemText(0) : QString();
    if (typed == newest)
        return;
    g().MainDb.Execute(QStringLiteral("INSERT INTO THIST (HISTTEXT) VALUES (?)"), {typed});
    loadTagHistory(box);
}

}  // namespace tagging
