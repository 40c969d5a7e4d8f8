#include "sessions/frmKelva.h"

#include "app/globals.h"
#include "db/sessions.h"
#include "db/sqltext.h"
#include "main/frmMain.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/dao/Error.h"
#include "platform/dao/RecordEdit.h"
#include "platform/dao/Recordset.h"
#include "platform/dao/Transaction.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"
#include "sessions/frmLocation.h"
#include "sessions/locality.h"

using platform::checkValue;
using platform::place;
using platform::setCheckValue;
using Row = db::SessionRow;

namespace {

const QString kOppsView = QStringLiteral("KELVA OPPS");
const QString kNotANumber = QStringLiteral("All boxes must have a number");
const QString kHint = QStringLiteral(
    "HPSA (Health Professional Shortage Areas) can be found by zip code.  Use the Change Locality button above "
    "to select zip code.");
const QString kUncheckedWarning =
    QStringLiteral("You have unchecked the work adjuster.  By doing so, KELVA Morvex will not calculate accurate "
                   "Medicare fee schedules.") +
    QStringLiteral(" We allow users to remove the work adjuster for calculating private pay fee schedules that "
                   "specifically exclude this factor.");
const QString kRestoredMessage = QStringLiteral(
    "This screen has been updated to show your initial default settings.  Click 'OK' to close this message then "
    "'Apply' to make these changes to the main screen or 'Cancel' to return with no update.");
constexpr int kHpsaHelp = 1070;
constexpr int kFactorsHelp = 1140;

QLabel* label(QWidget* parent, const QString& text, int left, int top, int width, int height = 285)
{
    return platform::newLabel(parent, text, left, top, width, height);
}

QLineEdit* box(QWidget* parent, const QString& name, int left, int top, int width, bool readOnly)
{
    auto* b = platform::newControl<QLineEdit>(parent, name, left, top, width, 315);
    b->setReadOnly(readOnly);
    return b;
}

// A number as the boxes show it: plain decimal, no trailing zeros (an adjustment of 0.05 shows 5).
QString numberText(const dao::Variant& v)
{
    if (v.isNull())
        return QString();
    return v.isNumeric() ? db::sqlNumber(dao::CDbl(v)) : v.toString();
}

QString textOf(const dao::Variant& v)
{
    return v.isNull() ? QString() : v.toString();
}

dao::Variant nullWhenEmpty(const QString& text)
{
    return text.isEmpty() ? dao::Variant() : dao::Variant(text);
}

}  // namespace

