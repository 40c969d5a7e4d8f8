#include "schedules/schedulecommon.h"

#include "platform/controls/twips.h"

#include <QLabel>

namespace schedules {

QLabel* label(QWidget* parent, const QString& name, const QString& text, int left, int top, int width, int height)
{
    auto* l = platform::newControl<QLabel>(parent, name, left, top, width, height, text);
    if (height > 300)
        l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

}  // namespace schedules
