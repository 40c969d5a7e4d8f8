#include "main/frmPlimView.h"

#include "app/globals.h"
#include "db/feequery.h"
#include "main/frmMain.h"
#include "platform/controls/twips.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <limits>

using platform::place;

namespace {

constexpr int kHelpTopic = 150;

// The last position of a list of `rows` rows as the bars hold it.
int lastPosition(qint64 rows)
{
    return int(std::clamp<qint64>(rows - 1, 0, std::numeric_limits<int>::max()));
}

bool onRow(dao::Recordset& rs)
{
    return rs.isOpen() && rs.RecordCount() > 0 && !rs.EOF() && !rs.BOF();
}

// What the code box holds, as a CODEMOD to find ("7101026") or a code alone ("71010", modifier empty).
struct TypedCode {
    QString code;
    QString modifier;
};

TypedCode typedCode(const QString& text)
{
    const QString t = text.trimmed();
    const int sep = t.indexOf(QRegularExpression(QStringLiteral("[ -]")));
    if (sep >= 0)
        return {t.left(sep), t.mid(sep + 1).remove(QLatin1Char(' ')).remove(QLatin1Char('-'))};
    if (t.size() > 5)
        return {t.left(5), t.mid(5)};
    return {t, QString()};
}

}  // namespace

frmPlimView::frmPlimView()
{
    setObjectName(QStringLiteral("frmPlimView"));
    setCaption(QStringLiteral("KELVA Morvex Window"));
    setFixedSize(platform::tw(3015), platform::tw(1440));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);

    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    QFont large = bold;
    large.setPointSizeF(12);

    // Made in tab order.
    plimlist = platform::newControl<QComboBox>(this, "plimlist", 15, 60, 2910, 315);
    QFont regular = font();
    regular.setBold(false);
    plimlist->setFont(regular);
    plimscroll = platform::newControl<platform::ScrollBar>(this, "plimscroll", 0, 1080, 2895, 255, Qt::Horizontal);
    plimscroll->setMin(0);
    plimscroll->setMax(0);
    plimscroll->setSmallChange(1);
    plimscroll->setLargeChange(1);
    Text1.add(1, new QLineEdit(this));
    place(Text1(1), 1620, 630, 1275, 330);
    Text1(1)->setReadOnly(true);
    Text1.add(0, new QLineEdit(this));
    place(Text1(0), 120, 615, 1335, 330);
    for (auto [i, box] : Text1) {
        box->setObjectName(QStringLiteral("Text1_%1").arg(i));
        box->setFont(large);
        QPalette p = box->palette();
        p.setColor(QPalette::Base, Qt::white);
        box->setPalette(p);
    }
    Label1.add(1, new QLabel(QStringLiteral("Fee"), this));
    place(Label1(1), 1485, 405, 495, 255);
    Label1.add(0, new QLabel(QStringLiteral("Code"), this));
    place(Label1(0), 105, 390, 495, 255);
    Command1 = platform::newControl<QPushButton>(this, "Command1", 165, 360, 1260, 240, QStringLiteral("Locate Code"));
    Command1->hide();
    Command2 = platform::newControl<QPushButton>(this, "Command2", 750, 390, 690, 225, QStringLiteral("Find"));
    Command3 = platform::newControl<QPushButton>(this, "Command3", 2220, 390, 690, 240, QStringLiteral("Help"));
    setTabOrder(plimlist, plimscroll);
    setTabOrder(plimscroll, Text1(1));
    setTabOrder(Text1(1), Text1(0));
    setTabOrder(Text1(0), Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    wire();
}

