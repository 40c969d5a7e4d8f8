#include "userdata/frmImport.h"

#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/dao/Transaction.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/forms/guarded.h"
#include "platform/seam/Seam.h"
#include "userdata/frmTableSelect.h"
#include "userdata/importrows.h"

#include <QDir>
#include <QFileInfo>
#include <array>

KELVA_FORM_NAME(frmImport)

using platform::newControl;
using platform::SetBusyCursor;
using userimport::releaseSource;

namespace {

// A fee as the statement takes it: Null, empty and negative values are 0; a text that is no number
// cannot be read.
dao::Variant feeValue(const dao::Variant& v, const QString& path)
{
    if (v.isNull())
        return dao::Variant(0.0);
    double d = 0;
    if (v.type() == dao::Variant::Type::Double || v.type() == dao::Variant::Type::Long)
        d = v.toDouble();
    else if (v.toString().isEmpty())
        return dao::Variant(0.0);
    else if (!dao::parseNumber(v.toString(), &d))
        throw dao::Error(13, QStringLiteral("Type mismatch: '%1' in %2 is no number.").arg(v.toString(), path));
    return dao::Variant(d < 0 ? 0.0 : d);
}

}  // namespace

frmImport::frmImport()
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setCaption(QStringLiteral("KELVA Morvex Fee Import"));
    platform::useDesignFont(this);
    setFixedSize(platform::tw(6000), platform::tw(2760));

    Label1 = newControl<QLabel>(this, "Label1", 240, 180, 5520, 1620,
                                QStringLiteral("Import Schedules is designed for importing user defined fees into user "
                                               "schedules S1 through S5 as an alternative to entering the information "
                                               "by hand on the main screen.  A valid code must exist in the KELVA Morvex "
                                               "program in order for the schedule data to be imported.  Please see the "
                                               "help file for more information."));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Command1 = newControl<QPushButton>(this, "Command1", 2880, 2040, 1335, 420, QStringLiteral("Continue"));
    Command2 = newControl<QPushButton>(this, "Command2", 4425, 2040, 1335, 420, QStringLiteral("Return"));
    platform::onClick(Command1, [this] { Command1_Click(); });
    platform::onClick(Command2, [this] { Command2_Click(); });
}

void frmImport::Command2_Click()
{
    Unload();
}

void frmImport::Command1_Click()
{
    const QString folder = QDir::currentPath();
    frmMain& main = platform::forms().get<frmMain>();
    platform::StepGuard step;
    bool busy = false;
    try {
        step(QStringLiteral("No file Imported"));
        dia.CancelError = true;
        dia.Flags = 4100;
        dia.DialogTitle = QStringLiteral("Select the file to import from.");
        dia.Filter = QStringLiteral("Excel 4.0 (*.xls)|*.xls|Access (*.mdb)|*.mdb|Comma Delimited Text (*.csv)|*.csv");
        dia.FilterIndex = 1;
        dia.FileName = QString();
        dia.ShowOpen();
        const QString path = dia.FileName;
        const QString name = QFileInfo(path).fileName();
        if (name.toUpper() == QLatin1String("KELVA.MDB")) {
            seam().MsgBox(QStringLiteral("You can not import from the KELVA Morvex main database."));
            return;
        }
        update();
        main.update();

        // A worksheet is named like its file up to the first "."; a dBASE or text table is its file's whole
        // name without the extension, so fees.2004.dbf is read itself.
        const QString kind = path.right(3).toLower();
        const QString fileFolder = QFileInfo(path).absolutePath() + QLatin1Char('/');
        const QString sheet = name.section(QLatin1Char('.'), 0, 0);
        const QString table = QFileInfo(name).completeBaseName();
        const bool dotted = name.contains(QLatin1Char('.'));
        QString connect, database, source;
        if (kind == QLatin1String("dbf") && dotted) {
            connect = QStringLiteral("dBASE III;"), database = fileFolder, source = table;
        } else if (kind == QLatin1String("csv") && dotted) {
            connect = QStringLiteral("Text;"), database = fileFolder, source = table + QStringLiteral("#csv");
        } else if (kind == QLatin1String("xls") && dotted) {
            connect = QStringLiteral("Excel 4.0;"), database = path, source = sheet + QLatin1Char('$');
        } else if (kind == QLatin1String("wk1") && dotted) {
            connect = QStringLiteral("Lotus WK1;"), database = path, source = sheet + QLatin1Char(':');
        } else if (kind == QLatin1String("mdb")) {
            const QString chosen = frmTableSelect::Choose(path);
            if (chosen == QLatin1String("nothing")) {
                seam().MsgBox(QStringLiteral("Import Canceled.  Click Ok to return to main browser."));
                return;
            }
            connect = QStringLiteral("Access"), database = path, source = chosen;
        } else {
            throw dao::Error(0, QString());
        }

        step(QStringLiteral("Error Opening ") + path);
        if (source.isEmpty())
            throw dao::Error(3011, QStringLiteral("No table was chosen."));
        main.Data4.setConnect(connect);
        main.Data4.setDatabaseName(database);
        main.Data4.setRecordSource(source);
        main.Data4.Refresh();

        SetBusyCursor(11);
        busy = true;
        step(QStringLiteral("Error Reading Data from ") + path);
        if (!ImportRows(path))
            return;

        releaseSource(main.Data4);
        SetBusyCursor(0);
        busy = false;
        QDir::setCurrent(folder);
        main.Data1.Refresh();
        seam().MsgBox(QStringLiteral("File Imported Successfully"));
        main.RequestReload(2);
        Unload();
    } catch (const dao::Error&) {
        seam().MsgBox(step.text());
        QDir::setCurrent(folder);
        if (busy)
            SetBusyCursor(0);
    }
}

