#include "export/ExprtInd.h"

#include "platform/forms/FormRegistry.h"

#include "platform/controls/twips.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

using platform::newControl;
using platform::tw;

namespace {

// The bar moves in these steps, so that a Max of any size fits the widget's whole numbers.
constexpr int kBarSteps = 10000;

QLabel* designLabel(QWidget* parent, const char* name, int left, int width, const QString& text)
{
    auto* l = newControl<QLabel>(parent, QString::fromLatin1(name), left, 120, width, 255, text);
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(9);
    l->setFont(f);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    return l;
}

}  // namespace

ExprtInd::ExprtInd()
{
    setObjectName(QStringLiteral("ExprtInd"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setCaption(QStringLiteral("Exporting"));
    setFixedSize(tw(3975), tw(1005));

    Label2 = designLabel(this, "Label2", 1080, 1935, QStringLiteral("Exporting Information"));
    Label1 = designLabel(this, "Label1", 1200, 1695, QStringLiteral("Performing Backup"));
    Label2->setAutoFillBackground(true);
    Label2->raise();
    prg1 = newControl<QProgressBar>(this, "prg1", 240, 480, 3495, 255);
    prg1->setRange(0, kBarSteps);
    prg1->setTextVisible(false);
    showBar();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->availableGeometry();
        move(r.center() - rect().center());
    }
}

void ExprtInd::setPrg1Max(double max)
{
    max_ = std::max(0.0, double(float(max)));
    value_ = std::min(value_, max_);
    showBar();
}

void ExprtInd::setPrg1Value(double value)
{
    value_ = std::clamp(double(float(value)), 0.0, max_);
    showBar();
}

void ExprtInd::showBar()
{
    prg1->setValue(max_ > 0 ? int(value_ / max_ * kBarSteps) : 0);
    emit prg1Changed(max_, value_);
}

KELVA_FORM_NAME(ExprtInd)
