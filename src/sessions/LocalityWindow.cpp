#include "sessions/LocalityWindow.h"

#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QScopeGuard>

using platform::place;

namespace {

QLabel* label(QWidget* parent, const QString& text, int left, int top, int width, int height)
{
    auto* l = new QLabel(text, parent);
    place(l, left, top, width, height);
    return l;
}

}  // namespace

LocalityWindow::LocalityWindow()
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(platform::tw(11400), platform::tw(7740));
    platform::useDesignFont(this);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName("SSTab1");
    place(SSTab1, 120, 120, 5400, 2100);
    auto* byState = new QWidget;
    auto* byZip = new QWidget;
    SSTab1->addTab(byState, "Select by State");
    SSTab1->addTab(byZip, "Select by Zip Code");
    lblState = label(byState, "Select State:", 240, 420, 1560, 285);
    cmb = new QComboBox(byState);
    cmb->setObjectName("cmb");
    cmb->setEditable(false);
    place(cmb, 1860, 360, 3300, 360);
    lblZip = label(byZip, "Select Zip Code:", 240, 420, 1560, 285);
    Text1 = new QLineEdit(byZip);
    Text1->setObjectName("Text1");
    Text1->setMaxLength(5);
    place(Text1, 1860, 360, 1200, 360);

    Frame1 = new QGroupBox("Instructions:", this);
    Frame1->setObjectName("Frame1");
    place(Frame1, 5640, 120, 5640, 2100);
    const int tops[] = {300, 1140, 1500}, heights[] = {820, 340, 500};
    for (int i = 0; i < 3; ++i) {
        QLabel* l = label(Frame1, QString(), 120, tops[i], 5400, heights[i]);
        l->setObjectName(QStringLiteral("lblHelp_%1").arg(i));
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        lblHelp.add(i, l);
    }

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName("Frame2");
    place(Frame2, 120, 2340, 11160, 3600);
    DBGrid1 = new platform::DBGrid(Frame2);
    DBGrid1->setObjectName("DBGrid1");
    place(DBGrid1, 120, 300, 10920, 3180);
    DBGrid1->setAllowUpdate(false);
    DBGrid1->setMarqueeStyle(3);
    const struct {
        const char* caption;
        const char* field;
        int width;  // every state, locality and code shows whole; a county list may run on
    } columns[] = {{"STATE", "STATE", 1860},  {"ST", "ST", 420},           {"DESCRIPTION", "DESC", 2400},
                   {"COUNTY", "COUNTY", 1200}, {"CARRIER", "CARRIER", 900}, {"LOC CODE", "LOCCODE", 1000},
                   {"WORK", "WORK", 720},      {"PRACTICE", "PRACT", 900},  {"MALP", "MALP", 720}};
    for (const auto& c : columns)
        DBGrid1->addColumn(c.caption, c.field).setWidth(c.width);
    DBGrid1->setDataSource(&Data1);

    lblDesc = label(this, "Locality Description:", 120, 6060, 2100, 285);
    lst = label(this, QString(), 2280, 6060, 9000, 285);
    lst->setObjectName("lst");
    Label2 = label(this, QString(), 120, 6420, 11160, 285);
    Label2->setObjectName("Label2");
    Label3 = label(this,
                   "Note: KELVA Morvex does not provide pricing for Status \"C\" codes which are priced by the local "
                   "Part B Carrier.",
                   120, 6780, 11160, 285);
    Label3->setObjectName("Label3");

    btn.add(2, platform::newControl<QPushButton>(this, "btn_2", 8400, 7200, 1335, 400, "&Apply"));
    btn.add(0, platform::newControl<QPushButton>(this, "btn_0", 9900, 7200, 1335, 400, "&Cancel"));
}

void LocalityWindow::FillStateList()
{
    platform::fillList(cmb, locality::stateList(g().MainDb));
    // Filling selects nothing; the first choice is the user's.
    const QSignalBlocker block(cmb);
    cmb->setCurrentIndex(-1);
}

int LocalityWindow::ShowLocalities(const locality::Source& source)
{
    {
        listing = true;
        const auto listed = qScopeGuard([this] { listing = false; });
        Data1.setRecordSource(source.sql, source.params);
        Data1.Refresh();
        auto& rs = Data1.Recordset();
        if (!rs.EOF()) {
            rs.MoveLast();
            rs.MoveFirst();
        }
    }
    Frame1->hide();
    return static_cast<int>(Data1.Recordset().RecordCount());
}

std::optional<locality::ZipRow> LocalityWindow::FindZipCode(const QString& zip)
{
    std::optional<locality::ZipRow> row = locality::findZip(g().MainDb, zip);
    if (!row) {
        seam().MsgBox("Zip Code entered not found", vbOKOnly);
        platform::SetFocus(Text1);
    }
    return row;
}

std::optional<locality::ZipRow> LocalityWindow::TypedZipCode()
{
    if (Text1->text().size() != 5)
        return std::nullopt;
    seam().DoEvents();
    const QString zip = Text1->text();
    if (isBlankEntry(zip))
        return std::nullopt;
    platform::BusyCursor busy;
    return FindZipCode(zip);
}

bool LocalityWindow::isBlankEntry(const QString& text)
{
    return QString::compare(text, QStringLiteral(" "), Qt::CaseSensitive) <= 0;
}

bool LocalityWindow::HasLocality()
{
    if (!Data1.hasRecordset())
        return false;
    auto& rs = Data1.Recordset();
    return !rs.EOF() && !rs.BOF();
}

QString LocalityWindow::RowLocalityText()
{
    auto& rs = Data1.Recordset();
    return locality::localityText(rs["STATE"].Value().toString(), rs["ST"].Value().toString(),
                                  rs["DESC"].Value().toString());
}

QString LocalityWindow::RowText(int col)
{
    return DBGrid1->Columns(col).Text();
}

void LocalityWindow::WriteCarrierAndLoc()
{
    g().MainDb.Execute("UPDATE PARMS_CL SET CARRIER = ?, Loc = ?", {RowText(colCarrier), RowText(colLocCode)});
    if (frmMain* main = forms().loadedOrNull<frmMain>(); main && main->Data2.hasRecordset())
        main->Data2.Refresh();
}