bool frmImport::ImportRows(const QString& path)
{
    static const char* const kColumns[5] = {"S1", "S2", "S3", "S4", "S5"};
    dao::Recordset& rs = platform::forms().get<frmMain>().Data4.Recordset();

    // Columns by their whole names; of "code" and "cpt" the later one.
    QStringList names;
    for (int i = 0; i < rs.FieldCount(); ++i)
        names << rs.Fields(i).Name();
    const userimport::SourceColumns columns = userimport::sourceColumns(names, userimport::Member::Schedules);
    const int code = columns.code;
    const int mod = columns.mod;
    const std::array<int, 5>& value = columns.value;
    if (code < 0) {
        seam().MsgBox(QString::fromLatin1(userimport::kNoCodeColumnText));
        SetBusyCursor(0);
        return false;
    }
    if (!columns.anyValue()) {
        seam().MsgBox(userimport::noValueColumnText(userimport::Member::Schedules));
        SetBusyCursor(0);
        return false;
    }

    dao::Transaction transaction(g().MainDb);
    QString sql = QStringLiteral("UPDATE ") + dao::quoteIdentifier(g().CurSesTab) + QStringLiteral(" SET ");
    for (int k = 0, written = 0; k < 5; ++k) {
        if (value[size_t(k)] < 0)
            continue;
        sql += (written++ ? QStringLiteral(", ") : QString()) + QLatin1String(kColumns[k]) + QStringLiteral(" = ?");
    }
    sql += QStringLiteral(" WHERE CODEMOD = ?");
    std::vector<dao::Variant> params;
    for (; !rs.EOF(); rs.MoveNext()) {
        params.clear();
        QString key;
        const dao::Variant c = rs.Fields(code).Value();
        if (!c.isNull()) {
            key = dao::CStr(c);
            if (key.size() > 5)
                throw dao::Error(13, QStringLiteral("The code %1 is longer than five characters.").arg(key));
            key = key.rightJustified(5, QLatin1Char('0'));
        }
        if (mod >= 0) {
            const dao::Variant m = rs.Fields(mod).Value();
            if (!m.isNull())
                key += dao::CStr(m).trimmed();
        }
        for (int k = 0; k < 5; ++k)
            if (value[size_t(k)] >= 0)
                params.push_back(feeValue(rs.Fields(value[size_t(k)]).Value(), path));
        params.emplace_back(key);
        g().MainDb.Execute(sql, params);
    }
    transaction.Commit();
    return true;
}
