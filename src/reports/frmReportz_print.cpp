#include "reports/frmReportz.h"

#include "app/globals.h"
#include "db/parmsrow.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/dao/Database.h"
#include "platform/dao/Recordset.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/forms/guarded.h"
#include "platform/seam/Printer.h"
#include "platform/seam/Seam.h"
#include "reports/reportitems.h"
#include "reports/textreport.h"

namespace {

const QString kTitle = QStringLiteral("Morvex Reports");
const QString kTooMany = QStringLiteral(
    "There are too many items to print on this report.  Please remove an item from the right side list box.");
constexpr int kPrinterErrorNumber = 482;

// The query column an item prints.
QString columnOf(int item)
{
    return item == 1 ? QStringLiteral("DESC") : item == 22 ? QStringLiteral("USRDF") : reports::reportItemText(item);
}

}  // namespace

void frmReportz::PrintReport()
{
    platform::Printer& printer = seam().printer();
    const reports::PrintSettings settings = reports::readPrintSettings(g().MainDb);
    const std::vector<int> items = chosenItems();
    const int sum = reports::widthSum(items);
    if (sum > settings.columns) {
        seam().MsgBox(kTooMany, vbOKOnly);
        return;
    }
    const int descWidth = reports::descriptionWidth(settings.columns, sum);
    printer.setFontName(reports::printerFontFor(settings.font));
    printer.setFontSize(settings.size);
    printer.setFontBold(false);

    btn(1)->setEnabled(false);
    platform::SetBusyCursor(11);
    auto endRun = [this, &printer] {
        btn(1)->setEnabled(true);
        platform::resumeNext([&] { printer.EndDoc(); });
    };

    const bool tagged = platform::checkValue(chk) > 0;
    try {
        QStringList texts;
        for (int row = 0; row < lst(1)->count(); ++row)
            texts << lst(1)->item(row)->text();
        const int orientation = printer.Orientation() == 1 ? 1 : 2;
        printer.setOrientation(orientation);
        g().MainDb.Execute(QStringLiteral("UPDATE Parms_CL SET Last_Print = ?"),
                           {reports::lastPrintText(txt(0)->text(), txt(1)->text(), tagged, orientation, texts)});
    } catch (const dao::Error&) {
        btn(1)->setEnabled(true);
        throw;
    }

    pageCounter = 0;
    lineCounter = 3;
    try {
        frmMain& main = platform::forms().get<frmMain>();
        const bool opps = main.cmboCurrentView->currentText() == QLatin1String("KELVA OPPS");
        std::vector<dao::Variant> params = {txt(0)->text(), txt(1)->text()};
        if (opps) {
            const db::ParmsRow parms(main.Data2.Recordset());
            params.push_back(parms.value(db::ParmsRow::CARRIER));
            params.push_back(parms.value(db::ParmsRow::Loc));
        }
        dao::Recordset rs = g().MainDb.OpenRecordset(
            reports::reportQuery(g().CurSesTab, opps, tagged, sessionFactors()), params);
        if (rs.EOF()) {
            platform::resumeNext([&] { printer.EndDoc(); });
            platform::SetBusyCursor(0);
            seam().MsgBox(QStringLiteral("No records found with your selections"), vbOKOnly);
            btn(1)->setEnabled(true);
            return;
        }
        rs.MoveLast();
        const int pages = reports::pageCount(rs.RecordCount(), settings.lines);
        platform::SetBusyCursor(0);
        if (seam().MsgBox(QString::number(pages) + QStringLiteral(" pages will be printed. Continue with printing?"),
                          vbOKCancel, kTitle) == vbCancel) {
            endRun();
            return;
        }
        if (!seam().PrinterDialog() && printerSetupUsed_)
            throw dao::Error(32755, QStringLiteral("Cancel was selected."));
        PrintPages(rs, descWidth, settings.lines, settings.columns);
        printer.EndDoc();
        platform::SetBusyCursor(0);
        btn(1)->setEnabled(true);
        seam().MsgBox(QString::number(pageCounter) + QStringLiteral(" pages were printed."), vbOKOnly, kTitle);
    } catch (const dao::Error& e) {
        if (e.number != kPrinterErrorNumber) {
            endRun();
            throw;
        }
        platform::SetBusyCursor(0);
        btn(1)->setEnabled(true);
        seam().MsgBox(QString::number(pageCounter) + QStringLiteral(" pages were printed."), vbOKOnly, kTitle);
        platform::resumeNext([&] { printer.EndDoc(); });
    }
}

void frmReportz::PrintPages(dao::Recordset& rs, int descWidth, int lines, int columns)
{
    platform::Printer& printer = seam().printer();
    rs.MoveFirst();
    for (;;) {
        PrintPageHeader(descWidth);
        printer.Print();
        while (!rs.EOF() && lineCounter <= lines) {
            PrintRow(rs, descWidth);
            ++lineCounter;
            rs.MoveNext();
        }
        PrintPageFooter(lines, columns, lineCounter);
        if (rs.EOF())
            break;
        printer.NewPage();
    }
}

// Each column starts where the one before it started, plus its width and the gap.
void frmReportz::PrintRow(dao::Recordset& rs, int descWidth)
{
    platform::Printer& printer = seam().printer();
    const std::vector<int> items = chosenItems();
    int position = 1;
    for (std::size_t k = 0; k < items.size(); ++k) {
        const int item = items[k];
        const bool last = k + 1 == items.size();
        position += (item == 1 ? descWidth : reports::reportColumn(item).width) + reports::kColumnGap;
        printer.Write(reports::columnText(item, rs[columnOf(item)].Value(), descWidth, last));
        if (last)
            printer.Print();
        else
            printer.Tab(position);
    }
}

void frmReportz::PrintPageHeader(int descWidth)
{
    platform::Printer& printer = seam().printer();
    printer.Print();
    printer.Print();
    printer.Print(reports::kReportTitle);
    printer.Print(reports::kReportNotice);
    printer.Print();
    const std::vector<int> items = chosenItems();
    for (int line = 0; line < 3; ++line) {
        int position = 1;
        for (std::size_t k = 0; k < items.size(); ++k) {
            const int item = items[k];
            const QString heading = QString::fromLatin1(reports::reportColumn(item).heading[line]);
            if (k + 1 == items.size()) {
                printer.Print(heading);
                break;
            }
            position += (item == 1 ? descWidth : reports::reportColumn(item).width) + reports::kColumnGap;
            printer.Write(heading);
            printer.Tab(position);
        }
    }
    lineCounter = 3;
}

void frmReportz::PrintPageFooter(int lines, int columns, int counter)
{
    platform::Printer& printer = seam().printer();
    for (int n = counter; n <= lines + 2; ++n)
        printer.Print();
    ++pageCounter;
    printer.Spc(reports::pageNumberIndent(columns));
    printer.Print(QStringLiteral("Page ") + QString::number(pageCounter));
}
