#include "app/buildinfo.h"
#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/dao/Database.h"
#include "platform/forms/controls.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Moving the main grid's current row down, one Down key at a time, over the sample's code table (about
// 16,000 codes, its OPPS-capped codes among them) with every control the row change writes in place;
// the window is shown; painted:1 also paints the grid after every move.
void BM_CurrentRowMove(benchmark::State& state)
{
    const bool paint = state.range(0) != 0;
    QTemporaryDir dir;
    const QString path = dir.filePath("kelva.mdb");
    if (!QFile::copy(QStringLiteral(KELVA_SAMPLE_DB), path)) {
        state.SkipWithError("no sample database");
        return;
    }
    dao::Database db = dao::OpenDatabase(path, QStringLiteral(";PWD=") + databasePassword());
    g() = Globals{};
    g().MainDb = db;
    g().CurSesTab = QStringLiteral("DATA0000");
    g().WorkAdjuster = 1.0;
    g().WorkGpci = g().PracGpci = g().MalpGpci = 1.0;
    g().ConvFactor = 37.3374;
    {
        auto main = std::make_unique<frmMain>();
        for (platform::DataControl* c : {&main->Data1, &main->Data2, &main->Data3})
            c->setDatabase(db);
        main->Data2.Refresh();
        main->Data3.setRecordSource(QStringLiteral("SESSIONS"));
        main->Data3.Refresh();
        platform::fillList(main->cmboCurrentView, {"KELVA", "KELVA OPPS"});
        main->resize(1200, 800);
        main->dbg->resize(1100, 500);
        main->show();
        main->ViewAllRecs();
        QApplication::processEvents();
        const int rows = main->Data1.Recordset().rowCount();
        const int moves = std::min(1000, rows - 1);
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        for (auto _ : state) {
            state.PauseTiming();
            main->Data1.Recordset().MoveFirst();
            QApplication::processEvents();
            state.ResumeTiming();
            for (int i = 0; i < moves; ++i) {
                QApplication::sendEvent(main->dbg, &down);
                if (paint)
                    QApplication::processEvents();  // what the move left to paint, as the event loop paints it
            }
        }
        state.counters["rows"] = double(rows);
        state.counters["per_move_ms"] =
            benchmark::Counter(double(moves), benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
        state.counters["at_row"] = double(main->Data1.Recordset().AbsolutePosition());
        main->hide();
    }
    g() = Globals{};
}
BENCHMARK(BM_CurrentRowMove)->ArgName("painted")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
