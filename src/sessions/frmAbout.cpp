#include "sessions/frmAbout.h"

#include "platform/forms/FormRegistry.h"

#include "app/buildinfo.h"
#include "app/globals.h"
#include "platform/controls/twips.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QApplication>
#include <QStyle>

using platform::place;

const frmAbout::DateButton frmAbout::kDateButtons[6] = {
    {"KELVA", "DatesKELVA", {"Date", "Date2"}},
    {"DMEPOS", "DatesDME", {"Date1", "Date2"}},
    {"Lab Fees", "DatesLAB", {"Date", "Date2"}},
    {"J-Codes", "DatesJCD", {}},
    {"ASC", "DatesASC", {"Date", "Date2", "Date3"}},
    {"DRG", "DatesDRG", {"Date"}},
};

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// The main database as the window's data controls name it.
void pointAtMainDatabase(platform::DataControl& data, const QString& table)
{
    data.setDatabaseName(programPath(QStringLiteral("kelva.mdb")));
    data.setConnect(g().DbConnect);
    data.setRecordSource(table);
    data.Refresh();
}

}  // namespace

frmAbout::frmAbout()
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(platform::tw(8400), platform::tw(5100));

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    place(picIcon, 240, 240, 540, 540);
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    picIcon->setPixmap(icon.pixmap(platform::tw(480)));

    lbl.add(0, new QLabel(this));
    place(lbl(0), 1080, 240, 7080, 420);
    QFont title = lbl(0)->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.4);
    lbl(0)->setFont(title);
    lbl.add(2, new QLabel(this));
    place(lbl(2), 1080, 840, 7080, 1500);
    lbl(2)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbl(2)->setWordWrap(true);
    for (auto [i, l] : lbl)
        l->setObjectName(QStringLiteral("lbl_%1").arg(i));

    DBGrid1 = new platform::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    place(DBGrid1, 1080, 840, 7080, 2280);
    DBGrid1->setAllowUpdate(false);
    for (const char* column : {"State", "Locality", "Last update", "Enter date"})
        DBGrid1->addColumn(QString::fromUtf8(column), QString::fromUtf8(column));
    for (int f = 5; f <= 51; ++f)
        DBGrid1->addColumn(QStringLiteral("F%1").arg(f), QStringLiteral("F%1").arg(f));
    DBGrid1->setDataSource(&Data2);
    DBGrid1->hide();

    Frame1 = new QGroupBox(QStringLiteral("Table Status"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    place(Frame1, 240, 3240, 7920, 900);
    for (int i = 0; i < 6; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(kDateButtons[i].caption), Frame1);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i));
        place(b, 120 + i * 1290, 330, 1200, 420);
        Command1.add(i, b);
    }

    btn.add(2, new QPushButton(QStringLiteral("KELVA System Information"), this));
    place(btn(2), 3360, 4440, 3000, 420);
    btn.add(0, new QPushButton(QStringLiteral("Close"), this));
    place(btn(0), 6480, 4440, 1680, 420);
    for (auto [i, b] : btn)
        b->setObjectName(QStringLiteral("btn_%1").arg(i));
    wire();
}

void frmAbout::wire()
{
    using platform::onClick;
    onClick(Command1, [this](int Index) { Command1_Click(Index); });
    onClick(btn, [this](int Index) { btn_Click(Index); });
}

QString frmAbout::versionLine()
{
    const ProgramVersion v = programVersion();
    return QStringLiteral("Version: %1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision);
}

void frmAbout::Form_Load()
{
    setCaption(QStringLiteral("About ") + g().AppTitle);
    platform::setText(lbl(0), g().AppTitle);
    platform::setText(lbl(2), versionLine());
    try {
        pointAtMainDatabase(Data2, QString::fromUtf8(kDateButtons[kJCodes].table));
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
    }
}

void frmAbout::Command1_Click(int Index)
{
    if (Index == kJCodes) {
        lbl(2)->hide();
        DBGrid1->show();
        return;
    }
    lbl(2)->show();
    DBGrid1->hide();
    try {
        ShowDates(kDateButtons[Index]);
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
    }
}

void frmAbout::ShowDates(const DateButton& button)
{
    pointAtMainDatabase(Data1, QString::fromUtf8(button.table));
    dao::Recordset& rs = Data1.Recordset();
    // A table without rows, or a Null value, gives an empty line.
    const bool onRow = !rs.EOF() && !rs.BOF();
    QStringList lines;
    for (const char* column : button.columns)
        lines << (onRow ? rs[column].Value().toString() : QString());
    platform::setText(lbl(2), lines.join(kLineBreak));
}

void frmAbout::btn_Click(int Index)
{
    switch (Index) {
    case 0:
        DBGrid1->hide();
        Unload();
        break;
    case 2:
        DBGrid1->hide();
        lbl(2)->show();
        platform::setText(lbl(2), versionLine());
        break;
    default:
        break;
    }
}

KELVA_FORM_NAME(frmAbout)
