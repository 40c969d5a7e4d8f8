#include "schedules/SchedulesFixture.h"

#include "db/sessions.h"
#include "platform/controls/BusyCursor.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/FormRegistry.h"

#include <QSignalBlocker>
#include <cmath>
#include <functional>

namespace {

using platform::setText;

const QString kCopied = "User defined schedules have been copied";
const QString kChanged = "User defined schedules have been changed";
const QString kSwitched = "User defined schedules have been switched";
const QString kSame = "The source and destination fields can not be the same.  Please correct and try again.";
const QString kOnlyClear =
    "The destinatation field can only be 'All Schedules (S1-S5)' if the option is to 'Clear (Zero Out)' ";
const QString kOnlyClearFreq =
    "The destinatation field can only be 'All Frequencies(F1-F5)' if the option is to Clear (Zero Out) ";
const QString kPercentBlank = "The percentage increase/decrease box can not be blank.  If you enter a 0 (zero "
                              "percent) you will copy the source to the destination.";
const QString kBothSelected = "The source and destination fields must both be selected.  Please correct.";
constexpr int kUpdateFlags = vbOKOnly | vbInformation | 4096;

double r4(double v) { return jet::round(v, 4); }

void uncheckAll(frmSchedules& w)
{
    for (auto [i, o] : w.opt) {
        const QSignalBlocker block(o);
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(true);
    }
}

class ScheduleRunTest : public SchedulesFixture {
public:
    // One operation on the small table: the window as set, Run, and the message it shows (empty: none).
    struct Case {
        const char* name;
        std::function<void(frmSchedules&)> set;
        QString message;
        bool update = false;  // the message has the title "Update"
        // Expectations on the table after the Run; nullptr: the table is unchanged.
        std::function<void(ScheduleRunTest&)> check = nullptr;
    };

    void runCases(const std::vector<Case>& cases)
    {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            smallTable();
            platform::forms().unloadIfLoaded<frmSchedules>();
            settle();
            frmSchedules& w = open();
            setText(main->setchk, "0");
            const QStringList before = rows();
            c.set(w);
            if (!c.message.isEmpty()) {
                const int flags = c.update ? kUpdateFlags : vbOKOnly;
                seam.expectMsgBox(c.message, flags, vbOK, c.update ? std::optional<QString>("Update") : std::nullopt);
            }
            w.btn_Click(0);
            seam.verifyNothingLeft();
            EXPECT_EQ(platform::busyCount(), 0);
            EXPECT_TRUE(platform::forms().isLoaded<frmSchedules>());
            if (c.check) {
                c.check(*this);
            } else {
                EXPECT_EQ(rows(), before);
            }
        }
    }

    // The values the small table starts with, A0001 (tagged), B0002, C0003 (tagged).
    static double s(int k, int row) { return std::array<double, 3>{10, 20, 30.5}[row] * k + 0.123456; }
    static double f(int k, int row) { return std::array<double, 3>{10, 20, 30.5}[row] + k - 1; }
    void expectColumn(const QString& column, const std::array<double, 3>& expected)
    {
        const std::vector<double> got = numbers(column);
        ASSERT_EQ(got.size(), 3u);
        for (int r = 0; r < 3; ++r)
            EXPECT_NEAR(got[r], expected[r], 1e-9) << qPrintable(column) << " row " << r;
    }
    void expectSchedule(int k, std::function<double(int row)> value, bool taggedOnly = false)
    {
        std::array<double, 3> e{};
        for (int r = 0; r < 3; ++r)
            e[r] = (taggedOnly && r == 1) ? s(k, r) : value(r);
        expectColumn(QString("S%1").arg(k), e);
    }
    void expectFrequency(int k, std::function<double(int row)> value, bool taggedOnly = false)
    {
        std::array<double, 3> e{};
        for (int r = 0; r < 3; ++r)
            e[r] = (taggedOnly && r == 1) ? f(k, r) : value(r);
        expectColumn(QString("Freq%1").arg(k), e);
    }
    static auto choices(int option, int source, int destination, bool tagged = false, QString percent = {},
                        QString cf = {})
    {
        return [=](frmSchedules& w) {
            w.opt(option)->click();
            choose(w.Combo1, source);
            choose(w.Combo2, destination);
            platform::setCheckValue(w.chk, tagged ? 1 : 0);
            setText(w.Text1, percent);
            setText(w.Text3, cf);
        };
    }
    static auto frequencyChoices(int option, int source, int destination, bool tagged = false, QString percent = {})
    {
        return [=](frmSchedules& w) {
            w.SSTab1->setCurrentIndex(1);
            w.opt(option)->click();
            choose(w.Combo3, source);
            choose(w.Combo4, destination);
            platform::setCheckValue(w.Check1, tagged ? 1 : 0);
            setText(w.Text2, percent);
        };
    }
};

