#include "app/buildinfo.h"
#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/dao/Database.h"
#include "platform/forms/controls.h"
#include "platform/seam/Printer.h"
#include "platform/seam/Seam.h"

#include "samplecopy.h"

#include <QApplication>
#include <QFile>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Answers every message box with OK at once and lets the event loop run when asked; nothing else is used.
class AnsweringSeam : public platform::Seam {
public:
    int messages = 0;
    int MsgBox(const QString&, int, const QString&) override { return ++messages, vbOK; }
    QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
    bool FileDialog(platform::FileDialogKind, platform::FileDialogState&) override { return false; }
    bool PrinterDialog() override { return false; }
    void ShowModal(platform::Form&) override {}
    platform::Printer& printer() override { return printer_; }
    void PreviewReport(const QString&, std::shared_ptr<const platform::report::Document>, bool) override {}
    int ShellExecute(const QString&, const QString&) override { return 2; }
    void HtmlHelp(const QString&, int) override {}
    void DoEvents() override { QCoreApplication::processEvents(); }
    QDateTime Now() override { return QDateTime::currentDateTime(); }
    std::unique_ptr<platform::FtpConnection> FtpConnect(const QString&, const QString&, const QString&, int,
                                                        bool) override
    {
        return nullptr;
    }
    void SetMousePointer(int) override {}

private:
    platform::Printer printer_;
};

const QString kFound = QStringLiteral("99213");
const QString kMissing = QStringLiteral("99999");

struct SampleMain {
    QTemporaryDir dir;
    dao::Database db;
    std::unique_ptr<frmMain> main;

    bool open()
    {
        const QString path = dir.filePath("kelva.mdb");
        if (!QFile::copy(QStringLiteral(KELVA_SAMPLE_DB), path))
            return false;
        db = dao::OpenDatabase(path, QStringLiteral(";PWD=") + databasePassword());
        main = physicianMainOn(db, true);
        return true;
    }
    ~SampleMain()
    {
        main.reset();
        g() = Globals{};
    }
};

// Typing two five-character codes into the code box in "KELVA" on the sample (about 16,000 codes), one key
// at a time: one that is there and one that is not, whose message is answered at once and whose recent-codes
// list brings back the code found before (a nested lookup). The grid starts each time on its first row.
void BM_CodeBoxLookup(benchmark::State& state)
{
    SampleMain s;
    if (!s.open()) {
        state.SkipWithError("no sample database");
        return;
    }
    AnsweringSeam seam;
    platform::Seam* previous = platform::setSeam(&seam);
    frmMain& f = *s.main;
    auto type = [&](const QString& code) {
        {
            const QSignalBlocker quiet(f.Text1(0));
            f.Text1(0)->clear();
        }
        for (int n = 1; n <= code.size(); ++n)
            platform::setText(f.Text1(0), code.left(n));
    };
    qint64 statements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.Data1.Recordset().MoveFirst();
        const qint64 before = dao::statementCount();
        state.ResumeTiming();
        type(kFound);
        type(kMissing);
        statements += dao::statementCount() - before;
    }
    state.counters["statements"] = benchmark::Counter(double(statements), benchmark::Counter::kAvgIterations);
    state.counters["messages"] = benchmark::Counter(double(seam.messages), benchmark::Counter::kAvgIterations);
    state.counters["on_found"] = f.Data1.Recordset().Fields(1).Value().toString() == kFound ? 1 : 0;
    platform::setSeam(previous);
}
BENCHMARK(BM_CodeBoxLookup)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The same finds on Data1's record set through the data layer, without a window: the found code by CODEMOD,
// the missing one by CODEMOD and then by CPT; the nested lookup finds the grid already on its code.
void BM_CodeBoxFindsBare(benchmark::State& state)
{
    SampleMain s;
    if (!s.open()) {
        state.SkipWithError("no sample database");
        return;
    }
    dao::Recordset rs = s.main->Data1.Recordset();
    qint64 statements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        rs.MoveFirst();
        const qint64 before = dao::statementCount();
        state.ResumeTiming();
        rs.FindFirst(QStringLiteral("CODEMOD = ?"), {kFound});
        rs.FindFirst(QStringLiteral("CODEMOD = ?"), {kMissing});
        rs.FindFirst(QStringLiteral("CPT = ?"), {kMissing});
        statements += dao::statementCount() - before;
    }
    state.counters["statements"] = benchmark::Counter(double(statements), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CodeBoxFindsBare)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
