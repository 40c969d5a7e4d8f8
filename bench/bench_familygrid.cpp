#include "quietseam.h"
#include "samplecopy.h"
#include "app/buildinfo.h"
#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/dao/Database.h"
#include "platform/forms/controls.h"
#include "platform/seam/Printer.h"
#include "platform/seam/Seam.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Answers every message box with OK at once (and counts them); the event loop runs when asked.
class CountingSeam : public QuietSeam {
public:
    int messages = 0;
    int MsgBox(const QString&, int, const QString&) override { return ++messages, vbOK; }
    platform::Printer& printer() override { return printer_; }
    void DoEvents() override { QCoreApplication::processEvents(); }

private:
    platform::Printer printer_;
};

enum { Kelva, KelvaOpps, Dmepos, LabFees, JCodes, AscCodes, DrgCodes };

// The main window on a copy of the sample database (~16,000 physician codes, ~3,500 DMEPOS rows), the session
// on the first locality of LOCATION, every view ready, shown offscreen in "KELVA".
struct SampleWindow {
    QTemporaryDir dir;
    dao::Database db;
    std::unique_ptr<frmMain> main;
    CountingSeam seam;
    platform::Seam* previous = nullptr;

    bool open()
    {
        const std::optional<dao::Database> sample = sampleOnFirstLocality(dir);
        if (!sample)
            return false;
        db = *sample;
        previous = platform::setSeam(&seam);
        g() = Globals{};
        g().MainDb = db;
        g().CurSesTab = QStringLiteral("DATA0000");
        g().ProgramFolder = dir.path();
        g().GridHadFocus = -1;  // the start-up's first focus of the grid (to its first row) is over
        main = std::make_unique<frmMain>();
        for (platform::DataControl* c : {&main->Data1, &main->Data2, &main->Data3, &main->Data5, &main->Data6,
                                         &main->Data7, &main->Data9, &main->Data10, &main->Data12, &main->Data13,
                                         &main->Default1})
            c->setDatabase(db);
        main->Data2.Refresh();
        main->Data3.Refresh();
        main->LoadSessionSettings();
        main->EnableViewsAndMenus();
        main->SetFamilyRecordSources();
        main->BuildStateLists();
        main->resize(1200, 800);
        main->show();
        main->Text1(0)->setText(QStringLiteral("99213"));
        platform::setListIndex(main->cmboCurrentView, Kelva);
        QApplication::processEvents();
        return true;
    }
    ~SampleWindow()
    {
        if (main)
            main->hide();
        main.reset();
        while (platform::busyCount() > 0)
            platform::SetBusyCursor(0);
        if (previous)
            platform::setSeam(previous);
        g() = Globals{};
    }
};

constexpr int kMoves = 1000;

// The rows a run moves to: spread over the list, every one a new row.
int rowOfMove(int move, qint64 rows)
{
    return int((qint64(move) * 7919 + 1) % rows);
}

// 1,000 moves of the DMEPOS grid's current row in the DMEPOS view: each runs the grid's row change, the data
// control's physician lookup (a find on the main grid's ~16,000 codes) and, when the code is a physician code,
// the main grid's own row handling.
void BM_FamilyRowMove(benchmark::State& state)
{
    SampleWindow s;
    if (!s.open()) {
        state.SkipWithError("no sample database");
        return;
    }
    frmMain& f = *s.main;
    platform::setListIndex(f.cmboCurrentView, Dmepos);
    QApplication::processEvents();
    const qint64 rows = f.Data5.Recordset().RecordCount();
    QAbstractItemModel* model = f.DBGrid1->model();
    qint64 mainMoves = 0;
    for (auto _ : state) {
        for (int m = 0; m < kMoves; ++m) {
            const qint64 before = f.Data1.Recordset().AbsolutePosition();
            f.DBGrid1->setCurrentIndex(model->index(rowOfMove(m, rows), 1));
            if (f.Data1.Recordset().AbsolutePosition() != before)
                ++mainMoves;
        }
    }
    state.counters["rows"] = double(rows);
    state.counters["main_grid_moves"] = benchmark::Counter(double(mainMoves), benchmark::Counter::kAvgIterations);
    state.counters["messages"] = s.seam.messages;
}
BENCHMARK(BM_FamilyRowMove)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The same moves of the DMEPOS record set and the same finds on the physician record set, through the data
// layer alone: the record sources the two data controls were bound with, no window.
void BM_FamilyRowMoveBare(benchmark::State& state)
{
    SampleWindow s;
    if (!s.open()) {
        state.SkipWithError("no sample database");
        return;
    }
    frmMain& f = *s.main;
    platform::setListIndex(f.cmboCurrentView, Dmepos);
    dao::Recordset dme = s.db.OpenRecordset(f.Data5.RecordSource(), f.Data5.RecordSourceParams());
    dao::Recordset physician = s.db.OpenRecordset(f.Data1.RecordSource(), f.Data1.RecordSourceParams());
    s.main.reset();
    dme.MoveLast();
    physician.MoveLast();
    const qint64 rows = dme.RecordCount();
    qint64 found = 0;
    for (auto _ : state) {
        for (int m = 0; m < kMoves; ++m) {
            dme.setAbsolutePosition(rowOfMove(m, rows));
            physician.FindFirst(QStringLiteral("CODEMOD = ?"), {dme[QStringLiteral("HCPCS")].Value().toString().trimmed()});
            if (!physician.NoMatch())
                ++found;
        }
    }
    state.counters["rows"] = double(rows);
    state.counters["found"] = benchmark::Counter(double(found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FamilyRowMoveBare)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// One round of the view selector from "KELVA": DMEPOS, Lab Fees, J Codes, ASC Codes, DRG Codes, KELVA OPPS and
// back to KELVA, the window shown offscreen. The physician arms and the DMEPOS, Lab and ASC arms run the
// session query; the family queries are small.
void BM_ViewSwitchCycle(benchmark::State& state)
{
    SampleWindow s;
    if (!s.open()) {
        state.SkipWithError("no sample database");
        return;
    }
    frmMain& f = *s.main;
    const int cycle[] = {Dmepos, LabFees, JCodes, AscCodes, DrgCodes, KelvaOpps, Kelva};
    for (auto _ : state) {
        for (int view : cycle)
            platform::setListIndex(f.cmboCurrentView, view);
    }
    state.counters["messages"] = s.seam.messages;
    state.counters["on_code"] = f.Data1.Recordset()["CODEMOD"].Value().toString() == "99213" ? 1 : 0;
}
BENCHMARK(BM_ViewSwitchCycle)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