void frmPlimView::wire()
{
    using namespace platform;
    onClick(plimlist, [this] { plimlist_Click(); });
    onGotFocus(plimlist, [] { g().PlimViewHasFocus = -1; });
    onLostFocus(plimlist, [] { g().PlimViewHasFocus = 0; });
    // The person moved the bar when the change comes from one of its actions (arrow, trough, thumb, keys);
    // a value clamped by a new maximum is the program's.
    connect(plimscroll, &QAbstractSlider::actionTriggered, this, [this] {
        // Here the slider already stands where the action takes it, the value not yet.
        userAction_ = plimscroll->sliderPosition() != plimscroll->value();
        QTimer::singleShot(0, this, [this] { userAction_ = false; });
    });
    onChange(plimscroll, [this](bool byUser) {
        const bool user = byUser && userAction_;
        userAction_ = false;
        plimscroll_Change(user);
    });
    onGotFocus(plimscroll, [] { g().PlimViewHasFocus = -1; });
    onLostFocus(plimscroll, [] { g().PlimViewHasFocus = 0; });
    for (auto [i, box] : Text1) {
        onGotFocus(box, [this, i = i] { Text1_GotFocus(i); });
        onLostFocus(box, [this, i = i] { Text1_LostFocus(i); });
        onKeyDown(box, [this, i = i](int& KeyCode, int Shift) { Text1_KeyDown(i, KeyCode, Shift); });
    }
    onClick(Command1, [this] { Command1_Click(); });
    onClick(Command2, [this] { Command2_Click(); });
    onClick(Command3, [this] { Command3_Click(); });
}

frmMain* frmPlimView::mainWindow() const
{
    return platform::forms().loadedOrNull<frmMain>();
}

bool frmPlimView::hasRow()
{
    return Data1.hasRecordset() && onRow(Data1.Recordset());
}

int frmPlimView::plimcol() const
{
    frmMain* main = mainWindow();
    if (!main || !main->Data3.hasRecordset())
        return db::feecol::NPart;
    auto& session = main->Data3.Recordset();
    if (!onRow(session))
        return db::feecol::NPart;
    const dao::Variant v = main->CurrentSession().value(db::SessionRow::PLIMCOL);
    const int col = v.isNumeric() ? int(v.toLongLong()) : db::feecol::NPart;
    return db::feeKindIndex(col) >= 0 ? col : db::feecol::NPart;
}

QString frmPlimView::FeeText(const dao::Variant& value)
{
    if (value.isNull() || value.toString().isEmpty())
        return QStringLiteral("$");
    return QStringLiteral("$") + jet::format(value, QStringLiteral("#0.00"));
}

QString frmPlimView::CodeText(dao::Recordset& row)
{
    return row[QStringLiteral("CPT")].Value().toString() + QLatin1Char(' ') + row[QStringLiteral("MOD")].Value().toString();
}

void frmPlimView::setTopmost(bool on)
{
    const QRect place = geometry();
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);  // hides the window: show it again where it was
    setGeometry(place);
    if (shown) {
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
}

void frmPlimView::browsing()
{
    Command1->hide();
    Command2->show();
    show();
    raise();
}

// ---- Loading.

void frmPlimView::Form_Load()
{
    frmMain* main = mainWindow();
    const qint64 mainRows = OpenMainGridRows(main);

    // At the top left corner, above every window, without taking the focus yet.
    Move(0, 0);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, false);

    plimscroll->setMax(lastPosition(mainRows));
    plimscroll->setLargeChange(1);
    FillFeeKinds(main);

    // The fee and the code of the row shown.
    if (main && main->Data1.hasRecordset() && onRow(main->Data1.Recordset()))
        platform::setText(Text1(1), FeeText(main->Data1.Recordset().Fields(plimcol()).Value()));
    else
        platform::setText(Text1(1), QStringLiteral("$"));
    platform::setText(Text1(0), hasRow() ? CodeText(Data1.Recordset()) : QString());

    // The bar on the row shown (the program's own change moves nothing).
    if (hasRow()) {
        const int position = int(std::min<qint64>(Data1.Recordset().AbsolutePosition(), plimscroll->Max()));
        if (plimscroll->Value() != position)
            plimscroll->setValue(position);
    }
}

