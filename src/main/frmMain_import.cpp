// frmMain: the user-column imports of the File menu and their comma-delimited readers.
#include "main/frmMain.h"

#include "app/buildinfo.h"
#include "app/globals.h"
#include "platform/controls/BusyCursor.h"
#include "platform/seam/Seam.h"
#include "platform/forms/guarded.h"
#include "platform/jet/xlscopy.h"
#include "userdata/frmTableSelect.h"
#include "userdata/importcsv.h"
#include "userdata/importlog.h"
#include "userdata/importrows.h"

#include <QDir>
#include <QFileInfo>

using platform::SetBusyCursor;
using userimport::Member;
using userimport::releaseSource;

namespace {

// The frequency import's error report: open from the start of an import to its end.
userimport::ImportLog& importLog()
{
    static userimport::ImportLog log;
    return log;
}

void runCsvReader(frmMain& w, Member member)
{
    const bool schedules = member == Member::Schedules;
    SetBusyCursor(11);
    // Errors of the lines are passed up to the calling import with nothing changed; it lowers the cursor.
    const userimport::CsvOutcome outcome =
        userimport::importCsv(member, w.dia.FileName, g().MainDb, g().CurSesTab, [schedules] {
            if (schedules) {
                seam().SetMousePointer(vbHourglass);
                seam().DoEvents();
            }
        });
    if (outcome == userimport::CsvOutcome::Refused) {
        if (schedules) {
            seam().MsgBox(QStringLiteral("Importing Problem.  If problem persists call tech support at ") + supportPhone());
            SetBusyCursor(0);
        } else {
            SetBusyCursor(0);
            seam().MsgBox(QStringLiteral("Importing Error.  If problem persists call tech support at ") + supportPhone());
            importLog().close();
        }
        return;
    }
    seam().MsgBox(schedules ? QStringLiteral("File imported successfully") : QStringLiteral("File imported successfully\r\n"));
    w.RefreshGrid();
    SetBusyCursor(0);
}

const QString kScheduleIntro = QStringLiteral(
    "Note: Import Schedules is designed for importing user defined fees into user schedules S1 through S5 as an "
    "alternative to entering the information by hand on the main screen.  A valid code must exist in the KELVA "
    "Morvex program in order for the schedule data to be imported.  Please see the help file for more information.");
const QString kFrequencyIntro = QStringLiteral(
    "Note: Import Schedules is designed for importing user defined frequencies into frequency 1 through frequency 5 "
    "as an alternative to entering the information by hand on the main screen.  A valid code must exist in the "
    "KELVA Morvex program in order for the schedule data to be imported.  Please see the help file for more "
    "information.");

// One user-column import, from the introduction to the closing message. Every way out leaves the program
// folder current, but a comma-delimited or workbook import of schedules, which returns to the folder current
// at its start. A failure after the file is chosen changes nothing and is shown with the step it stopped at
// (a cancelled file dialog, and a chooser closed without a button, end without a message).
void runUserImport(frmMain& w, Member member)
{
    const bool schedules = member == Member::Schedules;
    const QString programFolder = g().ProgramFolder;
    const QString returnFolder = schedules ? QDir::currentPath() : programFolder;
    userimport::ImportLog& log = importLog();
    if (!schedules) {
        try {
            log.start(programPath(QStringLiteral("ImportErr.log")), seam().Now());
        } catch (const dao::Error& e) {
            seam().MsgBox(e.description);
            return;
        }
    }
    struct CloseLog {
        userimport::ImportLog& log;
        ~CloseLog() { log.close(); }
    } closeLog{log};

    if (seam().MsgBox(schedules ? kScheduleIntro : kFrequencyIntro, vbOKCancel,
                      schedules ? QStringLiteral("Import Schedules") : QStringLiteral("Import Frequencies")) == vbCancel)
        return;

    auto csvReader = [&] {
        if (schedules)
            w.ImportUserSchedulesCsv();
        else
            w.ImportUserFrequenciesCsv();
    };
    auto endAt = [](const QString& folder) { QDir::setCurrent(folder); };

    platform::StepGuard step;
    userimport::RowProgress progress;
    progress.recordLine = [&log](int record) { log.recordLine(record); };
    bool silent = false;
    try {
        step(QStringLiteral("No file Imported"));
        w.dia.CancelError = true;
        w.dia.Flags = 0x1004;
        w.dia.DialogTitle = QStringLiteral("Select the file to import from.");
        w.dia.Filter = QStringLiteral("Excel 4.0 (*.xls)|*.xls|Access (*.mdb)|*.mdb|Comma Delimited Text (*.csv)|*.csv");
        w.dia.FilterIndex = 1;
        w.dia.FileName = QString();
        w.dia.InitDir = programFolder;
        w.dia.ShowOpen();

        const QString path = w.dia.FileName;
        const QString name = QFileInfo(path).fileName();
        if (name.toUpper() == QLatin1String("KELVA.MDB")) {
            seam().MsgBox(QStringLiteral("You can not import from the KELVA Morvex main database."));
            endAt(programFolder);
            return;
        }
        w.update();
        if (name.contains(QLatin1Char(' '))) {
            seam().MsgBox(QStringLiteral("The name of the file you have selected cannot contain blanks. Rename your "
                                         "file\r\nand try again.  See Help-Importing for additional information."));
            endAt(programFolder);
            return;
        }
        if (!schedules)
            log.fileName(path);

        const QString kind = path.right(3).toLower();
        if (kind == QLatin1String("csv")) {
            step(QStringLiteral("Error Reading Data from ") + path);
            csvReader();
            endAt(returnFolder);
            return;
        }
        if (kind == QLatin1String("xls")) {
            // The copy beside the workbook, replacing a file of its name, stays there.
            step(QStringLiteral("Error Opening ") + path);
            w.dia.FileName = jet::saveWorkbookCopy(path);
            step(QStringLiteral("Error Reading Data from ") + path);
            csvReader();
            endAt(returnFolder);
            SetBusyCursor(0);
            return;
        }

        // A dBASE table is its file's whole name without the extension, so fees.2004.dbf is read itself.
        QString connect, database, source;
        if (kind == QLatin1String("dbf")) {
            connect = QStringLiteral("dBASE III;");
            database = QFileInfo(path).absolutePath() + QLatin1Char('/');
            source = QFileInfo(name).completeBaseName();
        } else if (kind == QLatin1String("wk1")) {
            connect = QStringLiteral("Lotus WK1;");
            database = path;
            source = name.section(QLatin1Char('.'), 0, 0) + QLatin1Char(':');
        } else if (kind == QLatin1String("mdb")) {
            const QString chosen = frmTableSelect::Choose(path);
            if (chosen == QLatin1String("nothing")) {
                seam().MsgBox(QStringLiteral("Import Canceled.  Click Ok to return to main browser."));
                endAt(programFolder);
                return;
            }
            if (chosen.isEmpty()) {
                silent = true;
                throw dao::Error(3078, QStringLiteral("No table was chosen."));
            }
            connect = QStringLiteral("Access");
            database = path;
            source = chosen;
        } else {
            throw dao::Error(0, QString());
        }

        endAt(programFolder);
        w.dia.InitDir = programFolder;
        step(QStringLiteral("Error Opening ") + path);
        w.Data4.setConnect(connect);
        w.Data4.setDatabaseName(database);
        w.Data4.setRecordSource(source);
        w.Data4.Refresh();
        SetBusyCursor(11);

        step(QStringLiteral("Error Reading Data from ") + path);
        const userimport::RowOutcome outcome =
            userimport::importRows(member, w.Data4.Recordset(), g().MainDb, g().CurSesTab, progress);
        if (outcome != userimport::RowOutcome::Imported) {
            seam().MsgBox(outcome == userimport::RowOutcome::NoCodeColumn ? QString::fromLatin1(userimport::kNoCodeColumnText)
                                                                          : userimport::noValueColumnText(member));
            releaseSource(w.Data4);
            SetBusyCursor(0);
            return;
        }
        releaseSource(w.Data4);
        SetBusyCursor(0);
        endAt(programFolder);
        w.Data1.Refresh();
        seam().MsgBox(progress.recordLines > 0 ? QStringLiteral("File Imported Successfully.\r\nSome records were not "
                                                                "imported.  See log for details.")
                                               : QStringLiteral("File Imported Successfully"));
        w.RefreshGrid();
    } catch (const dao::Error& e) {
        endAt(programFolder);
        if (!schedules)
            log.errorLine(e.description, progress.record);
        platform::resumeNext([&] { releaseSource(w.Data4); });
        SetBusyCursor(0);
        if (silent || e.number == dao::errCancel)
            return;
        seam().MsgBox(e.description.isEmpty() ? step.text() : step.text() + QStringLiteral("\r\n\r\n") + e.description);
    }
}

}  // namespace

void frmMain::ImportUserSchedules()
{
    runUserImport(*this, Member::Schedules);
}

void frmMain::ImportUserFrequencies()
{
    runUserImport(*this, Member::Frequencies);
}

void frmMain::ImportUserSchedulesCsv()
{
    runCsvReader(*this, Member::Schedules);
}

void frmMain::ImportUserFrequenciesCsv()
{
    runCsvReader(*this, Member::Frequencies);
}
