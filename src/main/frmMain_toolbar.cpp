#include "main/frmMain.h"

#include "app/globals.h"
#include "db/feequery.h"
#include "main/menudata.h"
#include "platform/controls/BusyCursor.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/guarded.h"
#include "platform/seam/Seam.h"

#include <functional>

using menudata::Open;
using menudata::openWindow;
using platform::SetBusyCursor;

namespace {

const QString kViewTagged = QStringLiteral("View Tagged");
const QString kViewAll = QStringLiteral("View All");

// The toolbar's view of each entry of the view selector: the family's windows, its grid and data control,
// and its procedures for all and for tagged codes.
struct ToolbarView {
    const char* tagWindow;
    const char* feeManager;
    platform::DBGrid* frmMain::*grid;
    platform::DataControl frmMain::*data;
    // Plain functions: calls through member pointers trip the sanitizer build.
    void (*allCodes)(frmMain&);
    void (*taggedCodes)(frmMain&);
};

const ToolbarView kToolbarViews[] = {
    {"frmTag", "frmSchedules", &frmMain::dbg, &frmMain::Data1, [](frmMain& m) { m.ViewAllRecs(); },
     [](frmMain& m) { m.ViewTagRecs(); }},
    {"frmTag", "frmSchedules", &frmMain::dbg, &frmMain::Data1, [](frmMain& m) { m.ViewAllRecs(); },
     [](frmMain& m) { m.ViewTagRecs(); }},
    {"frmTagDME", "frmSchedulesDME", &frmMain::DBGrid1, &frmMain::Data5, [](frmMain& m) { m.ViewAllDME(); },
     [](frmMain& m) { m.ViewTagDME(); }},
    {"frmTagLAB", "frmSchedulesLAB", &frmMain::DBGrid2, &frmMain::Data6, [](frmMain& m) { m.ViewAllLab(); },
     [](frmMain& m) { m.ViewTagLab(); }},
    {"frmTagJCD", "frmSchedulesJCD", &frmMain::DBGrid3, &frmMain::Data7, [](frmMain& m) { m.ViewAllJCodes(); },
     [](frmMain& m) { m.ViewTagJCodes(); }},
    {"frmTagASC", "frmSchedulesASC", &frmMain::DBGrid4, &frmMain::Data13, [](frmMain& m) { m.ViewAllASC(); },
     [](frmMain& m) { m.ViewTagASC(); }},
    {"frmTagDRG", "frmSchedulesDRG", &frmMain::DBGrid5, &frmMain::Data9, [](frmMain& m) { m.ViewAllDRG(); },
     [](frmMain& m) { m.ViewTagDRG(); }},
};
constexpr int kViewCount = int(std::size(kToolbarViews));

const ToolbarView* toolbarView(int view)
{
    return view >= 0 && view < kViewCount ? &kToolbarViews[view] : nullptr;
}

bool hasRows(platform::DataControl& data)
{
    return data.hasRecordset() && data.Recordset().RecordCount() > 0;
}

// Column 0 of every grid is its Tag column: a tagged list is shown with it.
void showTagColumn(platform::DBGrid* grid)
{
    if (grid->ColumnCount() > 0 && !grid->Columns(0).Visible())
        grid->Columns(0).setVisible(true);
}

void lowerBusyTo(int level)
{
    while (platform::busyCount() > level)
        SetBusyCursor(0);
}

}  // namespace

void frmMain::Toolbar1_ButtonClick(QAction* Button)
{
    // The buttons are told apart by their captions, tested in this order and read afresh at every test:
    // a tagged switch that found tagged codes has turned "View Tagged" into "View All" on the way.
    GridClickPending = 0;
    bool switched = false;
    auto is = [Button](const QString& caption) { return Button->text() == caption; };
    const int view = cmboCurrentView->currentIndex();
    const ToolbarView* v = toolbarView(view);

    if (is(QStringLiteral("Display")))
        openWindow(QStringLiteral("frmGridSet"), Open::Reused, vbModeless);
    if (is(QStringLiteral("Find/Search"))) {
        cmbNewCodes->setVisible(false);
        if (v)
            ShowFindWindow(true);
    }
    if (is(QStringLiteral("KELVA"))) {
        cmbNewCodes->setVisible(false);
        strCurrentCpt = CurrentCodemod();
        openWindow(QStringLiteral("frmKelva"), Open::Fresh, vbModeless);
    }
    if (is(QStringLiteral("Utilization"))) {
        cmbNewCodes->setVisible(false);
        OpenAnalysis(vbModeless);
    }
    if (is(QStringLiteral("Fee Manager")) && v) {
        if (view <= 1)
            cmbNewCodes->setVisible(false);
        openWindow(QString::fromLatin1(v->feeManager), Open::Fresh, vbModeless);
    }
    if (is(kViewTagged)) {
        ToolbarTaggedSwitch(view, switched);
        if (view >= 2)
            return;
    }
    if (is(kViewAll))
        ToolbarAllCodesSwitch(view, switched);
    if (is(QStringLiteral("Tag/Filter"))) {
        cmbNewCodes->setVisible(false);
        if (v)
            openWindow(QString::fromLatin1(v->tagWindow), Open::Fresh, vbModal);
    }
    if (is(QStringLiteral("Reports"))) {
        const QString text = cmboCurrentView->currentText();
        if (text == QLatin1String("KELVA") || text == QLatin1String("KELVA OPPS")) {
            cmbNewCodes->setVisible(false);
            openWindow(QStringLiteral("frmReports"), Open::Reused, vbModal);
        } else {
            auto& registry = platform::forms();
            for (const char* name : {"frmReports", "frmReportOther"})
                if (platform::Form* f = registry.loadedByName(QString::fromLatin1(name)))
                    registry.Unload(*f);
            openWindow(QStringLiteral("frmReportOther"), Open::Fresh, vbModal);
        }
    }
}

