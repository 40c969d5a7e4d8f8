#include "support/ReadableTexts.h"

#include "platform/controls/DBGrid.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTextDocument>

namespace testsupport {

namespace {

// A button's text as drawn: the access key's & not shown, && as one &.
QString shownText(QString text)
{
    text.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(1), QLatin1Char('&'));
    return text;
}

int widest(const QFontMetrics& fm, const QString& text)
{
    int w = 0;
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))))
        w = std::max(w, fm.horizontalAdvance(line));
    return w;
}

QString name(const QWidget* w, const QString& text)
{
    return (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName()) +
           QStringLiteral(": ") + text;
}

bool labelCut(const QLabel* l)
{
    const QString text = l->text();
    if (text.isEmpty() || Qt::mightBeRichText(text))
        return false;
    const QRect room = l->contentsRect();
    const int margin = 2 * l->margin() + std::max(0, l->indent());
    if (l->wordWrap())
        return l->heightForWidth(l->width()) > l->height() ||
               // a word longer than the line is cut at the right
               widest(l->fontMetrics(), QString(text).replace(QLatin1Char(' '), QLatin1Char('\n'))) > room.width();
    const QFontMetrics fm = l->fontMetrics();
    const int lines = int(text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))).size());
    return widest(fm, text) + margin > room.width() || lines * fm.height() > room.height();
}

bool buttonCut(const QAbstractButton* b)
{
    const QString text = shownText(b->text());
    if (text.isEmpty())
        return false;
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(b))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(b))
        contents = QStyle::SE_RadioButtonContents;
    const QRect room = b->style()->subElementRect(contents, &opt, b);
    const QFontMetrics fm = b->fontMetrics();
    return fm.horizontalAdvance(text) > room.width() || fm.height() > room.height();
}

// The entry a combo box shows, in its field beside the arrow.
bool comboCut(const QComboBox* box)
{
    if (box->currentText().isEmpty())
        return false;
    QStyleOptionComboBox opt;
    opt.initFrom(box);
    opt.editable = box->isEditable();
    const QRect room =
        box->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, box);
    return box->fontMetrics().horizontalAdvance(box->currentText()) + 4 > room.width();
}

bool titleCut(const QGroupBox* g)
{
    if (g->title().isEmpty())
        return false;
    // The title starts a little in from the frame's left edge and must end inside its right one.
    return g->fontMetrics().horizontalAdvance(shownText(g->title())) + 16 > g->width();
}

// The grid's headings: each wrapped over the heading lines in its section.
QStringList cutHeadings(platform::DBGrid* grid)
{
    QStringList cut;
    const QHeaderView* header = grid->horizontalHeader();
    const QFontMetrics fm = header->fontMetrics();
    const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int c = 0; c < grid->ColumnCount(); ++c) {
        platform::DBGridColumn& column = grid->Columns(c);
        if (!column.Visible() || header->isSectionHidden(c))
            continue;
        const QString caption = column.Caption();
        const int room = header->sectionSize(c) - margin;
        const QRect need = fm.boundingRect(QRect(0, 0, room, 10000),
                                           grid->HeadLines() > 1 ? Qt::TextWordWrap : Qt::TextSingleLine, caption);
        const bool wordTooLong = widest(fm, QString(caption).replace(QLatin1Char(' '), QLatin1Char('\n'))) > room;
        const bool tooManyLines = need.height() > fm.lineSpacing() * grid->HeadLines() + 1;
        if (wordTooLong || tooManyLines || (grid->HeadLines() == 1 && fm.horizontalAdvance(caption) > room))
            cut << name(grid, QStringLiteral("heading %1 \"%2\"").arg(c).arg(caption));
    }
    return cut;
}

}  // namespace

QStringList cutTexts(QWidget* window)
{
    QStringList cut;
    auto shown = [window](const QWidget* w) { return w->isVisibleTo(window); };
    for (QLabel* l : window->findChildren<QLabel*>())
        if (shown(l) && labelCut(l))
            cut << name(l, l->text());
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (shown(b) && (qobject_cast<QPushButton*>(b) || qobject_cast<QCheckBox*>(b) ||
                         qobject_cast<QRadioButton*>(b)) &&
            buttonCut(b))
            cut << name(b, b->text());
    for (QComboBox* c : window->findChildren<QComboBox*>())
        if (shown(c) && comboCut(c))
            cut << name(c, c->currentText());
    for (QGroupBox* g : window->findChildren<QGroupBox*>())
        if (shown(g) && titleCut(g))
            cut << name(g, g->title());
    for (platform::DBGrid* grid : window->findChildren<platform::DBGrid*>())
        if (shown(grid))
            cut << cutHeadings(grid);
    return cut;
}

QStringList cutCells(platform::DBGrid* grid, const QList<int>& columns)
{
    QStringList cut;
    const QFontMetrics fm = grid->fontMetrics();
    const int rows = grid->model()->rowCount();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < grid->model()->columnCount(); ++c) {
            if (grid->isColumnHidden(c) || (!columns.isEmpty() && !columns.contains(c)))
                continue;
            const QString text = grid->model()->index(r, c).data().toString();
            // The cell's text is drawn inside a margin of a few pixels at each side.
            if (fm.horizontalAdvance(text) + 6 > grid->columnWidth(c))
                cut << QStringLiteral("row %1 column %2 \"%3\"").arg(r).arg(c).arg(text);
        }
    }
    return cut;
}

void saveShot(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("KELVA_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    window->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

}  // namespace testsupport
