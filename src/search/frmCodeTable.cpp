#include "search/frmCodeTable.h"

#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "search/findengine.h"

KELVA_FORM_NAME(frmCodeTable)

using platform::newControl;

frmCodeTable::frmCodeTable()
{
    setObjectName(QStringLiteral("frmCodeTable"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    platform::useDesignFont(this);
    setFixedSize(platform::tw(3135), platform::tw(3030));
    setCaption(QStringLiteral("Select Table"));
    const char* captions[] = {"KELVA", "DMEPOS", "LAB Fees", "J Codes", "ASC Codes", "DRG Codes"};
    for (int i = 0; i < 6; ++i)
        Option1.add(i, newControl<QRadioButton>(this, QStringLiteral("Option1_%1").arg(i), 480, 180 + i * 360, 2175,
                                                300, QString::fromLatin1(captions[i])));
    btn.add(1, newControl<QPushButton>(this, "btn_1", 240, 2460, 1215, 405, QStringLiteral("OK")));
    btn.add(0, newControl<QPushButton>(this, "btn_0", 1680, 2460, 1215, 405, QStringLiteral("Cancel")));
    QWidget::setTabOrder(btn(0), btn(1));
    QWidget::setTabOrder(btn(1), Option1(0));
    for (int i = 0; i < 5; ++i)
        QWidget::setTabOrder(Option1(i), Option1(i + 1));
    btn(0)->setFocus();
    platform::onClick(btn, [this](int Index) { btn_Click(Index); });
}

void frmCodeTable::btn_Click(int Index)
{
    if (Index == 0) {
        g().SkipOtherTables = 0;
        Unload();
        return;
    }
    g().SkipOtherTables = -1;
    for (int i = 0; i < 6; ++i) {
        if (!Option1(i)->isChecked())
            continue;
        const auto family = search::Family(i);
        frmMain& main = forms().get<frmMain>();
        platform::setListIndex(main.cmboCurrentView, search::kFindFamilies[family].view);
        search::FindCode(family, g().PendingSearchText, QStringLiteral("00*00"), 0, 0, QString());
        break;
    }
    Unload();
}
