#include "app/buildinfo.h"
#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/dao/Database.h"
#include "platform/forms/controls.h"
#include "samplecopy.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// One switch of the view selector from "KELVA OPPS" to "KELVA" on the sample's code table (~16,000 codes),
// the session on the first locality of LOCATION: the carrier lookup, the grid bound to all codes (the session
// query twice), refreshed (once more), laid out and put back on the code, the window shown offscreen.
void BM_ViewSwitchPhysician(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::optional<dao::Database> sample = sampleOnFirstLocality(dir);
    if (!sample) {
        state.SkipWithError("no sample database");
        return;
    }
    dao::Database db = *sample;
    {
        const std::unique_ptr<frmMain> main = mainOnSample(db, dir.path());
        for (auto _ : state) {
            state.PauseTiming();
            platform::setListIndex(main->cmboCurrentView, 1);
            QApplication::processEvents();
            state.ResumeTiming();
            platform::setListIndex(main->cmboCurrentView, 0);
        }
        state.counters["rows"] = double(main->Data1.Recordset().RecordCount());
        state.counters["on_code"] = main->Data1.Recordset()["CODEMOD"].Value().toString() == "99213" ? 1 : 0;
        main->hide();
        while (platform::busyCount() > 0)
            platform::SetBusyCursor(0);
    }
    g() = Globals{};
}
BENCHMARK(BM_ViewSwitchPhysician)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
