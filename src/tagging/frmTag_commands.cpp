// The commands of frmTag's buttons: the six searches with their previews, "Yes", "No", "&Clear All Tags" and
// "&Close".
#include "tagging/frmTag.h"

#include "app/globals.h"
#include "db/parmsrow.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

using tagging::Criterion;

namespace {

const QString kAllSpecialties = QStringLiteral("ALL CODES/ALL SPECIALTIES");

struct FixedSpecialty {
    const char* text;
    const char* low;
    const char* high;
};
const FixedSpecialty kFixedSpecialties[] = {
    {"SURGERY (10000 - 69999)", "10000", "69999"},
    {"MEDICINE (90000 - 99999)", "90000", "99999"},
    {"PATHOLOGY (80000 - 89999)", "80000", "89999"},
    {"RADIOLOGY (70000 - 79999)", "70000", "79999"},
    {"EVALUATION AND MANAGEMENT (99201 - 99499)", "99201", "99499"},
};

Criterion codeRange(const QString& low, const QString& high)
{
    return {QStringLiteral("[CPT] >= ? AND [CPT] <= ?"), {low, high}};
}

frmMain* mainWindow()
{
    return forms().loadedOrNull<frmMain>();
}

}  // namespace

void frmTag::RunCommand(int Index)
{
    switch (Index) {
    case 0: SearchDescription(); break;
    case 5: SearchCodeRange(); break;
    case 6: SearchSchedules(); break;
    case 8: SearchSpecialty(); break;
    case 9: SearchStatus(); break;
    case 10: SearchSiteOfService(); break;
    case 2: TagCodes(); break;
    case 4: ClearAllTags(); break;
    default: break;
    }
}

bool frmTag::InOppsView()
{
    const frmMain* main = mainWindow();
    return main && main->cmboCurrentView->currentText() == QLatin1String("KELVA OPPS");
}

void frmTag::RunSearch(int page, const QString& preview, const std::vector<dao::Variant>& params,
                       const Pending& condition, bool twoBlankCount, const std::function<void()>& counted)
{
    if (CountPreview(preview, params, twoBlankCount, counted) > 0) {
        pending_ = condition;
        openresults(page);
    }
}

void frmTag::SearchDescription()
{
    if (!Option1(0)->isChecked())
        return;
    platform::BusyCursor busy;
    const QString text = Combo1->currentText();
    if (tagging::isBlankText(text)) {
        platform::SetFocus(Combo1);
        return;
    }
    Criterion c{QStringLiteral("[Desc] Like ?"), {tagging::containsPattern(text)}};
    c += tagging::exclusionClause(Text2(0));
    const QString preview = QStringLiteral("SELECT [CPT],[MOD],[Desc] from %1 WHERE %2").arg(sessionTable(), c.sql);
    // The history grows once the preview has been counted, so that a refused statement leaves no row.
    RunSearch(0, preview, c.params, {c, false}, false, [this] { tagging::rememberDescription(Combo1); });
}

void frmTag::SearchCodeRange()
{
    const QString low = Text1(0)->text(), high = Text1(1)->text();
    if (QString::compare(low, high, Qt::CaseSensitive) > 0) {
        seam().MsgBox(QStringLiteral("First code can not be greater than second code. Please try again."), vbOKOnly);
        platform::SetFocus(Text1(0));
        return;
    }
    platform::BusyCursor busy;
    Criterion c = codeRange(low, high);
    c += tagging::exclusionClause(Text2(1));
    RunSearch(1, QStringLiteral("SELECT [CPT],[MOD],[Desc] from %1 WHERE %2").arg(sessionTable(), c.sql), c.params,
              {c, false});
}

void frmTag::SearchSchedules()
{
    const QString t = sessionTable();
    QStringList columns;
    if (Option1(2)->isChecked())
        columns = {"S1", "S2", "S3", "S4", "S5"};
    else if (Option1(4)->isChecked())
        columns = {"Freq1", "Freq2", "Freq3", "Freq4", "Freq5"};
    else
        return;
    platform::BusyCursor busy;
    QStringList any;
    for (const QString& column : columns)
        any << QStringLiteral("((%1.%2)>0)").arg(t, column);
    // The outer parentheses make the exclusion hold for all five columns.
    Criterion c{QStringLiteral("(%1) ").arg(any.join(QStringLiteral(" OR "))), {}};
    c += tagging::exclusionClause(Text2(2));
    RunSearch(2, QStringLiteral("SELECT %1.CPT,%1.[MOD],%1.[DESC] FROM %1 WHERE %2").arg(t, c.sql), c.params, {c, false});
}