TEST_F(ScheduleRunTest, CopyOfEachMedicareAmountWritesWhatTheGridShows)
{
    // The worked code of the fee formulas, at GPCIs 1 and 37.3374; a code whose calcflag is 0 besides.
    dao::Database d = db();
    d.Execute("UPDATE SESSIONS SET CURWORKGPCI = 1, CURPRACGPCI = 1, CURMALPGPCI = 1, CURCONVF = 37.3374, "
              "CURCONVA = 0 WHERE Session = 'Sample'");
    db::insertRow(d, "DATA0001", {{"CODEMOD", "ZWORK"}, {"CPT", "ZWORK"}, {"WORKZ", 1.5}, {"NF98WORK", 1.2},
                                  {"F98WORK", 0.8}, {"MRVU", 0.1}, {"calcflag", 1}});
    db::insertRow(d, "DATA0001", {{"CODEMOD", "ZZERO"}, {"CPT", "ZZERO"}, {"WORKZ", 1.5}, {"NF98WORK", 1.2},
                                  {"F98WORK", 0.8}, {"MRVU", 0.1}, {"calcflag", 0}});
    main->Data3.Refresh();
    main->Data3.Recordset().FindFirst("Session = 'Sample'");
    main->LoadSessionSettings();
    main->ViewAllRecs();
    const double worked[6] = {104.54, 99.31, 114.21, 89.61, 85.13, 97.90};

    frmSchedules& w = open();
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        w.opt(0)->click();
        choose(w.Combo1, k);
        choose(w.Combo2, 0);
        seam.expectMsgBox(kCopied, vbOKOnly);
        w.btn_Click(0);
        dao::Recordset& grid = main->Data1.Recordset();
        ASSERT_GT(grid.rowCount(), 16000);
        int differing = 0;
        for (int r = 0; r < grid.rowCount(); ++r) {
            const double shown = grid.cell(r, db::feecol::NPart + k).toDouble();
            if (grid.cell(r, db::feecol::S1).toDouble() != shown)
                ++differing;
            const QString code = grid.cell(r, db::feecol::CodeMod).toString();
            if (code == "ZWORK") {
                EXPECT_DOUBLE_EQ(grid.cell(r, db::feecol::S1).toDouble(), worked[k]);
            } else if (code == "ZZERO") {
                EXPECT_EQ(grid.cell(r, db::feecol::S1).toDouble(), 0);
            }
        }
        EXPECT_EQ(differing, 0);
        EXPECT_EQ(d.scalar("SELECT COUNT(*) FROM DATA0001 WHERE typeof(S1) NOT IN ('real', 'integer')").toLongLong(), 0);
    }
    EXPECT_EQ(main->setchk->text(), "2");
}

