// frmMain: the user-column imports of the File menu and their comma-delimited readers.
#include "main/frmMain.h"

#include "app/buildinfo.h"
#include "app/globals.h"
#include "platform/controls/BusyCursor.h"
#include "platform/seam/Seam.h"
#include "userdata/importcsv.h"

using platform::SetBusyCursor;

namespace {

void runCsvReader(frmMain& w, userimport::Member member)
{
    const bool schedules = member == userimport::Member::Schedules;
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
        }
        return;
    }
    seam().MsgBox(schedules ? QStringLiteral("File imported successfully") : QStringLiteral("File imported successfully\r\n"));
    w.RefreshGrid();
    SetBusyCursor(0);
}

}  // namespace

void frmMain::ImportUserSchedulesCsv()
{
    runCsvReader(*this, userimport::Member::Schedules);
}

void frmMain::ImportUserFrequenciesCsv()
{
    runCsvReader(*this, userimport::Member::Frequencies);
}
