#include "app/buildinfo.h"
#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/dao/Database.h"
#include "platform/forms/controls.h"
#include "samplecopy.h"
#include "quietseam.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The toolbar's tagged round trip in "KELVA" on the sample's code table (~16,000 codes) with 500 tagged
// codes: "View Tagged" (the tagged query, two refreshes over the tagged rows, the all-codes test of the same
// click) then "View All" (every code again: the session query twice, one refresh, back on the code).
// Compare with BM_ViewAllRecs of the same run.
void BM_ToolbarTaggedRoundTrip(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::optional<dao::Database> sample = sampleOnFirstLocality(dir);
    if (!sample) {
        state.SkipWithError("no sample database");
        return;
    }
    dao::Database db = *sample;
    db.Execute(QStringLiteral("UPDATE DATA0000 SET Tag = '+' WHERE rowid IN "
                              "(SELECT rowid FROM DATA0000 ORDER BY CODEMOD LIMIT 500 OFFSET 2000)"));
    QuietSeam quiet;
    quiet.previous = platform::setSeam(&quiet);
    {
        const std::unique_ptr<frmMain> main = mainOnSample(db, dir.path());
        qint64 tagged = 0;
        for (auto _ : state) {
            main->Toolbar1Buttons(3)->trigger();  // "View Tagged"
            tagged = main->Data1.Recordset().RecordCount();
            main->Toolbar1Buttons(3)->trigger();  // "View All"
        }
        state.counters["tagged_rows"] = double(tagged);
        state.counters["rows"] = double(main->Data1.Recordset().RecordCount());
        state.counters["caption_back"] = main->ViewTaggedCaption() == QLatin1String("View Tagged") ? 1 : 0;
        main->hide();
        while (platform::busyCount() > 0)
            platform::SetBusyCursor(0);
    }
    platform::setSeam(quiet.previous);
    g() = Globals{};
}
BENCHMARK(BM_ToolbarTaggedRoundTrip)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