void frmMain::ToolbarTaggedSwitch(int view, bool& switched)
{
    const ToolbarView* v = toolbarView(view);
    cmbNewCodes->setVisible(false);
    if (!v || !v->taggedCodes)
        return;
    const int level = platform::busyCount();
    DataControl& data = this->*(v->data);
    if (view <= 1) {
        QString cpt;
        const QString kept = strCurrentCpt;
        try {
            showTagColumn(dbg);
            SetBusyCursor(11);
            if (hasRows(data) && !data.Recordset().EOF() && !data.Recordset().BOF())
                cpt = data.Recordset().Fields(db::feecol::Cpt).Value().toString();
            if (view == 1)
                g().NoTaggedCodes = 0;
            ViewTagRecs();
            setViewTaggedCaption(kViewAll);
        } catch (const dao::Error& e) {
            lowerBusyTo(level);
            seam().MsgBox(e.description, vbOKOnly);
            return;
        }
        // In "KELVA OPPS" a step that fails from here on is passed over and the click goes on.
        auto step = [this, view, level](auto&& fn) {
            if (view == 1) {
                platform::resumeNext(fn);
                return true;
            }
            try {
                fn();
                return true;
            } catch (const dao::Error& e) {
                lowerBusyTo(level);
                seam().MsgBox(e.description, vbOKOnly);
                return false;
            }
        };
        const bool noTagged = view == 0 ? !hasRows(data) : g().NoTaggedCodes == -1;
        if (noTagged && !step([this] {
                ViewAllRecs();
                setViewTaggedCaption(kViewTagged);
            }))
            return;
        switched = true;
        SetBusyCursor(0);
        const std::function<void()> position[] = {[this] { RefreshGrid(); },
                                                  [this, kept] { LocateSavedCode(kept); },
                                                  [this] { RefreshGrid(); }, [this, cpt] { LocateSavedCode(cpt); }};
        for (const auto& fn : position)
            if (!step(fn))
                return;
        return;
    }

    try {
        showTagColumn(this->*(v->grid));
        SetBusyCursor(11);
        setViewTaggedCaption(kViewAll);
        v->taggedCodes(*this);
        if (!hasRows(data)) {
            v->allCodes(*this);
            setViewTaggedCaption(kViewTagged);
        }
        switched = true;
        SetBusyCursor(0);
    } catch (const dao::Error& e) {
        lowerBusyTo(level);
        seam().MsgBox(e.description, vbOKOnly);
    }
}

void frmMain::ToolbarAllCodesSwitch(int view, bool& switched)
{
    const ToolbarView* v = toolbarView(view);
    cmbNewCodes->setVisible(false);
    if (!v || !v->allCodes)
        return;
    const int level = platform::busyCount();
    try {
        if (view <= 1) {
            const QString kept = strCurrentCpt = CurrentCodemod();
            SetBusyCursor(11);
            if (!switched) {
                setViewTaggedCaption(kViewTagged);
                ViewAllRecs();
                RefreshGrid();
                LocateSavedCode(kept);
                switched = true;
            }
            SetBusyCursor(0);
            LocateSavedCode(kept);
        } else if (!switched) {
            v->allCodes(*this);
            setViewTaggedCaption(kViewTagged);
            switched = true;
        }
    } catch (const dao::Error& e) {
        lowerBusyTo(level);
        seam().MsgBox(e.description, vbOKOnly);
    }
}
