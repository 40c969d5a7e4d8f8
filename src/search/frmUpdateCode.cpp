#include "search/frmUpdateCode.h"

#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/controls/twips.h"
#include "platform/dao/Variant.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

using platform::tw;

namespace {

const QString kNotNumeric = QStringLiteral("User Percentiles must be numeric.");
const QString kUpdateDescription = QStringLiteral("UPDATE Procoden SET [DESC] = ? WHERE Code = ?");
constexpr int kFirstPercentile = 2;
constexpr int kLastPercentile = 8;

bool isPercentile(int index)
{
    return index >= kFirstPercentile && index <= kLastPercentile;
}

bool numeric(const QString& text)
{
    return dao::Variant(text).isNumeric();
}

}  // namespace

frmUpdateCode::frmUpdateCode()
{
    setObjectName(QStringLiteral("frmUpdateCode"));
    setCaption(QStringLiteral("Edit Code"));
    platform::useDesignFont(this);
    setFixedSize(tw(6030), tw(4065));

    // Made in tab order: code, description, the percentiles, then the buttons.
    lbl.add(0, platform::newControl<QLabel>(this, "lbl_0", 240, 255, 1095, 255, QStringLiteral("Code:")));
    txt.add(0, platform::newControl<QLineEdit>(this, "txt_0", 1380, 210, 1095, 315));
    lbl.add(1, platform::newControl<QLabel>(this, "lbl_1", 240, 690, 1095, 255, QStringLiteral("Description:")));
    txt.add(1, platform::newControl<QLineEdit>(this, "txt_1", 1380, 645, 4410, 315));
    static const char* const kPercentiles[] = {"P40", "P50", "P60", "P70", "P80", "P90", "P95"};
    for (int i = kFirstPercentile; i <= kLastPercentile; ++i) {
        const int left = 240 + (i - kFirstPercentile) * 795;
        lbl.add(i, platform::newControl<QLabel>(this, QStringLiteral("lbl_%1").arg(i), left, 1170, 735, 255,
                                                QString::fromLatin1(kPercentiles[i - kFirstPercentile])));
        txt.add(i, platform::newControl<QLineEdit>(this, QStringLiteral("txt_%1").arg(i), left, 1440, 735, 315));
    }
    for (auto [i, box] : txt)
        if (i == 0 || isPercentile(i))
            box->setMaxLength(5);
    for (int i = kFirstPercentile; i <= kLastPercentile; ++i)
        lbl(i)->setAlignment(Qt::AlignHCenter);

    Frame1 = platform::newFrame(this, QStringLiteral("Hint"), 240, 2010, 5550, 975);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label1 = platform::newLabel(Frame1, QStringLiteral("User schedules can be updated from the main browser screen."),
                                120, 315, 5310, 495);
    Label1->setWordWrap(true);

    btn.add(1, platform::newControl<QPushButton>(this, "btn_1", 2520, 3315, 1575, 495, QStringLiteral("&Update")));
    btn.add(0, platform::newControl<QPushButton>(this, "btn_0", 4215, 3315, 1575, 495, QStringLiteral("&Cancel")));
    LoadStat = platform::newControl<QLineEdit>(this, "LoadStat", 0, 3315, 495, 315);
    LoadStat->hide();
    wire();
}

void frmUpdateCode::wire()
{
    for (auto [i, box] : txt) {
        platform::onChange(box, [this, i = i] { txt_Change(i); });
        platform::onKeyPress(box, [this, i = i](int& KeyAscii) { txt_KeyPress(i, KeyAscii); });
    }
    platform::onClick(btn, [this](int Index) { btn_Click(Index); });
}

void frmUpdateCode::Form_Activate()
{
    const qint64 n = dao::Variant(LoadStat->text()).isNumeric() ? dao::CLng(dao::Variant(LoadStat->text())) : 0;
    if (n > 1 && txt.contains(int(n - 1)))
        platform::SetFocus(txt(int(n - 1)));
}

void frmUpdateCode::txt_Change(int Index)
{
    const QString text = txt(Index)->text();
    if (text.size() > 5)
        return;
    if (Index == 0) {
        if (!numeric(text))
            platform::setText(txt(0), QString());
    } else if (isPercentile(Index) && !text.isEmpty() && !numeric(text)) {
        platform::setText(txt(Index), QString());
        seam().MsgBox(kNotNumeric, vbOKOnly);
    }
}

void frmUpdateCode::txt_KeyPress(int Index, int& KeyAscii)
{
    if (KeyAscii == 13) {
        KeyAscii = 0;
        if (Index == 0)
            platform::SetFocus(txt(1));
        else if (Index == 1)
            platform::SetFocus(btn(1));
        else if (Index < kLastPercentile)
            platform::SetFocus(txt(Index + 1));
        else
            platform::SetFocus(txt(1));
        return;
    }
    // Editing keys (Backspace and the like) are no typed characters: they never empty the box.
    if (!isPercentile(Index) || KeyAscii < 32 || txt(Index)->text().isEmpty())
        return;
    if (!numeric(QString(QChar(KeyAscii)))) {
        platform::setText(txt(Index), QString());
        seam().MsgBox(kNotNumeric, vbOKOnly);
    }
}

void frmUpdateCode::btn_Click(int Index)
{
    if (Index == 0) {
        platform::setText(forms().get<frmMain>().work, QStringLiteral("1"));
        Unload();
    } else if (Index == 1) {
        SaveCode();
    }
}

void frmUpdateCode::SaveCode()
{
    platform::setText(txt(0), (QStringLiteral("00000") + txt(0)->text()).right(5));
    QString description = txt(1)->text();
    description.replace(QLatin1Char('\''), QLatin1Char('`'));
    try {
        g().MainDb.Execute(kUpdateDescription, {description, txt(0)->text()});
    } catch (const dao::Error& e) {
        // Nothing was stored: the window stays open with what was typed.
        seam().MsgBox(e.description, vbOKOnly);
        return;
    }
    Unload();
}

KELVA_FORM_NAME(frmUpdateCode)
