#include "app/frmSplash.h"

#include "app/endprogram.h"
#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/colours.h"
#include "platform/controls/twips.h"
#include "platform/dao/Error.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"

#include <QFile>
#include <QStringDecoder>

using platform::place;

namespace {

QLabel* label(QWidget* parent, const QString& text, int left, int top, int width, int height, int points, bool bold)
{
    auto* l = new QLabel(text, parent);
    place(l, left, top, width, height);
    QFont f = l->font();
    f.setPointSize(points);
    f.setBold(bold);
    l->setFont(f);
    platform::setForeColor(l, platform::RGB(0, 0, 128));
    return l;
}

}  // namespace

QString agreementText(const QByteArray& content)
{
    // The system's code page of the old program: Windows-1252.
    QStringDecoder decode("windows-1252");
    const QString all = decode.isValid() ? QString(decode(content)) : QString::fromLatin1(content);
    QString out;
    QString line;
    bool pending = false;  // a line has begun and is not yet ended
    for (int i = 0; i < all.size(); ++i) {
        const QChar ch = all.at(i);
        if (ch == QLatin1Char('\r')) {
            out += line + QStringLiteral("\r\n");
            line.clear();
            pending = false;
            if (i + 1 < all.size() && all.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else {
            line += ch;
            pending = true;
        }
    }
    if (pending)
        out += line + QStringLiteral("\r\n");
    return out;
}

frmSplash::frmSplash()
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    setFixedSize(platform::tw(9480), platform::tw(5400));
    platform::setBackColor(this, platform::RGB(255, 255, 255));
    setAutoFillBackground(true);
    platform::useDesignFont(this);

    picLogo = new QLabel(this);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    place(picLogo, 240, 240, 2400, 1200);
    picLogo->setAlignment(Qt::AlignCenter);
    picLogo->setText(QStringLiteral("KELVA\nMorvex"));
    QFont lf = picLogo->font();
    lf.setPointSize(20);
    lf.setBold(true);
    picLogo->setFont(lf);
    picLogo->setFrameShape(QFrame::Box);
    platform::setForeColor(picLogo, platform::RGB(0, 0, 128));

    lbl.add(1, label(this, QStringLiteral("Welcome to 2014"), 240, 1600, 2800, 420, 14, true));
    lbl.add(2, label(this, QStringLiteral("KELVA"), 240, 2100, 2000, 600, 24, true));
    lbl.add(4, label(this, QStringLiteral("Morvex"), 240, 2700, 2000, 600, 24, true));
    lbl.add(3, label(this, QStringLiteral("\u00AE"), 2280, 2700, 300, 300, 12, true));
    lbl.add(0, label(this, QString(), 240, 3500, 2900, 1600, 8, false));
    lbl(0)->setWordWrap(true);
    lbl(0)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (auto [i, l] : lbl)
        l->setObjectName(QStringLiteral("lbl_%1").arg(i));

    txt = new QPlainTextEdit(this);
    txt->setObjectName(QStringLiteral("txt"));
    place(txt, 3360, 240, 5880, 3480);
    txt->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txt->setReadOnly(true);
    txt->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    // Two lines: the instruction is wider than the box.
    place(Label1, 3360, 3780, 5880, 480);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setText(QStringLiteral("Use Page-Up, Page-Down, or Scroll to view the entire disclaimer before clicking "
                                   "\"Accept\"."));

    btn.add(0, new QPushButton(QStringLiteral("&Accept"), this));
    btn.add(1, new QPushButton(QStringLiteral("&Cancel"), this));
    place(btn(0), 4800, 4320, 1215, 375);
    place(btn(1), 6240, 4320, 1215, 375);
    btn(0)->setObjectName(QStringLiteral("btn_0"));
    btn(1)->setObjectName(QStringLiteral("btn_1"));

    chk = new QCheckBox(QStringLiteral("Do not display this message again."), this);
    chk->setObjectName(QStringLiteral("chk"));
    place(chk, 4800, 4800, 3600, 300);

    wire();
}

void frmSplash::wire()
{
    platform::onKeyPress(txt, [this](int& KeyAscii) { txt_KeyPress(KeyAscii); });
    platform::onClick(btn, [this](int Index) { btn_Click(Index); });
}

void frmSplash::Form_Load()
{
    lbl(0)->setText(QStringLiteral("Please read the License Agreement and Disclaimer at the right. If you agree to "
                                   "these terms you may click \"accept\".  If you do not agree, press cancel."));
    QFile file(programPath(QStringLiteral("kvdis.txt")));
    if (!file.open(QIODevice::ReadOnly))
        throw dao::Error(53, QStringLiteral("File not found: kvdis.txt"));
    txt->setPlainText(txt->toPlainText() + agreementText(file.readAll()));
    file.close();
}

void frmSplash::Form_Activate()
{
    platform::SetFocus(txt);
}

void frmSplash::txt_KeyPress(int& KeyAscii)
{
    // Typing changes nothing; the keys that move through the text are no characters and pass.
    KeyAscii = 0;
}

void frmSplash::btn_Click(int Index)
{
    if (Index == 0) {
        if (chk->isChecked()) {
            forms().get<frmMain>().Parms().store(db::ParmsRow::SHOW_DISC, 0);
        }
        Unload();
        return;
    }
    // Cancel: closing the main window closes every window and ends the program.
    if (frmMain* main = forms().loadedOrNull<frmMain>())
        forms().Unload(*main);
    else
        Unload();
    EndProgram(0);
}

void frmSplash::Form_QueryUnload(int& Cancel, int UnloadMode)
{
    // The close box counts as Cancel. The main window's unload then unloads this window too.
    if (UnloadMode == vbFormControlMenu) {
        Cancel = 1;
        btn_Click(1);
    }
}

void frmSplash::Form_Unload(int&)
{
    platform::SetBusyCursor(11);
}

KELVA_FORM_NAME(frmSplash)