TEST_F(ScheduleRunTest, ScheduleOperations)
{
    const double wg = g().WorkGpci, pg = g().PracGpci, mg = g().MalpGpci;
    ASSERT_NE(wg, 1.0);
    runCases({
        {"copy S2 into S1", choices(0, 19, 0), kCopied, false,
         [](ScheduleRunTest& t) { t.expectSchedule(1, [](int r) { return r4(s(2, r)); }); }},
        {"copy S2 into S1, tagged", choices(0, 19, 0, true), kCopied, false,
         [](ScheduleRunTest& t) { t.expectSchedule(1, [](int r) { return r4(s(2, r)); }, true); }},
        {"copy S1 into S1", choices(0, 18, 0), kSame},
        {"copy without a source", choices(0, -1, 0),
         "The fees and/or schedule selections cannot be blank..  Please correct and try again."},
        {"copy into all schedules", choices(0, 19, 5), kOnlyClear},
        {"copy of source 8", choices(0, 8, 2), kCopied, false,
         [=](ScheduleRunTest& t) {
             t.expectSchedule(3, [=](int) { return r4(1.5 * wg + 1.3 * pg + 0.1 * mg); });
         }},
        {"calculate 10 %", choices(2, 19, 0, false, "10"), kChanged, false,
         [](ScheduleRunTest& t) { t.expectSchedule(1, [](int r) { return r4(s(2, r) * 1.1); }); }},
        {"calculate 10 %, tagged", choices(2, 19, 0, true, "10"), kChanged, false,
         [](ScheduleRunTest& t) { t.expectSchedule(1, [](int r) { return r4(s(2, r) * 1.1); }, true); }},
        {"calculate 0 %", choices(2, 19, 0, false, "0"), kChanged, false,
         [](ScheduleRunTest& t) { t.expectSchedule(1, [](int r) { return r4(s(2, r)); }); }},
        {"calculate -100 %", choices(2, 19, 0, false, "-100"), kChanged, false,
         [](ScheduleRunTest& t) { t.expectSchedule(1, [](int) { return 0.0; }); }},
        {"calculate S1 into S1", choices(2, 18, 0, false, "10"), kChanged, false,
         [](ScheduleRunTest& t) { t.expectSchedule(1, [](int r) { return r4(s(1, r) * 1.1); }); }},
        {"calculate with the base factor", [](frmSchedules& w) {
             choices(2, 19, 0)(w);
             setText(w.Text3, forms().get<frmMain>().kelvacf->text());
         },
         kChanged, false, [](ScheduleRunTest& t) { t.expectSchedule(1, [](int r) { return r4(s(2, r)); }); }},
        {"calculate with twice the base factor",
         [](frmSchedules& w) {
             choices(2, 19, 0)(w);
             setText(w.Text3, QString::number(2 * forms().get<frmMain>().kelvacf->text().toDouble(), 'f', 4));
         },
         kChanged, false, [](ScheduleRunTest& t) { t.expectSchedule(1, [](int r) { return r4(s(2, r) * 2); }); }},
        {"calculate without a percentage", choices(2, 19, 0), kPercentBlank},
        {"calculate without a destination", choices(2, 19, -1, false, "10"), kBothSelected},
        {"calculate into all schedules", choices(2, 19, 5, false, "10"), kOnlyClear},
        {"calculate with a factor that is no number", choices(2, 19, 0, false, {}, "abc"), "Entry is not numeric"},
        {"clear S3", choices(1, -1, 2), "User defined schedule has been cleared", true,
         [](ScheduleRunTest& t) { t.expectSchedule(3, [](int) { return 0.0; }); }},
        {"clear all schedules, tagged", choices(1, -1, 5, true), "User defined schedule has been cleared", true,
         [](ScheduleRunTest& t) {
             for (int k = 1; k <= 5; ++k)
                 t.expectSchedule(k, [](int) { return 0.0; }, true);
         }},
        {"clear all schedules", choices(1, -1, 5), "User defined schedule has been cleared", true,
         [](ScheduleRunTest& t) {
             for (int k = 1; k <= 5; ++k)
                 t.expectSchedule(k, [](int) { return 0.0; });
         }},
        {"clear without a schedule", choices(1, -1, -1),
         "The schedule selection cannot be blank.  Please correct and try again."},
        {"swap S2 and S4", choices(3, 1, 3), kSwitched, false,
         [](ScheduleRunTest& t) {
             t.expectSchedule(2, [](int r) { return s(4, r); });
             t.expectSchedule(4, [](int r) { return s(2, r); });
         }},
        {"swap S2 and S4, tagged", choices(3, 1, 3, true), kSwitched, false,
         [](ScheduleRunTest& t) {
             t.expectSchedule(2, [](int r) { return s(4, r); }, true);
             t.expectSchedule(4, [](int r) { return s(2, r); }, true);
         }},
        {"swap S2 and S2", choices(3, 1, 1), kSame},
        {"swap into all schedules", choices(3, 1, 5), kOnlyClear},
        {"swap without a source", choices(3, -1, 1),
         "The fees and/or schedule selections cannot be blank.  Please correct and try again."},
    });
}

