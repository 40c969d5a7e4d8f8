#pragma once

#include <QString>

class QLabel;
class QWidget;

// What the physician and the family fee managers share: their refusals, word for word, and their labels.
namespace schedules {

inline const QString kPercentageKeyMessage =
    QStringLiteral("The percentage increase/decrease amount must be numeric.  Please re-enter.");
inline const QString kPercentageBlank = QStringLiteral(
    "The percentage increase/decrease box can not be blank.  If you enter a 0 (zero percent) you will copy the "
    "source to the destination.");
inline const QString kBothSelected =
    QStringLiteral("The source and destination fields must both be selected.  Please correct.");
inline const QString kNotTheSame =
    QStringLiteral("The source and destination fields can not be the same.  Please correct and try again.");
inline const QString kBlankSelection =
    QStringLiteral("The fees and/or schedule selections cannot be blank..  Please correct and try again.");

// A label placed in twips, its text from the top left; one taller than a line wraps.
QLabel* label(QWidget* parent, const QString& name, const QString& text, int left, int top, int width,
              int height = 255);

// The percentage boxes' filter: digits, ".", "-" and Backspace pass.
inline bool percentageKey(int KeyAscii)
{
    return (KeyAscii >= '0' && KeyAscii <= '9') || KeyAscii == '.' || KeyAscii == '-' || KeyAscii == 8;
}

}  // namespace schedules
