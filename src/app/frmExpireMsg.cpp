#include "app/frmExpireMsg.h"

#include "app/buildinfo.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/colours.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

using platform::place;

namespace {

QLabel* noticeLabel(QWidget* parent, int top, int height, qint32 colour)
{
    auto* l = new QLabel(parent);
    place(l, 240, top, 6840, height);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont f = l->font();
    f.setPointSize(12);
    l->setFont(f);
    platform::setForeColor(l, colour);
    return l;
}

}  // namespace

frmExpireMsg::frmExpireMsg()
{
    setObjectName(QStringLiteral("frmExpireMsg"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setCaption(QStringLiteral("KELVA Morvex Data Expiration"));
    setFixedSize(platform::tw(7320), platform::tw(3600));

    Label2 = noticeLabel(this, 180, 1300, platform::RGB(0, 0, 128));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setText(QStringLiteral("KELVA Morvex Warning:"));
    Label1 = noticeLabel(this, 1560, 1200, platform::RGB(128, 0, 0));
    Label1->setObjectName(QStringLiteral("Label1"));

    Check1 = platform::newControl<QCheckBox>(this, "Check1", 240, 3000, 3600, 300,
                                             QStringLiteral("Do not show this message again."));
    Command1 = platform::newControl<QPushButton>(this, "Command1", 5640, 2940, 1335, 420, QStringLiteral("Continue"));

    wire();
}

void frmExpireMsg::wire()
{
    platform::onClick(Command1, [this] { Command1_Click(); });
}

void frmExpireMsg::Form_Load()
{
    platform::SetBusyCursor(0);
    Label1->setText(QStringLiteral("Reminder: For KELVA Morvex 2015 order information call ") + orderPhone() +
                    QStringLiteral(" or ") + webAddress() + QStringLiteral("."));
    if (seam().Now().date() >= oldDataDate()) {
        Label2->hide();
        Label1->setText(QStringLiteral("Medicare KELVA Fee Information contained in this software is old and may be "
                                       "incorrect for Medicare reimbursement.  Call KELVA Morvex at ") +
                        supportPhone() + QStringLiteral(" for upgrade information."));
    }
}

void frmExpireMsg::Command1_Click()
{
    if (Check1->isChecked()) {
        forms().get<frmMain>().Parms().store(db::ParmsRow::EXPMSG, 2);
    }
    Hide();
    Unload();
}

KELVA_FORM_NAME(frmExpireMsg)