qint64 frmPlimView::OpenMainGridRows(frmMain* main)
{
    // The main grid's query, on the main grid's database, on the main grid's row.
    if (!main || !main->Data1.hasRecordset())
        return 0;
    auto& mainRs = main->Data1.Recordset();
    const qint64 mainRows = mainRs.RecordCount();
    const qint64 mainPosition = onRow(mainRs) ? mainRs.AbsolutePosition() : -1;
    const bool read = platform::resumeNext([&] {
        Data1.setConnect(QStringLiteral("Access 2000;"));
        Data1.setDatabaseName(programPath(QStringLiteral("kelva.mdb")));
        Data1.setDatabase(main->Data1.Database());
        Data1.setRecordSource(main->Data1);
        Data1.Refresh();
        auto& rs = Data1.Recordset();
        if (rs.RecordCount() > 0) {
            rs.MoveFirst();
            rs.MoveLast();
            if (mainPosition >= 0 && mainPosition < rs.RecordCount())
                rs.setAbsolutePosition(mainPosition);
            else
                rs.MoveFirst();
        }
    });
    // Rows that cannot be read are shown as none: "$" and an empty code box, nothing moves.
    return read ? mainRows : 0;
}

void frmPlimView::FillFeeKinds(frmMain* main)
{
    // The eleven kinds as the code panel offers them (the session's names for S1..S5); the session's kind
    // selected.
    QStringList scheduleNames;
    for (int i = 0; i < 5; ++i) {
        const int col = db::feecol::S1 + i;
        if (main && main->plimlist->count() == 11)
            scheduleNames << main->plimlist->itemText(6 + i);
        else if (main && main->dbg->ColumnCount() > col)
            scheduleNames << main->dbg->Columns(col).Caption();
        else
            scheduleNames << QString::fromLatin1(db::feeQueryColumns()[std::size_t(col)]);
    }
    platform::fillList(plimlist, db::feeKindCaptions(scheduleNames));
    const QSignalBlocker block(plimlist);
    plimlist->setCurrentIndex(db::feeKindIndex(plimcol()));
}

void frmPlimView::Form_Unload(int&)
{
    g().PlimViewActive = 0;
    g().PlimViewHasFocus = 0;
}

// ---- Showing a row, scrolling.

void frmPlimView::ShowRow()
{
    if (!hasRow()) {
        platform::setText(Text1(1), QStringLiteral("$"));
        platform::setText(Text1(0), QString());
        return;
    }
    auto& rs = Data1.Recordset();
    platform::setText(Text1(1), FeeText(rs.Fields(plimcol()).Value()));
    platform::setText(Text1(0), CodeText(rs));
}

void frmPlimView::plimscroll_Change(bool byUser)
{
    if (!Data1.hasRecordset() || Data1.Recordset().RecordCount() == 0) {
        ShowRow();
        return;
    }
    auto& rs = Data1.Recordset();
    frmMain* main = mainWindow();
    if (byUser) {
        // The person moved the bar: both record sources move by the same number of rows.
        const qint64 target = std::min<qint64>(plimscroll->Value(), rs.RecordCount() - 1);
        const qint64 n = target - (onRow(rs) ? rs.AbsolutePosition() : 0);
        if (n != 0) {
            if (main && main->Data1.hasRecordset() && main->Data1.Recordset().RecordCount() > 0) {
                auto& mainRs = main->Data1.Recordset();
                const qint64 mainTarget = (onRow(mainRs) ? mainRs.AbsolutePosition() : 0) + n;
                if (mainTarget >= 0 && mainTarget < mainRs.RecordCount())
                    mainRs.Move(n);
            }
            rs.setAbsolutePosition(target);
        }
    } else if (main && main->Data1.hasRecordset() && onRow(main->Data1.Recordset())) {
        // Set by the program: back on the main grid's row.
        const qint64 position = main->Data1.Recordset().AbsolutePosition();
        if (position < rs.RecordCount())
            rs.setAbsolutePosition(position);
    }
    ShowRow();
}

// ---- Fee kind.

void frmPlimView::plimlist_Click()
{
    if (g().PlimViewHasFocus == 0)
        return;  // the program's own selection
    const int index = platform::listIndex(plimlist);
    if (index < 0 || index >= int(db::kFeeKinds.size()))
        return;
    const int position = db::kFeeKinds[std::size_t(index)].position;
    frmMain* main = mainWindow();
    if (!main)
        return;
    try {
        main->CurrentSession().store(db::SessionRow::PLIMCOL, position);
    } catch (const dao::Error& e) {
        // The choice cannot be kept: said, and the window stays as it was.
        seam().MsgBox(e.description, vbOKOnly);
        return;
    }
    platform::setText(Text1(1), hasRow() ? FeeText(Data1.Recordset().Fields(position).Value()) : QStringLiteral("$"));
    if (g().PlimListHasFocus == 0) {
        platform::setText(main->Text1(1), Text1(1)->text());
        const QSignalBlocker block(main->plimlist);
        main->plimlist->setCurrentIndex(index);
    }
}

