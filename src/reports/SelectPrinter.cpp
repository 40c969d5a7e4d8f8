#include "reports/SelectPrinter.h"

#include "app/globals.h"
#include "platform/controls/twips.h"
#include "platform/dao/RecordEdit.h"
#include "platform/dao/Recordset.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <limits>

KELVA_FORM_NAME(SelectPrinter)

using platform::place;

namespace {

const QString kSettingsQuery = QStringLiteral("SELECT DEFPRT, PCOLS, PLENGTH, PFSIZE FROM Parms_CL");
const QString kRefused = QStringLiteral(
    "Characters per line must be a whole number of at least 6, lines per page at least 3, and the font size "
    "above 0.");
constexpr int kFontNameLength = 50;  // DEFPRT's width

QString shown(const dao::Variant& v, int dflt)
{
    return v.isNull() ? QString::number(dflt) : v.toString();
}

bool wholeAtLeast(const QString& text, int least)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    return ok && n >= least && n <= std::numeric_limits<int>::max();
}

}  // namespace

SelectPrinter::SelectPrinter()
{
    setObjectName(QStringLiteral("SelectPrinter"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Special Print Settings"));
    setFixedSize(platform::tw(5880), platform::tw(3840));

    FrameNotes = new QGroupBox(QStringLiteral("Notes:"), this);
    place(FrameNotes, 120, 120, 5640, 3000);
    Warning = new QLabel(
        QStringLiteral(
            "Warning:  These items should only be changed if you are experiencing problems with print alignment"),
        FrameNotes);
    Warning->setWordWrap(true);
    place(Warning, 240, 270, 5160, 510);

    struct Row {
        const char* caption;
        const char* hint;
    };
    const Row rows[] = {{"Characters Per Line:", "Default (90)"},
                        {"Lines Per Page:", "Default (52)"},
                        {"Font Point Size:", "Default (10)"}};
    for (int i = 0; i < 3; ++i) {
        const int top = 900 + i * 420;
        auto* caption = new QLabel(QString::fromLatin1(rows[i].caption), FrameNotes);
        place(caption, 240, top + 30, 2280, 255);
        auto* box = new QLineEdit(FrameNotes);
        box->setObjectName(QStringLiteral("Text1_%1").arg(i));
        place(box, 2580, top, 1080, 315);
        Text1.add(i, box);
        auto* hint = new QLabel(QString::fromLatin1(rows[i].hint), FrameNotes);
        place(hint, 3780, top + 30, 1620, 255);
    }
    auto* fontCaption = new QLabel(QStringLiteral("Font (choose fixed width):"), FrameNotes);
    place(fontCaption, 240, 2190, 2280, 255);
    Combo2 = new QComboBox(FrameNotes);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setEditable(true);
    Combo2->setInsertPolicy(QComboBox::NoInsert);
    Combo2->lineEdit()->setMaxLength(kFontNameLength);
    place(Combo2, 2580, 2160, 2820, 315);

    Command1 = new QPushButton(QStringLiteral("Return"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    place(Command1, 4440, 3240, 1320, 420);
    wire();
}

void SelectPrinter::wire()
{
    platform::onClick(Command1, [this] { Command1_Click(); });
}

void SelectPrinter::Form_Load()
{
    {
        dao::Recordset rs = g().MainDb.OpenRecordset(kSettingsQuery);
        if (!rs.EOF()) {
            platform::setText(Text1(0), shown(rs["PCOLS"].Value(), kDefaultColumns));
            platform::setText(Text1(1), shown(rs["PLENGTH"].Value(), kDefaultLines));
            platform::setText(Text1(2), shown(rs["PFSIZE"].Value(), kDefaultSize));
            const dao::Variant font = rs["DEFPRT"].Value();
            Combo2->setEditText(font.isNull() ? kDefaultFont : font.toString());
        }
    }
    const QString text = Combo2->currentText();
    Combo2->addItem(kDefaultFont);
    Combo2->addItem(QStringLiteral("Courier New"));
    Combo2->setCurrentIndex(-1);
    Combo2->setEditText(text);
}

bool SelectPrinter::acceptable(const QString& columns, const QString& lines, const QString& size)
{
    if (!columns.isEmpty() && !wholeAtLeast(columns, kMinColumns))
        return false;
    if (!lines.isEmpty() && !wholeAtLeast(lines, kMinLines))
        return false;
    if (!size.isEmpty()) {
        bool ok = false;
        const double points = size.trimmed().toDouble(&ok);
        if (!ok || !(points > 0) || points > 1e6)
            return false;
    }
    return true;
}

// Settings the reports could not print with are refused as a whole, so nothing half-written remains.
void SelectPrinter::Command1_Click()
{
    const QString columns = Text1(0)->text();
    const QString lines = Text1(1)->text();
    const QString size = Text1(2)->text();
    if (!acceptable(columns, lines, size)) {
        seam().MsgBox(kRefused, vbOKOnly);
        return;
    }
    {
        dao::Recordset rs = g().MainDb.OpenRecordset(kSettingsQuery);
        if (!rs.EOF()) {
            dao::RecordEdit edit(rs);
            if (!columns.isEmpty())
                rs["PCOLS"] = qint64(columns.trimmed().toLongLong());
            if (!lines.isEmpty())
                rs["PLENGTH"] = qint64(lines.trimmed().toLongLong());
            if (!size.isEmpty())
                rs["PFSIZE"] = size.trimmed().toDouble();
            const QString font = Combo2->currentText();
            rs["DEFPRT"] = font.isEmpty() ? kDefaultFont : font;
            edit.Update();
        }
    }
    Unload();
}
