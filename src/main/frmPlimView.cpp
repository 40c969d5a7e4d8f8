#include "main/frmPlimView.h"

#include "platform/controls/twips.h"

using platform::place;

frmPlimView::frmPlimView()
{
    setObjectName(QStringLiteral("frmPlimView"));
    setCaption(QStringLiteral("KELVA Morvex Window"));
    setFixedSize(platform::tw(3015), platform::tw(1440));

    plimlist = new QComboBox(this);
    place(plimlist, 15, 60, 2910, 315);
    plimscroll = new platform::ScrollBar(Qt::Horizontal, this);
    place(plimscroll, 0, 1080, 2895, 255);
    Text1.add(1, new QLineEdit(this));
    place(Text1(1), 1620, 630, 1275, 330);
    Text1(1)->setReadOnly(true);
    Text1.add(0, new QLineEdit(this));
    place(Text1(0), 120, 615, 1335, 330);
    Label1.add(1, new QLabel(QStringLiteral("Fee"), this));
    place(Label1(1), 1485, 405, 495, 255);
    Label1.add(0, new QLabel(QStringLiteral("Code"), this));
    place(Label1(0), 105, 390, 495, 255);
    Command1 = new QPushButton(QStringLiteral("Locate Code"), this);
    place(Command1, 165, 360, 1260, 240);
    Command1->hide();
    Command2 = new QPushButton(QStringLiteral("Find"), this);
    place(Command2, 750, 390, 690, 225);
    Command3 = new QPushButton(QStringLiteral("Help"), this);
    place(Command3, 2220, 390, 690, 240);
}
