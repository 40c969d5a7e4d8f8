#pragma once

#include "platform/controls/twips.h"

#include <QLabel>

namespace sessions {

// A label of several lines, its text from the top left, placed in twips.
inline QLabel* wrappedLabel(QWidget* parent, const QString& text, int left, int top, int width, int height)
{
    auto* l = new QLabel(text, parent);
    platform::place(l, left, top, width, height);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

}  // namespace sessions
