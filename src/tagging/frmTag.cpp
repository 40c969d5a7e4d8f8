#include "tagging/frmTag.h"

#include "app/globals.h"
#include "db/parmsrow.h"
#include "main/frmMain.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/colours.h"
#include "platform/controls/twips.h"
#include "platform/dao/Database.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QSignalBlocker>
#include <QTabBar>
#include <algorithm>

KELVA_FORM_NAME(frmTag)

using platform::newControl;

namespace {

const QString kAllSpecialties = QStringLiteral("ALL CODES/ALL SPECIALTIES");

}  // namespace

frmTag::frmTag()
{
    setObjectName(QStringLiteral("frmTag"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    platform::useDesignFont(this);
    setFixedSize(platform::tw(12240), platform::tw(7860));

    SSTab1 = newControl<QTabWidget>(this, "SSTab1", 120, 120, 12000, 2340);
    const char* captions[] = {"Description Contains", "Code Range", "User Defined Schedules or Frequencies",
                              "Speciality Description", "Status Code", "Facility Site of Service"};
    QWidget* page[6];
    for (int i = 0; i < 6; ++i) {
        page[i] = new QWidget;
        page[i]->setObjectName(QStringLiteral("SSTab1_%1").arg(i));
        SSTab1->addTab(page[i], QString::fromLatin1(captions[i]));
    }
    auto option = [&](int index, QWidget* parent, int left, int top, int width, const QString& caption) {
        addOption(index, parent, left, top, width, caption);
    };
    auto exclusion = [&](int index, QWidget* parent, int top) {
        Check1.add(index, newControl<QCheckBox>(parent, QStringLiteral("Check1_%1").arg(index), 240, top, 1800, 300,
                                                QStringLiteral("And Exclude")));
        Text2.add(index, newControl<QLineEdit>(parent, QStringLiteral("Text2_%1").arg(index), 2640, top - 30, 6000, 360));
        Text2(index)->setEnabled(false);
    };
    auto search = [&](int index, QWidget* parent) {
        btn.add(index, newControl<QPushButton>(parent, QStringLiteral("btn_%1").arg(index), 9840, 1320, 1800, 420,
                                               QStringLiteral("&Start Search")));
    };

    option(0, page[0], 240, 300, 2340, QStringLiteral("&Description Contains"));
    Combo1 = newControl<QComboBox>(page[0], "Combo1", 2640, 270, 6000, 360);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    exclusion(0, page[0], 840);
    search(0, page[0]);

    option(1, page[1], 240, 300, 2340, QStringLiteral("&Code Range"));
    Text1.add(0, newControl<QLineEdit>(page[1], "Text1_0", 2640, 270, 1080, 360));
    Label1 = newControl<QLabel>(page[1], "Label1", 3840, 300, 900, 300, QStringLiteral("through"));
    Label1->setAlignment(Qt::AlignCenter);
    Text1.add(1, newControl<QLineEdit>(page[1], "Text1_1", 4860, 270, 1080, 360));
    for (auto [i, t] : Text1)
        t->setMaxLength(5);
    exclusion(1, page[1], 840);
    search(5, page[1]);

    option(2, page[2], 240, 240, 9000, QStringLiteral("S1, S2, S3, S4, or S5 user defined fees greater than $ 0"));
    option(4, page[2], 240, 600, 9000, QStringLiteral("Freq1, Freq2, Freq3, Freq4, or Freq5 frequencies greater than 0"));
    exclusion(2, page[2], 1080);
    search(6, page[2]);

    Label7 = newControl<QLabel>(page[3], "Label7", 240, 180, 9000, 300,
                                QStringLiteral("&Choose from one of the following Speciality code Descriptions"));
    Combo2 = newControl<QComboBox>(page[3], "Combo2", 240, 480, 8400, 360);
    Combo2->setEditable(true);
    Combo2->setInsertPolicy(QComboBox::NoInsert);
    Label7->setBuddy(Combo2);
    option(3, page[3], 240, 480, 2340, QStringLiteral("&Description Contains"));
    Option1(3)->hide();
    exclusion(3, page[3], 1080);
    search(8, page[3]);

    option(5, page[4], 240, 300, 3600, QStringLiteral("GAP Codes (Status \"g\" )"));
    option(6, page[4], 240, 720, 2400, QStringLiteral("Select other Status"));
    Combo3 = newControl<QComboBox>(page[4], "Combo3", 2640, 690, 1500, 360);
    Combo3->setEditable(true);
    Combo3->setInsertPolicy(QComboBox::NoInsert);
    Combo3->setEnabled(false);
    search(9, page[4]);

    Label6 = newControl<QLabel>(page[5], "Label6", 240, 300, 9000, 300,
                                QStringLiteral("Non Facility (office) fee is different from Facility (hospital) Fee"));
    search(10, page[5]);

    addPreview(120, 2580, 12000, 4560);
    DBGrid1->addColumn(QStringLiteral("CODE"), QStringLiteral("CPT")).setWidth(1200);
    DBGrid1->addColumn(QStringLiteral("MOD"), QStringLiteral("MOD")).setWidth(800);
    DBGrid1->addColumn(QStringLiteral("Desc"), QStringLiteral("Desc")).setWidth(8800);
    addWindowButtons(7260, 12240);
    wire();
}

frmTag::~frmTag() = default;

void frmTag::wire()
{
    wireCriteria();
    platform::onGotFocus(Combo1, [this] { Combo1_GotFocus(); });
}

QString frmTag::sessionTable() const
{
    return dao::quoteIdentifier(g().CurSesTab);
}

void frmTag::Form_Load()
{
    platform::BusyCursor busy;
    setCaption(QStringLiteral("KELVA Morvex Code Tagging"));
    Frame1->setTitle(QStringLiteral("Tagging preview for KELVA Table"));
    forms().unloadIfLoaded<frmPlimView>();
    g().PlimViewActive = 0;
    Data(0).setDatabase(g().MainDb);
    Data(0).setRecordSource(QStringLiteral("select [CODEMOD],[MOD],[DESC] from %1 Order by [CODEMOD]").arg(sessionTable()));
    firstActivation = true;
    LoadTagHistory();
    btn(0)->setEnabled(false);
    pending_ = {};
    Data1.setDatabase(g().MainDb);
    Data1.setRecordSource(QStringLiteral("specdesc"));
    Data1.Refresh();
    FillSpecialtyList();
    FillStatusList();
}

void frmTag::FillSpecialtyList()
{
    QStringList entries;
    auto& rs = Data1.Recordset();
    for (rs.MoveFirst(); !rs.EOF(); rs.MoveNext())
        entries << rs["SPECDESC"].Value().toString().mid(3);  // a value shorter than the prefix lists as empty
    // Stable, by the first three characters only: alike ones keep the table's order.
    std::stable_sort(entries.begin(), entries.end(), [](const QString& a, const QString& b) {
        return QString::compare(a.left(3), b.left(3), Qt::CaseSensitive) < 0;
    });
    entries.prepend(kAllSpecialties);
    platform::fillList(Combo2, entries);
    const QSignalBlocker block(Combo2);
    Combo2->setCurrentIndex(0);
    Combo2->setEditText(kAllSpecialties);
}

void frmTag::FillStatusList()
{
    QStringList entries;
    dao::Recordset rs = g().MainDb.OpenRecordset(
        QStringLiteral("select status from data0000 where status not like '*g*' group by status"));
    for (; !rs.EOF(); rs.MoveNext())
        entries << rs["status"].Value().toString();
    rs.Close();
    entries << QStringLiteral("Y") << QStringLiteral("YC");
    platform::fillList(Combo3, entries);
    const QSignalBlocker block(Combo3);
    Combo3->setCurrentIndex(-1);
    Combo3->setEditText(QString());
}

void frmTag::Form_Activate()
{
    if (!firstActivation)
        return;
    firstActivation = false;
    if (InOppsView())
        for (int i = 2; i <= 5; ++i)
            SSTab1->setTabEnabled(i, false);
    platform::setOptionValue(Option1(0), true);
    SSTab1->setCurrentIndex(0);
    platform::setText(Text1(0), QStringLiteral("00000"));
}

void frmTag::SSTab1_Click(int)
{
    switch (SSTab1->currentIndex()) {
    case 0: platform::setOptionValue(Option1(0), true); break;
    case 1: platform::setOptionValue(Option1(1), true); break;
    case 2:
        btn(6)->setEnabled(true);
        platform::SetFocus(btn(6));
        platform::setOptionValue(Option1(2), true);
        break;
    case 3: platform::setOptionValue(Option1(3), true); break;
    default: break;
    }
}

void frmTag::Option1_Click(int Index)
{
    if (Option1(0)->isChecked()) {
        for (auto [i, t] : Text1) {
            t->setEnabled(false);
            platform::setBackColor(t, platform::vbButtonFace);
        }
        Label1->setEnabled(false);
        Combo1->setEnabled(true);
        platform::setBackColor(Combo1, platform::vbWindowBackground);
        platform::SetFocus(Combo1);
    } else {
        for (auto [i, t] : Text1) {
            t->setEnabled(true);
            platform::setBackColor(t, platform::vbWindowBackground);
        }
        Label1->setEnabled(true);
        Combo1->setEnabled(false);
        platform::setBackColor(Combo1, platform::vbButtonFace);
        if (Index == 1)
            platform::SetFocus(Text1(0));
    }
    if (Index == 5)
        Combo3->setEnabled(false);
    else if (Index == 6)
        Combo3->setEnabled(true);
}

void frmTag::Combo1_GotFocus()
{
    // The description's search comes next in the tab order.
    QWidget::setTabOrder(Combo1, btn(0));
}
