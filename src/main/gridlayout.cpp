#include "main/gridlayout.h"

#include "platform/dao/Error.h"
#include "platform/dao/Variant.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace gridlayout {

namespace {

[[noreturn]] void subscriptOutOfRange()
{
    throw dao::Error(9, QStringLiteral("Subscript out of range"));
}

[[noreturn]] void typeMismatch()
{
    throw dao::Error(13, QStringLiteral("Type mismatch"));
}

// Splits a list as the layout always has: the text up to the next comma is an entry, the rest after the
// last comma is the last entry, and an empty rest ends the list (so a trailing comma adds nothing). Each
// entry goes to take(index, text, isLast); more than 61 entries fail.
void splitList(const QString& list, const std::function<void(int, const QString&, bool)>& take)
{
    QString rest = list;
    int index = 0;
    while (!rest.isEmpty()) {
        if (index >= kGridColumns)
            subscriptOutOfRange();
        const int comma = rest.indexOf(QLatin1Char(','));
        if (comma < 0) {
            take(index, rest, true);
            return;
        }
        take(index, rest.left(comma), false);
        rest = rest.mid(comma + 1);
        ++index;
    }
}

void checkColumn(int col)
{
    if (col < 0 || col >= kGridColumns)
        subscriptOutOfRange();
}

}  // namespace

WidthTable WidthTable::parse(const QString& list)
{
    WidthTable t;
    splitList(list, [&t](int, const QString& entry, bool last) {
        if (last)
            t.last_ = entry;
        else
            t.whole_.push_back(dao::CInt(dao::Variant(entry)));
    });
    return t;
}

double WidthTable::width(int col) const
{
    checkColumn(col);
    if (col < static_cast<int>(whole_.size()))
        return whole_[static_cast<size_t>(col)];
    if (last_ && col == static_cast<int>(whole_.size())) {
        double v = 0;
        if (!dao::parseNumber(*last_, &v))
            typeMismatch();
        return v;
    }
    return 0;
}

bool toBoolean(const QString& entry)
{
    const QString t = entry.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    double v = 0;
    if (!dao::parseNumber(t, &v))
        typeMismatch();
    return v != 0;
}

VisibilityTable VisibilityTable::parse(const QString& list)
{
    VisibilityTable t;
    splitList(list, [&t](int, const QString& entry, bool) { t.flags_.push_back(toBoolean(entry)); });
    return t;
}

bool VisibilityTable::visible(int col) const
{
    checkColumn(col);
    return col < static_cast<int>(flags_.size()) && flags_[static_cast<size_t>(col)];
}

bool lockedColumn(int col)
{
    return col == 0 || (col >= 2 && col <= 43);
}

QString numberFormat(int col)
{
    if (col >= 44 && col <= 48)
        return QStringLiteral("###,##0.00;;");
    if (col >= 7 && col <= 24)
        return QStringLiteral("###,##0.00;;\\-\\-\\-\\ \\ ");
    return {};
}

std::optional<bool> oppsVisibility(int col)
{
    if (col == 19 || col == 22)
        return true;
    if (col == 16 || (col >= 44 && col <= 53) || col == 57)
        return false;
    return std::nullopt;
}

QString sessionCaptionField(int col)
{
    if (col >= 44 && col <= 48)
        return QStringLiteral("S%1NAME").arg(col - 43);
    if (col >= 49 && col <= 53)
        return QStringLiteral("F%1NAME").arg(col - 48);
    if (col == 57)
        return QStringLiteral("OPTName");
    return {};
}

int descriptionWidth(int gridWidth, double otherColumnsSum, int currentWidth)
{
    double w = currentWidth;
    if (gridWidth - 400 > otherColumnsSum)
        w = gridWidth - 530 - otherColumnsSum;
    return w < kMinColumnWidth ? kMinColumnWidth : static_cast<int>(std::lround(w));
}

Size layoutMinimum(Size window)
{
    return {std::max(window.width, 5000), std::max(window.height, 5040)};
}

Size resizeMinimum(Size window)
{
    return {std::max(window.width, 9600), std::max(window.height, 5800)};
}

Size mainGridSize(Size window)
{
    return {window.width - 480, window.height - 4900};
}

int ascGridHeight(int mainGridHeight)
{
    return mainGridHeight + 1250;
}

int drgGridHeight(int windowHeight)
{
    return windowHeight - 3425;
}

TopPanel topPanel(int windowWidth)
{
    if (windowWidth - 600 > 9300)
        return {windowWidth - 600, windowWidth - 7200};
    return {9300, 5745};
}

NotesBoxes notesBoxes(int windowWidth, int codeDetailFrameWidth)
{
    const int width = std::max(kMinColumnWidth, windowWidth - codeDetailFrameWidth - 1400);
    return {windowWidth - width - 400, width};
}

int spareColumnWidth(int gridWidth, double visibleColumnsSum, int margin, int ownCountedWidth)
{
    const double w = ownCountedWidth + gridWidth - visibleColumnsSum - margin;
    return w < kMinColumnWidth ? kMinColumnWidth : static_cast<int>(std::lround(w));
}

}  // namespace gridlayout