frmKelva::frmKelva()
{
    setObjectName(QStringLiteral("frmKelva"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(platform::tw(6600), platform::tw(7500));
    platform::useDesignFont(this);

    FrameSession = platform::newFrame(this, QStringLiteral("KELVA Settings for Session:"), 120, 120, 6360, 660);
    dspSession = label(FrameSession, QString(), 240, 300, 5880);
    dspSession->setObjectName(QStringLiteral("dspSession"));

    FrameGeo = platform::newFrame(this, QStringLiteral("Geographic Factors"), 120, 900, 6360, 1920);
    Label2 = label(FrameGeo, QStringLiteral("Geographic Area:"), 240, 330, 1440);
    Text1 = box(FrameGeo, QStringLiteral("Text1"), 1740, 300, 4440, true);
    const char* const gpciCaptions[] = {"Work", "Practice Exp.", "Malpractice Exp."};
    for (int i = 0; i < 3; ++i) {
        gpcitxt.add(i, label(FrameGeo, QString::fromLatin1(gpciCaptions[i]), 240, 720 + 360 * i, 1440));
        Text2.add(i, box(FrameGeo, QStringLiteral("Text2_%1").arg(i), 1740, 690 + 360 * i, 1080, true));
    }
    Command2 = platform::newControl<QPushButton>(FrameGeo, QStringLiteral("Command2"), 3960, 1380, 2220, 400,
                                                 QStringLiteral("Change Locality"));

    FrameHpsa = platform::newFrame(this, QStringLiteral("HPSA Bonus Indicator"), 120, 2940, 6360, 2220);
    gpcitxt.add(3, label(FrameHpsa, QStringLiteral("Zip Code:"), 240, 330, 1440));
    Text2.add(3, box(FrameHpsa, QStringLiteral("Text2_3"), 1740, 300, 1080, true));
    gpcitxt.add(4, label(FrameHpsa, QStringLiteral("Effective Date:"), 240, 690, 1440));
    Text2.add(4, box(FrameHpsa, QStringLiteral("Text2_4"), 1740, 660, 1680, true));
    QLabel* hpsa = label(FrameHpsa, QString(), 3600, 330, 2640);
    hpsa->setObjectName(QStringLiteral("gpcitxt_5"));
    QFont bold = hpsa->font();
    bold.setBold(true);
    hpsa->setFont(bold);
    hpsa->setStyleSheet(QStringLiteral("color: #0000ff;"));
    gpcitxt.add(5, hpsa);
    txtHint = platform::newControl<QPlainTextEdit>(FrameHpsa, QStringLiteral("txtHint"), 240, 1080, 4800, 900);
    txtHint->setReadOnly(true);
    txtHint->setFrameShape(QFrame::NoFrame);
    txtHint->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtHint->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtHint->setStyleSheet(QStringLiteral("background: transparent;"));
    txtHint->setPlainText(kHint);
    Command3 = platform::newControl<QPushButton>(FrameHpsa, QStringLiteral("Command3"), 5160, 1680, 1020, 400,
                                                 QStringLiteral("Help"));

    FrameFactors = platform::newFrame(this, QStringLiteral("KELVA Factors"), 120, 5280, 6360, 1500);
    lbl.add(8, label(FrameFactors, QStringLiteral("KELVA Conversion Factor (CF):"), 240, 330, 3600));
    kelvacf = box(FrameFactors, QStringLiteral("kelvacf"), 3960, 300, 1200, false);
    lbl.add(0, label(FrameFactors, QStringLiteral("Apply .8806 Work Adjuster:"), 240, 720, 3600));
    Check2 = platform::newControl<QCheckBox>(FrameFactors, QStringLiteral("Check2"), 3960, 720, 360, 285);
    Command4 = platform::newControl<QPushButton>(FrameFactors, QStringLiteral("Command4"), 5160, 1020, 1020, 400,
                                                 QStringLiteral("Help"));
    // Carried, not shown: the adjustment and the mirror of the main window's box.
    lbl.add(7, label(FrameFactors, QStringLiteral("Conversion Factor Adjustment:"), 240, 1080, 3600));
    cfadjust = box(FrameFactors, QStringLiteral("cfadjust"), 3960, 1080, 1200, false);
    Check1 = platform::newControl<QCheckBox>(FrameFactors, QStringLiteral("Check1"), 240, 1080, 3600, 285,
                                             QStringLiteral("Use Medicare Work RVU Adjuster"));
    lbl(7)->hide();
    cfadjust->hide();
    Check1->hide();
    // Ticked when created; loading sets it from the session.
    Check2->setChecked(true);

    Command1.add(2, platform::newControl<QPushButton>(this, QStringLiteral("Command1_2"), 1680, 6960, 1680, 400,
                                                      QStringLiteral("Restore Defaults")));
    Command1.add(1, platform::newControl<QPushButton>(this, QStringLiteral("Command1_1"), 3480, 6960, 1320, 400,
                                                      QStringLiteral("Apply")));
    Command1.add(0, platform::newControl<QPushButton>(this, QStringLiteral("Command1_0"), 4920, 6960, 1320, 400,
                                                      QStringLiteral("Cancel")));
    wire();
}

void frmKelva::wire()
{
    using namespace platform;
    onClick(Command1, [this](int Index) { Command1_Click(Index); });
    onClick(Check2, [this] { Check2_Click(); });
    onClick(Command2, [this] { Command2_Click(); });
    onClick(Command3, [this] { Command3_Click(); });
    onClick(Command4, [this] { Command4_Click(); });
}

frmMain& frmKelva::main() const
{
    return forms().get<frmMain>();
}

QString frmKelva::hpsaText(const QString& ruralInd)
{
    if (ruralInd.isEmpty())
        return QStringLiteral("Not HPSA");
    return QStringLiteral("HPSA \"") + ruralInd + QStringLiteral("\" Area");
}

void frmKelva::Form_Load()
{
    frmMain& m = main();
    if (m.cmboCurrentView->currentText() == kOppsView) {
        // Only the locality can be changed in that view.
        FrameHpsa->setEnabled(false);
        FrameFactors->setEnabled(false);
        Command1(2)->setEnabled(false);
    }
    setCaption(g().AppTitle + QStringLiteral(" Settings"));
    forms().unloadIfLoaded<frmPlimView>();
    g().PlimViewActive = 0;
    platform::setText(dspSession, m.Combo1->currentText());

    const Row row = m.CurrentSession();
    sesTab_ = row.get(Row::SESTAB);
    zip_ = textOf(row.value(Row::selectzip));
    ruralInd_ = textOf(row.value(Row::rualind));

    // A session whose flag is off runs the box's click here: the flag is stored again and the warning shown.
    const dao::Variant useAdj = row.value(Row::CURUSEADJ);
    setCheckValue(Check2, !useAdj.isNull() && useAdj.toBool() ? 1 : 0);

    lbl(8)->setText(QStringLiteral("20") + g().YearSuffix + QStringLiteral(" ") + lbl(8)->text());

    // The boxes show the row as stored (the main window's panel shows the same values).
    platform::setText(Text1, textOf(row.value(Row::GEOLOC)));
    platform::setText(kelvacf, numberText(row.value(Row::CURCONVF)));
    const dao::Variant adjust = row.value(Row::CURCONVA);
    platform::setText(cfadjust, adjust.isNumeric() ? db::sqlNumber(dao::CDbl(adjust) * 100) : QStringLiteral("0"));
    const db::RowColumn* gpcis[] = {&Row::CURWORKGPCI, &Row::CURPRACGPCI, &Row::CURMALPGPCI};
    for (int i = 0; i < 3; ++i)
        platform::setText(Text2(i), jet::format(row.value(*gpcis[i]), QStringLiteral("#0.000")));
    setCheckValue(Check1, checkValue(m.Check1));

    if (!zip_.isEmpty())
        showZip(zip_, ruralInd_);
    else
        clearZip();
}

void frmKelva::showZip(const QString& zip, const QString& ruralInd)
{
    zip_ = zip;
    ruralInd_ = ruralInd;
    platform::setText(Text2(3), zip);
    platform::setText(gpcitxt(5), hpsaText(ruralInd));
    txtHint->hide();
    platform::setText(Text2(4), locality::quarterText(locality::zipVersion(main().Data3.Database())));
}

void frmKelva::clearZip()
{
    zip_.clear();
    ruralInd_.clear();
    platform::setText(Text2(3), QString());
    platform::setText(Text2(4), QString());
    platform::setText(gpcitxt(5), QString());
    txtHint->show();
}

void frmKelva::TakeLocality(const LocalityChoice& choice)
{
    platform::setText(Text1, choice.text);
    platform::setText(Text2(0), choice.work);
    platform::setText(Text2(1), choice.pract);
    platform::setText(Text2(2), choice.malp);
    if (choice.byZip)
        showZip(choice.zip, choice.ruralInd);
    else
        clearZip();
}

bool frmKelva::isCurrentSession()
{
    frmMain& m = main();
    if (!m.Data3.hasRecordset())
        return false;
    auto& rs = m.Data3.Recordset();
    if (rs.EOF() || rs.BOF())
        return false;
    return m.CurrentSession().value(Row::SESTAB).toString() == sesTab_;
}

void frmKelva::writeSession(const std::function<void(Row&)>& write)
{
    frmMain& m = main();
    dao::Database& db = m.Data3.Database();
    dao::Transaction trans(db);
    if (isCurrentSession()) {
        Row row(m.Data3.Recordset());
        dao::RecordEdit edit(row.recordset());
        write(row);
        edit.Update();
    } else {
        // The user switched sessions meanwhile: the window's own session is written, not the current one.
        Row row(db.OpenRecordset(QStringLiteral("SELECT * FROM SESSIONS WHERE SESTAB = ?"), {sesTab_}));
        if (row.recordset().EOF())
            throw dao::Error(dao::errNoCurrentRecord, QStringLiteral("No current record."));
        dao::RecordEdit edit(row.recordset());
        write(row);
        edit.Update();
    }
    trans.Commit();
}

void frmKelva::Check2_Click()
{
    const bool on = checkValue(Check2) == 1;
    {
        platform::BusyCursor busy;
        try {
            writeSession([&](Row& row) { row.assign(Row::CURUSEADJ, on); });
        } catch (const dao::Error& e) {
            seam().MsgBox(e.description, vbOKOnly);
            return;
        }
        // The adjuster's multiplier is the same either way.
        g().WorkAdjuster = 1.0;
    }
    if (!on)
        seam().MsgBox(kUncheckedWarning, vbOKOnly);
    platform::BusyCursor busy;
    frmMain& m = main();
    m.RequeryListShown();
    m.RefreshGrid();
}

void frmKelva::Command1_Click(int Index)
{
    switch (Index) {
    case 0:
        Close();
        break;
    case 1:
        Apply();
        break;
    case 2:
        RestoreDefaults();
        break;
    default:
        break;
    }
}

void frmKelva::Apply()
{
    // Every box is checked before anything is written. An empty adjustment is none; an empty factor is
    // refused, since it would zero every fee of the session.
    double convFactor = 0, adjust = 0, gpci[3] = {0, 0, 0};
    bool numbers = dao::parseNumber(kelvacf->text(), &convFactor);
    if (!cfadjust->text().trimmed().isEmpty())
        numbers = numbers && dao::parseNumber(cfadjust->text(), &adjust);
    for (int i = 0; i < 3; ++i)
        numbers = numbers && dao::parseNumber(Text2(i)->text(), &gpci[i]);
    if (!numbers) {
        seam().MsgBox(kNotANumber, vbOKOnly);
        return;
    }

    frmMain& m = main();
    platform::BusyCursor busy;
    dao::Variant storedLocality;
    try {
        storedLocality =
            m.Data3.Database().scalar(QStringLiteral("SELECT GEOLOC FROM SESSIONS WHERE SESTAB = ?"), {sesTab_});
        writeSession([&](Row& row) {
            row.assign(Row::CURCONVF, convFactor);
            row.assign(Row::CURCONVA, adjust / 100);
            row.assign(Row::CURUSEADJ, checkValue(Check2) == 1);
            row.assign(Row::CURWORKGPCI, gpci[0]);
            row.assign(Row::CURPRACGPCI, gpci[1]);
            row.assign(Row::CURMALPGPCI, gpci[2]);
            row.assign(Row::selectzip, nullWhenEmpty(zip_));
            row.assign(Row::rualind, nullWhenEmpty(ruralInd_));
            row.assign(Row::GEOLOC, Text1->text());
        });
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
        return;
    }

    if (isCurrentSession()) {
        // The main window follows the stored row: its panel and values now, its grid at its next activation.
        if (!textOf(storedLocality).isEmpty() && m.Data1.hasRecordset()) {
            const QString code = m.dbg->Columns(1).Text();
            if (!code.isEmpty())
                g().strCurrentCodemod = code;
        }
        try {
            m.LoadSessionSettings();
            platform::setText(m.cfadjust, db::sqlNumber(adjust) + QStringLiteral(" %"));
            m.RequestReload(1);
            m.FollowSessionLocality();
        } catch (const dao::Error& e) {
            seam().MsgBox(e.description, vbOKOnly);
        }
    }
    Hide();
    m.update();
    if (!g().strCurrentCodemod.isEmpty())
        LocateGridCode(g().strCurrentCodemod);
    Unload();
}

void frmKelva::RestoreDefaults()
{
    {
        platform::BusyCursor busy;
        const std::optional<Row> defaults = db::readSession(main().Data3.Database(), db::kDefaultSession);
        if (defaults) {
            platform::setText(Text1, textOf(defaults->value(Row::GEOLOC)));
            platform::setText(kelvacf, textOf(defaults->value(Row::CURCONVF)));
            const dao::Variant adjust = defaults->value(Row::CURCONVA);
            platform::setText(cfadjust,
                              adjust.isNumeric() ? db::sqlNumber(dao::CDbl(adjust) * 100) : QStringLiteral("0"));
            platform::setText(Text2(0), textOf(defaults->value(Row::CURWORKGPCI)));
            platform::setText(Text2(1), textOf(defaults->value(Row::CURPRACGPCI)));
            platform::setText(Text2(2), textOf(defaults->value(Row::CURMALPGPCI)));
            const dao::Variant useAdj = defaults->value(Row::CURUSEADJ);
            setCheckValue(Check1, !useAdj.isNull() && useAdj.toBool() ? 1 : 0);
        }
        // Ticking a box that was unticked stores the session's flag at once.
        setCheckValue(Check2, 1);
        if (defaults) {
            const QString zip = textOf(defaults->value(Row::selectzip));
            if (zip.isEmpty())
                clearZip();
            else
                showZip(zip, textOf(defaults->value(Row::rualind)));
        }
    }
    seam().MsgBox(kRestoredMessage, vbOKOnly);
}

void frmKelva::Command2_Click()
{
    forms().unloadIfLoaded<frmLocation>();
    forms().get<frmLocation>().Show(vbModal);
}

void frmKelva::Command3_Click()
{
    seam().HtmlHelp(programPath(QStringLiteral("morvex.chm")), kHpsaHelp);
}

void frmKelva::Command4_Click()
{
    seam().HtmlHelp(programPath(QStringLiteral("morvex.chm")), kFactorsHelp);
}

void frmKelva::LocateGridCode(const QString& codemod)
{
    frmMain& m = main();
    if (!m.Data1.hasRecordset())
        return;
    m.Data1.Recordset().FindFirst(QStringLiteral("CODEMOD = ?"), {codemod});
    m.dbg->setMarqueeStyle(3);
}

void frmKelva::Close()
{
    platform::BusyCursor busy;
    Hide();
    main().update();
    Unload();
}

KELVA_FORM_NAME(frmKelva)
