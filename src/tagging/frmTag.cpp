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

constexpr qint32 kAppWorkspace = qint32(0x8000000Cu);
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
    optionGroup = new QButtonGroup(this);
    auto option = [&](int index, QWidget* parent, int left, int top, int width, const QString& caption) {
        auto* o = newControl<QRadioButton>(parent, QStringLiteral("Option1_%1").arg(index), left, top, width, 300,
                                           caption);
        Option1.add(index, o);
        optionGroup->addButton(o, index);
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

    Frame1 = newControl<QGroupBox>(this, "Frame1", 120, 2580, 12000, 4560);
    Label3 = newControl<QLabel>(Frame1, "Label3", 240, 300, 11520, 300);
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);
    DBGrid1 = newControl<platform::DBGrid>(Frame1, "DBGrid1", 240, 660, 11520, 3240);
    DBGrid1->setAllowUpdate(false);
    DBGrid1->setAllowAddNew(false);
    DBGrid1->setAllowDelete(false);
    DBGrid1->addColumn(QStringLiteral("CODE"), QStringLiteral("CPT")).setWidth(1200);
    DBGrid1->addColumn(QStringLiteral("MOD"), QStringLiteral("MOD")).setWidth(800);
    DBGrid1->addColumn(QStringLiteral("Desc"), QStringLiteral("Desc")).setWidth(8800);
    DBGrid1->hide();
    Label4 = newControl<QLabel>(Frame1, "Label4", 240, 4020, 2400, 360, QStringLiteral("Tag these codes?"));
    Label4->setFont(bold);
    Label4->hide();
    btn.add(2, newControl<QPushButton>(Frame1, "btn_2", 2760, 3990, 1200, 420, QStringLiteral("Yes")));
    btn.add(7, newControl<QPushButton>(Frame1, "btn_7", 4080, 3990, 1200, 420, QStringLiteral("No")));
    btn(2)->hide();
    btn(7)->hide();

    btn.add(4, newControl<QPushButton>(this, "btn_4", 120, 7260, 2040, 480, QStringLiteral("&Clear All Tags")));
    btn.add(3, newControl<QPushButton>(this, "btn_3", 10320, 7260, 1800, 480, QStringLiteral("&Close")));

    data0_ = std::make_unique<platform::DataControl>(this);
    DBGrid1->setDataSource(data0_.get());
    wire();
}

frmTag::~frmTag() = default;

platform::DataControl& frmTag::Data(int Index)
{
    if (Index != 0)
        throw dao::Error(340, QStringLiteral("Control array element '%1' doesn't exist").arg(Index));
    return *data0_;
}

void frmTag::wire()
{
    QObject::connect(SSTab1, &QTabWidget::currentChanged, this, [this, previous = 0](int now) mutable {
        const int was = previous;
        previous = now;
        platform::guarded([&] { SSTab1_Click(was); });
    });
    platform::onGotFocus(SSTab1->tabBar(), [this] { SSTab1_GotFocus(); });
    for (auto [i, o] : Option1)
        platform::onClick(o, [this, i = i] { Option1_Click(i); });
    for (auto [i, c] : Check1)
        platform::onClick(c, [this, i = i] { Check1_Click(i); });
    platform::onChange(Combo1, [this] { Combo1_Change(); });
    platform::onClick(Combo1, [this] { Combo1_Click(); });
    platform::onGotFocus(Combo1, [this] { Combo1_GotFocus(); });
    platform::onKeyPress(Combo1, [this](int& KeyAscii) { Combo1_KeyPress(KeyAscii); });
    for (auto [i, t] : Text1) {
        platform::onChange(t, [this, i = i] { Text1_Change(i); });
        platform::onGotFocus(t, [this, i = i] { Text1_GotFocus(i); });
        platform::onLostFocus(t, [this, i = i] { Text1_LostFocus(i); });
    }
    platform::onClick(btn, [this](int Index) { btn_Click(Index); });
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

void frmTag::LoadTagHistory()
{
    tagging::loadTagHistory(Combo1);
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

void frmTag::SSTab1_GotFocus()
{
    DBGrid1->hide();
    Label3->hide();
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

void frmTag::Check1_Click(int Index)
{
    // The caption's colour is the tick's sign: closing a preview reads it back.
    if (platform::checkValue(Check1(Index)) == 1) {
        platform::setForeColor(Check1(Index), platform::vbButtonText);
        Text2(Index)->setEnabled(true);
    } else {
        platform::setForeColor(Check1(Index), kAppWorkspace);
        Text2(Index)->clear();
        Text2(Index)->setEnabled(false);
    }
}

void frmTag::Combo1_Change()
{
    btn(0)->setEnabled(true);
}

void frmTag::Combo1_Click()
{
    btn(0)->setEnabled(true);
}

void frmTag::Combo1_GotFocus()
{
    // The description's search comes next in the tab order.
    QWidget::setTabOrder(Combo1, btn(0));
}

void frmTag::Combo1_KeyPress(int& KeyAscii)
{
    if (tagging::isBlankText(Combo1->currentText()))
        btn(0)->setEnabled(false);
    if (KeyAscii == 13 && btn(0)->isEnabled())
        platform::SetFocus(btn(0));
}

void frmTag::Text1_Change(int)
{
    btn(5)->setEnabled(true);
}

void frmTag::Text1_GotFocus(int Index)
{
    Text1(Index)->selectAll();
}

void frmTag::Text1_LostFocus(int Index)
{
    platform::setText(Text1(Index), tagging::zeroFill(Text1(Index)->text()));
}

void frmTag::openresults(int i)
{
    DBGrid1->show();
    btn(2)->show();
    platform::SetFocus(btn(2));
    Label4->show();
    btn(7)->show();
    SSTab1->setEnabled(false);
    for (int o : {0, 1, 2, 4})
        Option1(o)->setEnabled(false);
    for (int b : {0, 5, 6, 3, 4})
        btn(b)->setEnabled(false);
    for (auto [n, t] : Text1)
        t->setEnabled(false);
    Combo1->setEnabled(false);
    Label3->show();
    if (i >= 0 && i <= 3) {
        Text2(i)->setEnabled(false);
        Check1(i)->setEnabled(false);
    }
}

void frmTag::closeresults(int i)
{
    DBGrid1->hide();
    btn(2)->hide();
    SSTab1->setEnabled(true);
    platform::SetFocus(SSTab1->tabBar());
    Label4->hide();
    btn(7)->hide();
    for (int o : {0, 1, 2, 4})
        Option1(o)->setEnabled(true);
    for (int b : {0, 5, 6, 3, 4})
        btn(b)->setEnabled(true);
    for (auto [n, t] : Text1)
        t->setEnabled(true);
    Combo1->setEnabled(true);
    Label3->hide();
    if (i >= 0 && i <= 3) {
        Check1(i)->setEnabled(true);
        Text2(i)->setEnabled(platform::foreColor(Check1(i)) == platform::vbButtonText);
    }
}
