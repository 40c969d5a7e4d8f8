#include "main/frmMain.h"

#include "app/globals.h"
#include "db/feequery.h"
#include "platform/controls/twips.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QSignalBlocker>

namespace {

constexpr int kCollapsedWidth = 3105;
constexpr int kExpandedWidth = 11500;
constexpr int kAscView = 5;

using platform::leftOf;
using platform::setLeftOf;
using platform::setWidthOf;
using platform::widthOf;

bool hasCurrentRecord(platform::DataControl& data)
{
    return data.hasCurrentRecord();
}

void setBoxText(QLineEdit* box, const QString& text)
{
    if (box->text() != text)
        box->setText(text);
}

void showStoredTexts(frmMain& f);

}  // namespace

void frmMain::btnMore_Click()
{
    const bool expand = btnMore->text() == QLatin1String("More >>");
    const int width = expand ? kExpandedWidth : kCollapsedWidth;
    setWidthOf(CodeDetailFrame, width);
    btnMore->setText(expand ? QStringLiteral("<< Less") : QStringLiteral("More >>"));
    // Both buttons end at the frame's right edge.
    setLeftOf(btnMore, width - widthOf(btnMore));
    setLeftOf(btnHelp, width - widthOf(btnMore) + 150);

    const QString view = cmboCurrentView->currentText();
    const std::pair<const char*, QWidget*> grids[] = {{"KELVA", dbg},      {"DMEPOS", DBGrid1},    {"Lab Fees", DBGrid2},
                                                      {"J Codes", DBGrid3}, {"ASC Codes", DBGrid4}, {"DRG Codes", DBGrid5}};
    for (const auto& [name, grid] : grids)
        if (view == QLatin1String(name) && grid->isVisible())
            platform::SetFocus(grid);

    Recolumnize();
    if (view == QLatin1String("KELVA OPPS")) {
        for (QLineEdit* box : {txt(0), txt(1)}) {
            box->show();
            setLeftOf(box, 4000);
            setWidthOf(box, 7720);
        }
    }
}

void frmMain::btnHelp_Click()
{
    seam().HtmlHelp(programPath(QStringLiteral("morvex.chm")), 970);
}

void frmMain::Command66_Click()
{
    seam().HtmlHelp(programPath(QStringLiteral("morvex.chm")), 1140);
}

void frmMain::ShowCodeDescription()
{
    platform::resumeNext([&] {
        if (cmboCurrentView->currentIndex() == kAscView) {
            // The ASC code without a physician row: its own description.
            if (hasCurrentRecord(Data13))
                setBoxText(txt(0), Data13.Recordset()[QStringLiteral("desc")].Value().toString());
            return;
        }
        txt(0)->setBinding(nullptr, QString());
        txt(1)->setBinding(nullptr, QString());
        {
            // The box's change handler puts the Lab row's description back over what is typed into it in the
            // Lab view; this text is no typing but says that the code has no physician details, and stays.
            const QSignalBlocker notTyped(txt(0));
            setBoxText(txt(0), QStringLiteral("Not Available"));
        }
        setBoxText(txt(1), QString());
        txt(0)->update();
        txt(1)->update();
        for (int i = 0; i <= 14; ++i)
            lblData(i)->hide();
    });
}

void frmMain::ShowLongDescAndNotes()
{
    platform::resumeNext([&] {
        if (cmboCurrentView->currentIndex() == kAscView) {
            if (hasCurrentRecord(Data1)) {
                dao::Recordset& rs = Data1.Recordset();
                const dao::Variant ldesc = rs.Fields(db::feecol::LDesc).Value();
                setBoxText(txt(0), ldesc.isNull() ? QStringLiteral("Not Available") : ldesc.toString());
                setBoxText(txt(1), rs.Fields(db::feecol::Notes).Value().toString());
            }
            return;
        }
        // The long description box has no data source of its own: the handlers write it.
        if (txt(1)->DataSource() != &Data1 || txt(1)->DataField().compare(QLatin1String("NOTES"), Qt::CaseInsensitive) != 0)
            txt(1)->setBinding(&Data1, QStringLiteral("NOTES"));
        txt(0)->update();
        txt(1)->update();
        for (int i = 0; i <= 14; ++i)
            lblData(i)->show();
        // The Lab view's box shows the Lab row's description, also where the code before had no physician
        // details and the box still says so.
        if (cmboCurrentView->currentText() == QLatin1String("Lab Fees"))
            showStoredTexts(*this);
    });
}

void frmMain::txt_Change(int)
{
    // No current record to compare with: the box keeps what it holds.
    platform::resumeNext([&] { showStoredTexts(*this); });
}

namespace {

void showStoredTexts(frmMain& f)
{
    auto& txt = f.txt;
    auto& Data1 = f.Data1;
    auto& Data6 = f.Data6;
    const QString view = f.cmboCurrentView->currentText();
    if (!txt(0)->isVisible())
        return;
    if (view == QLatin1String("KELVA")) {
        // A stored long description or note is shown as stored; the notes box takes typing only where
        // the row has none (the bound box writes it), the notes column of the grid edits any.
        if (!hasCurrentRecord(Data1))
            return;
        dao::Recordset& rs = Data1.Recordset();
        const dao::Variant ldesc = rs.Fields(db::feecol::LDesc).Value();
        if (!ldesc.isNull())
            setBoxText(txt(0), ldesc.toString());
        const dao::Variant notes = rs.Fields(db::feecol::Notes).Value();
        if (!notes.isNull())
            setBoxText(txt(1), notes.toString());
    } else if (view == QLatin1String("Lab Fees")) {
        if (!hasCurrentRecord(Data6))
            return;
        const dao::Variant description = Data6.Recordset()[QStringLiteral("description")].Value();
        if (!description.isNull())
            setBoxText(txt(0), description.toString());
    }
}

}  // namespace

void frmMain::lblData_Change(int Index)
{
    if (Index == 1) {
        const bool capped = lblData(1)->Caption() != QLatin1String("-");
        lbldetail(17)->setEnabled(capped);
        Command66->setEnabled(capped);
    }
}