TEST_F(ScheduleRunTest, FrequencyOperations)
{
    runCases({
        {"copy Freq2 into Freq3", frequencyChoices(11, 1, 2), "User defined frequencies have been copied", true,
         [](ScheduleRunTest& t) { t.expectFrequency(3, [](int r) { return f(2, r); }); }},
        {"copy Freq1 into Freq1", frequencyChoices(11, 0, 0), kSame},
        {"copy without a source", frequencyChoices(11, -1, 0),
         "The frequuencies and/or schedule selections cannot be blank..  Please correct and try again."},
        {"copy into all frequencies", frequencyChoices(11, 0, 5), kOnlyClearFreq},
        {"calculate Freq1 in place, 0 %", frequencyChoices(6, 0, 0, false, "0"),
         "User defined frequencies have been changed", true,
         [](ScheduleRunTest& t) { t.expectFrequency(1, [](int r) { return f(1, r); }); }},
        {"calculate Freq1 in place, 50 %", frequencyChoices(6, 0, 0, false, "50"),
         "User defined frequencies have been changed", true,
         [](ScheduleRunTest& t) { t.expectFrequency(1, [](int r) { return jet::round(f(1, r) * 1.5, 2); }); }},
        {"calculate Freq1 in place, -100 %, tagged", frequencyChoices(6, 0, 0, true, "-100"),
         "User defined frequencies have been changed", true,
         [](ScheduleRunTest& t) { t.expectFrequency(1, [](int) { return 0.0; }, true); }},
        {"calculate without a percentage", frequencyChoices(6, 0, 1), kPercentBlank},
        {"calculate without a destination", frequencyChoices(6, 0, -1, false, "5"), kBothSelected},
        {"calculate into all frequencies", frequencyChoices(6, 0, 5, false, "5"), kOnlyClearFreq},
        {"clear all frequencies, tagged", frequencyChoices(8, -1, 5, true),
         "User defined frequencies have been cleared", true,
         [](ScheduleRunTest& t) {
             for (int k = 1; k <= 5; ++k)
                 t.expectFrequency(k, [](int) { return 0.0; }, true);
             t.expectSchedule(1, [](int r) { return s(1, r); });
         }},
        {"clear Freq2", frequencyChoices(8, -1, 1), "User defined frequencies have been cleared", true,
         [](ScheduleRunTest& t) { t.expectFrequency(2, [](int) { return 0.0; }); }},
        {"clear without a frequency", frequencyChoices(8, -1, -1),
         "The frequency selection cannot be blank.  Please correct and try again."},
        {"swap Freq4 and Freq5, tagged", frequencyChoices(10, 3, 4, true),
         "User defined frequencies have been switched", true,
         [](ScheduleRunTest& t) {
             t.expectFrequency(4, [](int r) { return f(5, r); }, true);
             t.expectFrequency(5, [](int r) { return f(4, r); }, true);
         }},
        {"swap Freq4 and Freq4", frequencyChoices(10, 3, 3), kSame},
        {"swap without a source", frequencyChoices(10, -1, 3),
         "The frequency and/or schedule selections cannot be blank.  Please correct and try again."},
        {"swap into all frequencies", frequencyChoices(10, 0, 5), kOnlyClearFreq},
        {"a typed source is no choice",
         [](frmSchedules& w) {
             frequencyChoices(11, 1, 2)(w);
             w.Combo3->setEditText("Freq9");
         },
         "The frequuencies and/or schedule selections cannot be blank..  Please correct and try again."},
    });
}

TEST_F(ScheduleRunTest, ReloadIsAskedWhereEachBlockAsksIt)
{
    smallTable();
    frmSchedules& w = open();
    const struct {
        const char* name;
        std::function<void(frmSchedules&)> set;
        const char* setchk;
    } cases[] = {
        {"refused copy", choices(0, -1, 0), "2"},
        {"refused calculate", choices(2, 19, 0), "2"},
        {"refused clear", choices(1, -1, -1), "0"},
        {"refused swap", choices(3, 1, 1), "0"},
        {"no option", [](frmSchedules& w) { w.opt(0)->click(); uncheckAll(w); }, "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setText(main->setchk, "0");
        c.set(w);
        if (std::string(c.name) != "no option")
            seam.answerMsgBox(vbOK);
        w.btn_Click(0);
        seam.verifyNothingLeft();
        EXPECT_EQ(main->setchk->text(), c.setchk);
    }
}

}  // namespace
