#include "reports/frmReportz.h"

#include "app/buildinfo.h"
#include "app/globals.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/dao/Recordset.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Printer.h"
#include "platform/seam/Seam.h"
#include "reports/SelectPrinter.h"
#include "reports/reportitems.h"

#include <QButtonGroup>
#include <QSignalBlocker>

KELVA_FORM_NAME(frmReportz)

using platform::place;

namespace {

constexpr int kAvailable = 0;
constexpr int kChosen = 1;
constexpr int kAvailableNumbers = 2;
constexpr int kChosenNumbers = 3;
constexpr int kPreselected = 4;
constexpr int kMaxCodeLength = 5;
const QString kTag = QStringLiteral("Tag");
const QString kCode = QStringLiteral("Code");
const QString kPrinterError = QStringLiteral("Printer error");

}  // namespace

frmReportz::frmReportz()
{
    setObjectName(QStringLiteral("frmReportz"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Reports"));
    setFixedSize(platform::tw(8760), platform::tw(6300));
    makeRangeAndTagged();
    makeLists();
    makeHiddenFrames();
    makeButtons();
    wire();
}

void frmReportz::makeRangeAndTagged()
{
    FrameRange = platform::newFrame(this, QStringLiteral("Code Range:"), 120, 120, 3720, 720);
    for (int i : {0, 1}) {
        auto* box = new QLineEdit(i == 0 ? kLowestCode : kHighestCode, FrameRange);
        box->setObjectName(QStringLiteral("txt_%1").arg(i));
        place(box, i == 0 ? 240 : 2160, 300, 1320, 315);
        txt.add(i, box);
    }
    platform::newLabel(FrameRange, QStringLiteral("-"), 1740, 330, 240);
    // The overlays lie exactly over the range boxes and start with their own design texts.
    txtText0 = new QLineEdit(kLowestCode, FrameRange);
    txtText1 = new QLineEdit(QStringLiteral("ZZZZZ"), FrameRange);
    txtText0->setObjectName(QStringLiteral("txtText0"));
    txtText1->setObjectName(QStringLiteral("txtText1"));
    place(txtText0, 240, 300, 1320, 315);
    place(txtText1, 2160, 300, 1320, 315);
    txtText0->hide();
    txtText1->hide();

    FrameTagged = platform::newFrame(this, QStringLiteral("Tagged Codes"), 3960, 120, 4680, 720);
    chk = new QCheckBox(QStringLiteral("Print &Tagged Codes Only"), FrameTagged);
    chk->setObjectName(QStringLiteral("chk"));
    place(chk, 240, 300, 3480, 285);

    InItems.add(0, platform::newLabel(this, QStringLiteral("This report will print the following columns:"), 120, 960, 6000));
    InItems.add(1, platform::newLabel(this, QStringLiteral("Select:"), 3960, 2040, 960));
    InItems.add(2, platform::newLabel(this, QString(), 3960, 4320, 960));
}

void frmReportz::makeLists()
{
    lbl.add(0, platform::newLabel(this, QStringLiteral("Fields Available:"), 120, 1260, 3240));
    lbl.add(1, platform::newLabel(this, QStringLiteral("Fields to be printed:"), 5040, 1260, 3600));
    for (int i = 0; i < 5; ++i) {
        auto* list = new QListWidget(this);
        list->setObjectName(QStringLiteral("lst_%1").arg(i));
        lst.add(i, list);
        if (i >= kAvailableNumbers)
            list->hide();
    }
    lst(kAvailable)->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lst(kChosen)->setSelectionMode(QAbstractItemView::SingleSelection);
    place(lst(kAvailable), 120, 1530, 3720, 3180);
    place(lst(kChosen), 5040, 1530, 3600, 3180);

    // Frame3 covers the available list and the move buttons in preselected mode.
    Frame3 = platform::newFrame(this, QStringLiteral("Preselected Report #"), 120, 1260, 4800, 3450);
    Frame3->setAutoFillBackground(true);
    Label4 = platform::newLabel(Frame3, QString(), 240, 360, 4320, 510);
    Label4->setObjectName(QStringLiteral("Label4"));
    Frame3->hide();

    FrameHint = platform::newFrame(this, QStringLiteral("Hint"), 120, 4800, 8520, 600);
    platform::newLabel(FrameHint, QStringLiteral("Description printing uses a short \"truncated\" description."), 240, 270, 8040);
}

void frmReportz::makeHiddenFrames()
{
    FrameOrientation = platform::newFrame(this, QStringLiteral("Paper Orientation:"), 3960, 120, 3960, 720);
    auto* orientation = new QButtonGroup(FrameOrientation);
    for (int i : {0, 1}) {
        auto* o = new QRadioButton(i == 0 ? QStringLiteral("P&ortrait") : QStringLiteral("&Landscape"),
                                   FrameOrientation);
        o->setObjectName(QStringLiteral("opt_%1").arg(i));
        place(o, 240 + i * 1800, 300, 1560, 285);
        orientation->addButton(o);
        opt.add(i, o);
    }
    opt(0)->setChecked(true);
    FrameOrientation->hide();

    FrameDescription = platform::newFrame(this, QStringLiteral("Description Format:"), 3960, 120, 3960, 720);
    auto* description = new QButtonGroup(FrameDescription);
    description->setExclusive(false);
    for (int i : {0, 1}) {
        auto* o = new QRadioButton(QString(), FrameDescription);
        o->setObjectName(QStringLiteral("Option1_%1").arg(i));
        place(o, 240 + i * 1800, 300, 240, 285);
        description->addButton(o);
        Option1.add(i, o);
        platform::newLabel(FrameDescription, i == 0 ? QStringLiteral("Short (Truncated)") : QStringLiteral("Full"),
              540 + i * 1800, 315, 1320);
    }
    FrameDescription->hide();

    FrameSpare = platform::newFrame(this, QString(), 3960, 120, 3960, 720);
    platform::newLabel(FrameSpare, QString(), 240, 300, 3480);
    FrameSpare->hide();
}

void frmReportz::makeButtons()
{
    struct Button {
        int index;
        const char* caption;
        int left, top, width;
    };
    const Button buttons[] = {
        {1, "&Print", 120, 5580, 1320},       {2, "Printer &Setup", 1560, 5580, 1800},
        {6, "Special Print Se&ttings", 3480, 5580, 2520}, {3, "&Help", 6120, 5580, 1200},
        {0, "&Close", 7440, 5580, 1200},      {4, ">", 3960, 2340, 960},
        {5, "<<", 3960, 2880, 960},
    };
    for (const Button& b : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(b.caption), this);
        button->setObjectName(QStringLiteral("btn_%1").arg(b.index));
        place(button, b.left, b.top, b.width, 420);
        btn.add(b.index, button);
    }
    btn(4)->raise();
    btn(5)->raise();
}

void frmReportz::wire()
{
    platform::onClick(btn, [this](int Index) { btn_Click(Index); });
    for (int i : {kAvailable, kChosen}) {
        connect(lst(i), &QListWidget::itemDoubleClicked, this, [this, i] { platform::guarded([&] { lst_DblClick(i); }); });
        platform::onKeyDown(lst(i), [this, i](int& KeyCode, int Shift) { lst_KeyDown(i, KeyCode, Shift); });
    }
    for (int i : {0, 1}) {
        platform::onGotFocus(txt(i), [this, i] { txt_GotFocus(i); });
        platform::onLostFocus(txt(i), [this, i] { txt_LostFocus(i); });
        platform::onChange(overlay(i), [this, i] { txtText_Change(i); });
        platform::onGotFocus(overlay(i), [this, i] { txtText_GotFocus(i); });
        platform::onLostFocus(overlay(i), [this, i] { txtText_LostFocus(i); });
        platform::onMouseDown(overlay(i), [this, i](int, int, double, double) { txtText_GotFocus(i); });
        platform::onClick(opt(i), [this, i] { opt_Click(i); });
    }
}

// ---- Lists.

void frmReportz::add(int list, const QString& text)
{
    platform::addItem(lst(list), text);
}

void frmReportz::removeAt(int list, int row)
{
    QSignalBlocker block(lst(list));
    delete lst(list)->takeItem(row);
}

void frmReportz::clearChosen()
{
    platform::clearList(lst(kChosen));
    platform::clearList(lst(kChosenNumbers));
}

void frmReportz::FillReportItems()
{
    for (int i = kAvailable; i <= kChosenNumbers; ++i)
        platform::clearList(lst(i));
    for (int item = 1; item < reports::kReportItems; ++item) {
        add(kAvailable, reports::reportItemText(item));
        add(kAvailableNumbers, QString::number(item));
    }
    add(kChosen, kCode);
    add(kChosenNumbers, QString::number(reports::kCodeItem));
}

void frmReportz::MoveReportItems(bool toChosen)
{
    int source, target;
    if (!toChosen && !lst(kChosen)->selectedItems().isEmpty()) {
        source = kChosen;
        target = kAvailable;
    } else if (toChosen && !lst(kAvailable)->selectedItems().isEmpty()) {
        source = kAvailable;
        target = kChosen;
    } else {
        return;
    }
    QListWidget* from = lst(source);
    QListWidget* fromNumbers = lst(source + 2);
    auto moves = [&](int row) { return from->item(row)->isSelected() && from->item(row)->text() != kCode; };
    for (int row = 0; row < from->count(); ++row) {
        if (!moves(row))
            continue;
        add(target, from->item(row)->text());
        add(target + 2, fromNumbers->item(row)->text());
    }
    for (int row = from->count() - 1; row >= 0; --row) {
        if (!moves(row))
            continue;
        removeAt(source, row);
        removeAt(source + 2, row);
    }
}

void frmReportz::swapChosen(int a, int b)
{
    for (int list : {kChosen, kChosenNumbers}) {
        QListWidget* l = lst(list);
        const QString first = l->item(a)->text();
        l->item(a)->setText(l->item(b)->text());
        l->item(b)->setText(first);
    }
}

std::vector<int> frmReportz::chosenItems() const
{
    std::vector<int> items;
    for (int row = 0; row < lst(kChosenNumbers)->count(); ++row)
        items.push_back(lst(kChosenNumbers)->item(row)->text().toInt());
    return items;
}

void frmReportz::lst_DblClick(int Index)
{
    MoveReportItems(Index == kAvailable);
}

void frmReportz::lst_KeyDown(int Index, int& KeyCode, int Shift)
{
    constexpr int kEnter = 13, kDelete = 46, kUp = 38, kDown = 40;
    if (KeyCode == kDelete || KeyCode == kEnter) {
        MoveReportItems(Index == kAvailable);
        return;
    }
    if (Index != kChosen || Shift != platform::vbShiftMask)
        return;
    // The key goes on to the list, whose own arrow handling follows the swap.
    QListWidget* chosen = lst(kChosen);
    const int i = platform::listIndex(chosen);
    if (i < 0 || !chosen->item(i)->isSelected())
        return;
    if (KeyCode == kUp && i >= 1)
        swapChosen(i - 1, i);
    else if (KeyCode == kDown && i < chosen->count() - 1)
        swapChosen(i, i + 1);
}

// ---- Loading and activation.

void frmReportz::Form_Load()
{
    FillReportItems();

    QString lastPrint;
    bool stored = false;
    {
        dao::Recordset rs = g().MainDb.OpenRecordset(QStringLiteral("SELECT Last_Print FROM Parms_CL"));
        if (!rs.EOF()) {
            const dao::Variant v = rs["Last_Print"].Value();
            stored = !v.isNull();
            lastPrint = v.toString();
        }
    }
    platform::setText(txt(0), kLowestCode);
    platform::setText(txt(1), kHighestCode);
    if (stored)
        RestoreLastReport(lastPrint);

    g().ReportDbConnect = QStringLiteral(";DATABASE=") + programPath(QStringLiteral("kelva.mdb")) +
                          QStringLiteral(";PWD=") + databasePassword() + QStringLiteral(";");
    g().ReportDbName = programPath(QStringLiteral("kelva.mdb"));
}

// Last_Print: lower bound, upper bound (both "Tag" for a tagged report), orientation "0" or "1", then the
// chosen items' texts. A missing or unknown part is passed over and leaves the window's default.
void frmReportz::RestoreLastReport(const QString& lastPrint)
{
    const QStringList fields = lastPrint.split(QLatin1Char(','));
    const QString first = fields.value(0);
    const QString second = fields.size() > 1 ? fields[1] : QString();
    if (first == kTag || second == kTag) {
        platform::setCheckValue(chk, 0);
    } else {
        if (fields.size() > 0 && first.compare(kLowestCode) >= 0)
            platform::setText(txt(0), first);
        if (fields.size() > 1 && second.compare(kHighestCode) <= 0)
            platform::setText(txt(1), second);
    }

    if (fields.size() > 2 && (fields[2] == QLatin1String("0") || fields[2] == QLatin1String("1")))
        platform::setOptionValue(opt(fields[2].toInt()), true);
    platform::setOptionValue(opt(0), true);
    platform::setOptionValue(opt(1), false);

    if (lst(kPreselected)->count() != 0)
        return;
    QListWidget* available = lst(kAvailable);
    for (int f = 3; f < fields.size(); ++f)
        for (int row = 0; row < available->count(); ++row)
            if (available->item(row)->text() == fields[f])
                available->item(row)->setSelected(true);
    MoveReportItems(true);
}

void frmReportz::Form_Activate()
{
    if (lst(kPreselected)->count() > 1)
        EnterPreselectedMode();
}

// The chosen list becomes "Code" and the caller's items; numbers outside 1..22 are passed over.
void frmReportz::EnterPreselectedMode()
{
    clearChosen();
    FillReportItems();
    lbl(0)->hide();
    Frame3->show();
    Frame3->raise();
    lst(kChosen)->setEnabled(false);
    for (int i = 1; i < lst(kPreselected)->count(); ++i) {
        const QString entry = lst(kPreselected)->item(i)->text();
        bool ok = false;
        const int n = entry.trimmed().toInt(&ok);
        if (!ok || n < 1 || n >= reports::kReportItems)
            continue;
        add(kChosen, lst(kAvailable)->item(n - 1)->text());
        add(kChosenNumbers, entry);
    }
}

// ---- Code range.

void frmReportz::txt_GotFocus(int Index)
{
    txt(Index)->hide();
    overlay(Index)->show();
}

void frmReportz::txt_LostFocus(int Index)
{
    const QString lower = txt(0)->text();
    const QString upper = txt(1)->text();
    if (lower.compare(upper) >= 0) {
        if (Index == 1) {
            seam().MsgBox(QStringLiteral("Value too low; enter a higher value"));
            platform::setText(txt(1), kHighestCode);
        } else {
            seam().MsgBox(QStringLiteral("Value too high; enter a lower value"));
            platform::setText(txt(0), kLowestCode);
        }
    }
    if (txt(0)->text().compare(kLowestCode) < 0) {
        seam().MsgBox(QStringLiteral("Value to low; enter a higher value"));
        platform::setText(txt(0), kLowestCode);
        platform::SetFocus(txt(0));
    }
    if (txt(1)->text().compare(kHighestCode) > 0) {
        seam().MsgBox(QStringLiteral("Value to high; enter a lower value"));
        platform::setText(txt(1), kHighestCode);
        platform::SetFocus(txt(1));
    }
}

void frmReportz::txtText_Change(int Index)
{
    if (overlay(Index)->text().size() > kMaxCodeLength) {
        seam().MsgBox(QStringLiteral("Code entered is too long"));
        platform::setText(overlay(Index), QString());
    }
}

void frmReportz::txtText_GotFocus(int Index)
{
    overlay(Index)->selectAll();
}

// The overlay's text goes back unchecked: the range checks run only when a range box loses the focus.
void frmReportz::txtText_LostFocus(int Index)
{
    overlay(Index)->hide();
    txt(Index)->show();
    platform::setText(txt(Index), overlay(Index)->text());
}

void frmReportz::opt_Click(int Index)
{
    seam().printer().setOrientation(Index == 0 ? 1 : 2);
}

// ---- Commands.

void frmReportz::btn_Click(int Index)
{
    try {
        switch (Index) {
        case 0:
            Unload();
            break;
        case 1:
            PrintReport();
            break;
        case 2:
            PrinterSetup();
            break;
        case 3:
            seam().HtmlHelp(programPath(QStringLiteral("morvex.chm")), 170);
            break;
        case 4:
            MoveReportItems(true);
            break;
        case 5:
            FillReportItems();
            break;
        case 6:
            platform::forms().get<SelectPrinter>().Show(vbModal);
            break;
        default:
            break;
        }
    } catch (const dao::Error& e) {
        if (e.description != kPrinterError)
            seam().MsgBox(e.description, vbOKOnly);
        platform::SetBusyCursor(0);
    }
}

// The printer chosen becomes the one the reports print on; a cancel ends the command quietly.
void frmReportz::PrinterSetup()
{
    printerSetupUsed_ = true;
    seam().PrinterDialog();
}