void frmTag::SearchSpecialty()
{
    const QString s = Combo2->currentText();
    const QString t = sessionTable();
    platform::BusyCursor busy;
    if (s == kAllSpecialties) {
        const Criterion x = tagging::exclusionClause(Text2(3));
        QString preview = QStringLiteral("SELECT [CPT],[MOD],[Desc] from %1").arg(t);
        if (!x.isEmpty())
            preview += QStringLiteral(" where [Desc] not Like ?");
        preview += QStringLiteral(" order by [CPT]");
        Criterion c = codeRange(QStringLiteral("00000"), QStringLiteral("ZZZZZ"));
        c += x;
        RunSearch(3, preview, x.params, {c, false});
        return;
    }
    for (const auto& fixed : kFixedSpecialties) {
        if (s != QLatin1String(fixed.text))
            continue;
        Criterion c = codeRange(QString::fromLatin1(fixed.low), QString::fromLatin1(fixed.high));
        c += tagging::exclusionClause(Text2(3));
        RunSearch(3, QStringLiteral("SELECT [CPT],[MOD],[Desc] from %1 WHERE %2").arg(t, c.sql), c.params, {c, false});
        return;
    }
    // Any other text is looked up in specfreq: one row per code and modifier of the session whose code the
    // specialty lists.
    const Criterion x = tagging::exclusionClause(Text2(3), t + QStringLiteral(".[DESC]"));
    std::vector<dao::Variant> params{s};
    params.insert(params.end(), x.params.begin(), x.params.end());
    const QString preview =
        QStringLiteral("SELECT %1.CPT, %1.[MOD], First(%1.[DESC]) AS [DESC], First(specfreq.SPECDESC) AS SPECDESC, "
                       "First(specfreq.FirstOfHCPCS) AS FirstOfHCPCS FROM %1 INNER JOIN specfreq ON %1.CPT = "
                       "specfreq.FirstOfHCPCS WHERE specfreq.SPECDESC LIKE ?%2 GROUP BY %1.CPT, %1.[MOD]")
            .arg(t, x.sql);
    Criterion c{QStringLiteral("%1.CPT in (Select FirstOfHCPCS from specfreq where SPECDESC Like ?)").arg(t), {s}};
    c += x;
    RunSearch(3, preview, params, {c, true}, true);
}

void frmTag::SearchStatus()
{
    Criterion c;
    if (Option1(5)->isChecked()) {
        c.sql = QStringLiteral("status like '*g*' ");  // "g" and "G" alike
    } else if (Option1(6)->isChecked()) {
        const QString s = Combo3->currentText();
        if (s == QLatin1String("Y") || s == QLatin1String("YC"))
            c = {QStringLiteral("Opps_Cap_Ind = ?"), {s}};
        else
            c = {QStringLiteral("status  = ?"), {s}};
    } else {
        return;
    }
    platform::BusyCursor busy;
    RunSearch(4, QStringLiteral("SELECT [CPT],[MOD],[Desc] from %1 WHERE %2").arg(sessionTable(), c.sql), c.params,
              {c, false});
}

void frmTag::SearchSiteOfService()
{
    platform::BusyCursor busy;
    const Criterion c{QStringLiteral(" FTTOTAL <> NFTTOTAL"), {}};
    RunSearch(5, QStringLiteral("SELECT [CPT],[MOD],[Desc] from %1 WHERE %2").arg(sessionTable(), c.sql), c.params,
              {c, false});
}

void frmTag::TagCodes()
{
    if (pending_.condition.isEmpty())
        return;
    platform::BusyCursor busy;
    const Criterion& c = pending_.condition;
    if (pending_.specialtyLookup) {
        g().MainDb.Execute(QStringLiteral("UPDATE %1 SET Tag = '+' where %2").arg(sessionTable(), c.sql), c.params);
        seam().MsgBox(QStringLiteral("Codes have been tagged"), vbOKOnly);
        closeresults(SSTab1->currentIndex());
    } else {
        if (InOppsView()) {
            const db::ParmsRow parms = mainWindow()->Parms();
            std::vector<dao::Variant> params = c.params;
            params.push_back(parms.value(db::ParmsRow::CARRIER));
            params.push_back(parms.value(db::ParmsRow::Loc));
            g().MainDb.Execute(
                QStringLiteral("UPDATE DATAOPPSVIEW SET Tag = '+' WHERE %1 and carrier = ? and locality = ?").arg(c.sql),
                params);
        } else {
            g().MainDb.Execute(QStringLiteral("UPDATE %1 SET Tag = '+' WHERE %2").arg(sessionTable(), c.sql), c.params);
        }
        closeresults(SSTab1->currentIndex());
        seam().MsgBox(QStringLiteral("Codes have been tagged"), vbOKOnly);
    }
    RepaintMainGrid();
}

void frmTag::ClearAllTags()
{
    if (seam().MsgBox(QStringLiteral("Warning 'Clear All Tags' will permenantly remove all tagged codes from the "
                                     "main screen! Yes to Continue."),
                      vbYesNo + vbExclamation) != vbYes)
        return;
    platform::BusyCursor busy;
    if (InOppsView())
        g().MainDb.Execute(QStringLiteral("UPDATE DATAOPPSVIEW SET Tag = Null"));  // every carrier and locality
    else
        g().MainDb.Execute(QStringLiteral("UPDATE %1 SET Tag = Null").arg(sessionTable()));
    RepaintMainGrid();
    seam().MsgBox(QStringLiteral("All tags have been cleared."), vbOKOnly);
}

void frmTag::RepaintMainGrid()
{
    // The grid's rows are read again on the same row, so that the new tags show at once; a tagged-only
    // list gains or loses codes only when it is queried again.
    if (frmMain* main = mainWindow()) {
        if (platform::DataControl* rows = main->dbg->DataSource())
            rows->Reread();
        main->dbg->Refresh();
    }
}
