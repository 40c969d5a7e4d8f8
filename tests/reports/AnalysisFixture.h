#pragma once

#include "ReportsFixture.h"
#include "reports/frmAnal.h"

#include <QLineEdit>
#include <QTest>

// The analysis window over a session table holding only the codes a case needs.
class AnalysisFixture : public ReportsFixture {
protected:
    // Rows "CPT|MOD|Tag|S1|S2|S3|Freq1|Freq2|Freq3"; an empty cell is Null.
    void setCodes(const QStringList& rows, const QString& table = QStringLiteral("DATA0001"))
    {
        dao::Database d = db();
        d.Execute(QStringLiteral("DELETE FROM %1").arg(table));
        for (const QString& row : rows) {
            const QStringList c = row.split(QLatin1Char('|'));
            std::vector<dao::Variant> p;
            p.push_back(c[0] + c[1]);
            for (int i = 0; i < 9; ++i) {
                if (i >= c.size() || c[i].isEmpty())
                    p.push_back(dao::Variant());
                else if (i < 3)
                    p.push_back(c[i]);
                else
                    p.push_back(c[i].toDouble());
            }
            p.push_back(c[0]);
            d.Execute(QStringLiteral("INSERT INTO %1 (CODEMOD, CPT, [MOD], Tag, S1, S2, S3, Freq1, Freq2, Freq3, "
                                     "[DESC]) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'Desc ' || ?)")
                          .arg(table),
                      p);
        }
    }
    void nameSchedules(const QStringList& names)
    {
        for (int k = 0; k < names.size(); ++k)
            db().Execute(QStringLiteral("UPDATE SESSIONS SET S%1NAME = ? WHERE Session = 'Sample'").arg(k + 1),
                         {names[k].isEmpty() ? dao::Variant() : dao::Variant(names[k])});
        main->Data3.Refresh();
        main->Data3.Recordset().FindFirst("Session = 'Sample'");
    }
    // Opened as the toolbar opens it: busy cursor raised, loaded afresh.
    frmAnal& open()
    {
        platform::SetBusyCursor(11);
        platform::forms().unloadIfLoaded<frmAnal>();
        return static_cast<frmAnal&>(*platform::forms().getByName("frmAnal"));
    }
    // The grid's rows as "CPT|MOD|SES|FREQ|STotal" (Null as "<null>").
    static QStringList gridRows(frmAnal& w) { return rowsOf(w.Data1.Recordset()); }
    QStringList queryRows(const QString& sql)
    {
        dao::Database d = db();
        dao::Recordset rs = d.OpenRecordset(sql);
        return rowsOf(rs);
    }
    static QStringList rowsOf(dao::Recordset& rs)
    {
        QStringList out;
        for (int r = 0; r < rs.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < rs.FieldCount(); ++c) {
                const dao::Variant v = rs.cell(r, c);
                cells << (v.isNull() ? QStringLiteral("<null>") : v.toString());
            }
            out << cells.join('|');
        }
        return out;
    }
    static QStringList percentages(frmAnal& w)
    {
        QStringList out;
        for (int r = 0; r < w.perc->rowCount(); ++r)
            out << w.perc->item(r, 0)->text();
        return out;
    }
    static QLineEdit* editor(frmAnal& w)
    {
        return qobject_cast<QLineEdit*>(w.adbg(0)->indexWidget(w.adbg(0)->currentIndex()));
    }
    // Goes to a cell and types into it as the user does; the edit stays open.
    static void type(frmAnal& w, int row, int col, const QString& text)
    {
        platform::DBGrid* g = w.adbg(0);
        g->setCurrentIndex(g->model()->index(row, col));
        QTest::keyClick(g, Qt::Key_F2);
        ASSERT_TRUE(g->isEditing());
        editor(w)->selectAll();
        if (text.isEmpty())
            QTest::keyClick(editor(w), Qt::Key_Backspace);
        else
            QTest::keyClicks(editor(w), text);  // the first key the cell takes replaces its text
    }
    // Takes the open edit into the row as the grid does when its editor loses the focus (Enter is one of the
    // keys the cells refuse).
    static void enter(frmAnal& w)
    {
        QLineEdit* e = editor(w);
        ASSERT_TRUE(e);
        QMetaObject::invokeMethod(w.adbg(0), "commitData", Q_ARG(QWidget*, e));
        QMetaObject::invokeMethod(w.adbg(0), "closeEditor", Q_ARG(QWidget*, e),
                                  Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    }
    dao::Variant stored(const QString& column, const QString& codemod)
    {
        return db().scalar(QStringLiteral("SELECT %1 FROM DATA0001 WHERE CODEMOD = ?").arg(column), {codemod});
    }
};