// ---- The two boxes.

void frmPlimView::Text1_GotFocus(int Index)
{
    SavedCodemod = hasRow() ? Data1.Recordset()[QStringLiteral("CODEMOD")].Value().toString() : QString();
    Command1->show();
    Command2->hide();
    if (Index == 0)
        platform::setText(Text1(0), QString());
}

void frmPlimView::Text1_KeyDown(int, int& KeyCode, int)
{
    if (KeyCode == 27) {
        // Back to the row the box was entered on, without looking anything up.
        KeyCode = 0;
        if (hasRow() && !SavedCodemod.isEmpty()) {
            auto& rs = Data1.Recordset();
            rs.FindFirst(QStringLiteral("CODEMOD = ?"), {SavedCodemod});
            if (!rs.NoMatch()) {
                if (frmMain* main = mainWindow(); main && main->Data1.hasRecordset() &&
                                                  rs.AbsolutePosition() < main->Data1.Recordset().RecordCount())
                    main->Data1.Recordset().setAbsolutePosition(rs.AbsolutePosition());
                if (plimscroll->Value() != rs.AbsolutePosition() && rs.AbsolutePosition() <= plimscroll->Max())
                    plimscroll->setValue(int(rs.AbsolutePosition()));
            }
        }
        ShowRow();
        browsing();
        skipLookup_ = true;
        platform::SetFocus(plimscroll);
        skipLookup_ = false;
    } else if (KeyCode == 13) {
        KeyCode = 0;
        platform::SetFocus(plimscroll);
    }
}

void frmPlimView::Text1_LostFocus(int)
{
    if (isUnloading() || !isLoaded())
        return;  // closing: nothing to look up
    g().PlimViewActive = -1;
    if (skipLookup_)
        return;
    LookUpCode();
}

void frmPlimView::Command1_Click()
{
    LookUpCode();
}

void frmPlimView::Command2_Click()
{
    platform::SetFocus(Text1(0));
}

void frmPlimView::Command3_Click()
{
    seam().HtmlHelp(programPath(QStringLiteral("morvex.chm")), kHelpTopic);
}

// ---- Lookup.

void frmPlimView::LookUpCode()
{
    // A lookup that cannot run leaves everything as it is at that moment.
    platform::resumeNext([&] {
        if (!Data1.hasRecordset() || Data1.Recordset().RecordCount() == 0) {
            ShowRow();
            browsing();
            return;
        }
        auto& rs = Data1.Recordset();
        if (onRow(rs))
            SavedCodemod = rs[QStringLiteral("CODEMOD")].Value().toString();
        const TypedCode typed = typedCode(Text1(0)->text());
        if (typed.modifier.isEmpty())
            rs.FindFirst(QStringLiteral("CPT = ?"), {typed.code});
        else
            rs.FindFirst(QStringLiteral("CODEMOD = ?"), {typed.code + typed.modifier});

        if (rs.NoMatch()) {
            setTopmost(false);
            seam().MsgBox(QStringLiteral("New code not found"), vbOKOnly);
            setTopmost(true);
            rs.FindFirst(QStringLiteral("CODEMOD = ?"), {SavedCodemod});
            platform::setText(Text1(0), onRow(rs) ? CodeText(rs) : SavedCodemod);
            browsing();
            platform::SetFocus(plimscroll);
            return;
        }
        frmMain* main = mainWindow();
        const qint64 position = rs.AbsolutePosition();
        if (main && main->Data1.hasRecordset() && position < main->Data1.Recordset().RecordCount())
            main->Data1.Recordset().setAbsolutePosition(position);
        if (position <= plimscroll->Max() && plimscroll->Value() != position)
            plimscroll->setValue(int(position));
        ShowRow();
        browsing();
    });
}

KELVA_FORM_NAME(frmPlimView)
