#include "platform/controls/DBGrid.h"
#include "platform/controls/DataControl.h"
#include "platform/dao/Database.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPixmap>
#include <QTemporaryDir>
#include "widetable.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>

namespace {

double residentMiB()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void pageDown(QWidget& grid)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(&grid, &press);
}

// One pass: to the last row and back, then 100 page-downs; with paint, a grab() after every step.
void gridScroll(benchmark::State& state, bool paint)
{
    QTemporaryDir dir;
    const QString path = makeWideTable(dir.filePath("wide.mdb"));
    const double before = residentMiB();
    {
        platform::DataControl data;
        data.setDatabaseName(path);
        data.setRecordSource("SELECT * FROM WIDE WHERE N3 >= ? ORDER BY CODEMOD", {0});
        platform::DBGrid grid;
        grid.setDataSource(&data);
        data.Refresh();
        for (int c = 0; c < grid.ColumnCount(); ++c)
            grid.Columns(c).setNumberFormat(c >= 3 ? "###,##0.00;;" : "");
        grid.resize(1280, 800);
        grid.show();
        grid.setFocus();
        QApplication::processEvents();
        for (auto _ : state) {
            data.Recordset().MoveLast();
            if (paint)
                benchmark::DoNotOptimize(grid.grab());
            data.Recordset().MoveFirst();
            if (paint)
                benchmark::DoNotOptimize(grid.grab());
            for (int i = 0; i < 100; ++i) {
                pageDown(grid);
                if (paint)
                    benchmark::DoNotOptimize(grid.grab());
            }
        }
        state.counters["rows_reached"] = double(grid.currentRow());
        state.counters["resident_growth_MiB"] = residentMiB() - before;
    }
}
void BM_GridModelScroll(benchmark::State& state)
{
    gridScroll(state, true);
}
BENCHMARK(BM_GridModelScroll)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same moves without painting: what the grid model and the recordset cost on their own.
void BM_GridModelMoves(benchmark::State& state)
{
    gridScroll(state, false);
}
BENCHMARK(BM_GridModelMoves)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
