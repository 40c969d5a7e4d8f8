#include "export/codetables/codetablewindow.h"

#include "app/globals.h"
#include "export/windowbuttons.h"
#include "platform/controls/twips.h"
#include "platform/forms/controls.h"

using platform::newControl;

namespace {
constexpr int kHelpContext = 10;
}  // namespace

CodeTableWindow::CodeTableWindow(const QString& name, const QString& designCaption)
{
    setObjectName(name);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setCaption(designCaption);
    platform::useDesignFont(this);
    setFixedSize(platform::tw(6300), platform::tw(3060));

    Frame1 = newControl<QGroupBox>(this, "Frame1", 120, 60, 6060, 1380, QStringLiteral("Note"));
    Label1.add(0, newControl<QLabel>(Frame1, "Label1", 120, 240, 5820, 1020));
    Label1(0)->setWordWrap(true);
    Label1(0)->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Frame2 = newControl<QGroupBox>(this, "Frame2", 120, 1500, 6060, 780, QStringLiteral("Options"));
    Option1.add(0, newControl<QRadioButton>(Frame2, "Option1", 240, 330, 2820, 255, QStringLiteral("All Codes")));
    Option1.add(1, newControl<QRadioButton>(Frame2, "Option1", 3180, 330, 2760, 255, QStringLiteral("Tagged Codes")));

    Command1.add(0, newControl<QPushButton>(this, "Command1", 120, 2460, 1215, 420, QStringLiteral("Help")));
    Command1.add(1, newControl<QPushButton>(this, "Command1", 3600, 2460, 1215, 420, QStringLiteral("Cancel")));
    Command1.add(2, newControl<QPushButton>(this, "Command1", 4920, 2460, 1215, 420, QStringLiteral("Continue")));

    data1_.setConnect(QStringLiteral("Access 2000;"));
    platform::onClick(Command1, [this](int Index) { Command1_Click(Index); });
}

platform::DataControl& CodeTableWindow::Data(int Index)
{
    if (Index != 1)
        throw dao::Error(340, QStringLiteral("Control array element '%1' doesn't exist").arg(Index));
    return data1_;
}

void CodeTableWindow::Form_Load()
{
    // Bound to the open main database; it names no table, so there is nothing to read yet.
    data1_.setDatabase(g().MainDb);
}

void CodeTableWindow::Command1_Click(int Index)
{
    windowbuttons::click(*this, Index, kHelpContext, [this] { Continue(); });
}

void CodeTableWindow::applyExportMenuSetting(const exportmenu::Setting& s)
{
    setCaption(s.caption);
    Option1(0)->setText(s.allCaption);
    const bool tagged = s.tagged == exportmenu::TaggedChoice::Shown;
    if (tagged)
        Option1(1)->setText(s.taggedCaption);
    Option1(1)->setVisible(tagged);
    if (s.selectAll)
        platform::setOptionValue(Option1(0), true);
    // The note's paragraphs are carriage returns, which a label shows as blanks: it shows them as line breaks.
    platform::setText(Label1(0), QString(s.note).replace(QChar(13), QChar(10)));
}
