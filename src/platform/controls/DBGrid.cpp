#include "platform/controls/DBGrid.h"

#include "platform/controls/twips.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/controls.h"
#include "platform/forms/guarded.h"
#include "platform/seam/Seam.h"

#include <QApplication>
#include <array>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyledItemDelegate>

namespace platform {

// ---- columns

void DBGridColumn::setCaption(const QString& caption)
{
    caption_ = caption;
    if (grid_)
        grid_->model_->columnsChanged(index_, index_);
}

int DBGridColumn::Width() const
{
    if (grid_ && visible_)
        return twips(grid_->columnWidth(index_));
    return widthTwips_;
}

void DBGridColumn::setWidth(int value)
{
    widthTwips_ = std::max(0, value);
    if (grid_)
        grid_->applyColumn(index_);
}

void DBGridColumn::setVisible(bool visible)
{
    if (grid_ && visible_ && !visible)
        widthTwips_ = twips(grid_->columnWidth(index_));
    visible_ = visible;
    if (grid_)
        grid_->applyColumn(index_);
}

void DBGridColumn::setNumberFormat(const QString& pattern)
{
    numberFormat_ = pattern;
    if (grid_)
        grid_->model_->columnsChanged(index_, index_);
}

void DBGridColumn::setAlignment(int alignment)
{
    alignment_ = std::clamp(alignment, 0, 3);
    if (grid_)
        grid_->model_->columnsChanged(index_, index_);
}

dao::Variant DBGridColumn::Value() const
{
    if (!grid_)
        return {};
    if (grid_->pendingCol_ == index_)
        return grid_->pending_;
    const int row = grid_->dataRow();
    return row < 0 ? dao::Variant() : grid_->cellValue(row, index_);
}

void DBGridColumn::setValue(const dao::Variant& v)
{
    if (!grid_)
        return;
    if (grid_->pendingCol_ == index_) {
        grid_->pending_ = v;
        return;
    }
    if (grid_->isEditing() && grid_->Col() == index_) {
        grid_->editor()->setText(v.toString());
        return;
    }
    const int row = grid_->dataRow();
    if (row < 0)
        throw dao::Error(3021, QStringLiteral("No current record."));
    grid_->commitEdit(row, index_, v.toString());
}

QString DBGridColumn::Text() const
{
    if (!grid_)
        return {};
    const int row = grid_->dataRow();
    return row < 0 ? QString() : grid_->cellText(row, index_);
}

// ---- model

DBGridModel::DBGridModel(DBGrid& grid) : QAbstractTableModel(&grid), grid_(grid) {}

int DBGridModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !grid_.source_ || !grid_.source_->hasRecordset())
        return 0;
    return grid_.source_->Recordset().rowCount();
}

int DBGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : grid_.ColumnCount();
}

QVariant DBGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return grid_.cellText(index.row(), index.column());
    case Qt::EditRole:
        return grid_.cellValue(index.row(), index.column()).toString();
    case Qt::TextAlignmentRole:
        return QVariant(int(grid_.cellAlignment(index.row(), index.column())));
    default:
        return {};
    }
}

bool DBGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    return grid_.commitEdit(index.row(), index.column(), value.toString());
}

QVariant DBGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return QString();
    if (section < 0 || section >= grid_.ColumnCount())
        return {};
    return grid_.columns_[section]->caption_;
}

Qt::ItemFlags DBGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const DBGridColumn& c = *grid_.columns_[index.column()];
    if (grid_.allowUpdate_ && !c.locked_ && c.field_ >= 0 && grid_.source_ &&
        grid_.source_->Recordset().editable(c.field_))
        f |= Qt::ItemIsEditable;
    return f;
}

void DBGridModel::reset()
{
    beginResetModel();
    endResetModel();
}

void DBGridModel::rowChanged(int row)
{
    if (row >= 0 && row < rowCount())
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void DBGridModel::columnsChanged(int first, int last)
{
    emit headerDataChanged(Qt::Horizontal, first, last);
    if (rowCount() > 0)
        emit dataChanged(index(0, first), index(rowCount() - 1, last));
}

// ---- the editor: a line edit whose keys and changes are the grid's

class DBGridDelegate : public QStyledItemDelegate {
public:
    DBGridDelegate(DBGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        grid_.editorOpened(editor);
        return editor;
    }
    // Cells are drawn here rather than through the style's item layout: a page of the main grid holds
    // hundreds of cells and is drawn again at every move.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        if (selected)
            painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
        const QString text = grid_.cellText(index.row(), index.column());
        if (!text.isEmpty()) {
            const QRect area = option.rect.adjusted(3, 0, -3, 0);
            painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
            const Qt::Alignment alignment = grid_.cellAlignment(index.row(), index.column());
            const int width = textWidth(option, text);
            if (width < 0 || width > area.width()) {
                // A text wider than its cell is cut off at the cell's edge, as the old grid did.
                painter->drawText(area, alignment | Qt::TextSingleLine, text);
            } else {
                int x = area.left();
                if (alignment & Qt::AlignRight)
                    x = area.right() + 1 - width;
                else if (alignment & Qt::AlignHCenter)
                    x = area.left() + (area.width() - width) / 2;
                const QFontMetrics& metrics = option.fontMetrics;
                const int y = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
                painter->drawText(QPoint(x, y), text);
            }
        }
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.backgroundColor = option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
            grid_.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, &grid_);
        }
    }
    // Width of a one-line text from the advances of its characters (the fonts of the grid do not kern
    // Latin text); -1 for a text with other characters, which is then laid out in full.
    int textWidth(const QStyleOptionViewItem& option, const QString& text) const
    {
        if (!advancesKnown_ || option.font != advancesFont_) {
            advancesKnown_ = true;
            advancesFont_ = option.font;
            for (int c = 0; c < 256; ++c)
                advances_[c] = c < 32 ? -1 : option.fontMetrics.horizontalAdvance(QChar(c));
        }
        int width = 0;
        for (const QChar ch : text) {
            const ushort c = ch.unicode();
            if (c > 255 || advances_[c] < 0)
                return -1;
            width += advances_[c];
        }
        return width;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* e = static_cast<QLineEdit*>(editor);
        const QSignalBlocker block(e);
        e->setText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        const QString text = static_cast<QLineEdit*>(editor)->text();
        // An edit that changed nothing is not taken into the row; a refused one offered again is tried again.
        if (text == grid_.storedValue(index.row(), index.column()).toString() &&
            !editor->property("kelva_edited").toBool())
            return;
        model->setData(index, text, Qt::EditRole);
    }

private:
    DBGrid& grid_;
    mutable bool advancesKnown_ = false;
    mutable QFont advancesFont_;
    mutable std::array<int, 256> advances_{};
};

// ---- the grid

DBGrid::DBGrid(QWidget* parent) : QTableView(parent), model_(new DBGridModel(*this))
{
    setModel(model_);
    setItemDelegate(new DBGridDelegate(*this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed |
                    QAbstractItemView::EditKeyPressed);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(tw(240));
    verticalHeader()->setFixedWidth(tw(240));
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    // A column is as narrow as its width says (the Tag column is 400 twips), not Qt's header minimum.
    horizontalHeader()->setMinimumSectionSize(1);
    // A heading click is the HeadClick notification and nothing more: no column selection, no sorting.
    disconnect(horizontalHeader(), SIGNAL(sectionPressed(int)), this, SLOT(selectColumn(int)));
    disconnect(horizontalHeader(), SIGNAL(sectionEntered(int)), this, SLOT(_q_selectColumn(int)));
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (HeadClick)
            guarded([&] { HeadClick(section); });
    });
    connect(this, &QAbstractItemView::clicked, this, [this] {
        if (Click)
            guarded(Click);
    });
    viewport()->installEventFilter(this);
    installEventFilter(this);
    // The plain Windows look of the old grid, which also draws a page of cells, headings and scroll bars
    // at a fraction of the cost of the gradient styles.
    static QPointer<QStyle> plain = QStyleFactory::create(QStringLiteral("Windows"));
    if (plain) {
        plain->setParent(qApp);
        setStyle(plain);
        horizontalHeader()->setStyle(plain);
        verticalHeader()->setStyle(plain);
        horizontalScrollBar()->setStyle(plain);
        verticalScrollBar()->setStyle(plain);
    }
}

// The model goes while the grid is whole: as a child alone it would go only after the view's own parts,
// and tell a half-destroyed view that its model is gone.
DBGrid::~DBGrid()
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    delete model_;
}

void DBGrid::setHeadLines(int lines)
{
    headLines_ = std::max(1, lines);
    QHeaderView* header = horizontalHeader();
    header->setDefaultAlignment(headLines_ > 1 ? Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap) : Qt::Alignment(Qt::AlignCenter));
    header->setFixedHeight(header->fontMetrics().lineSpacing() * headLines_ + tw(90));
}

void DBGrid::setDataSource(DataControl* source)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) {
        connect(source_, &DataControl::refreshed, this, &DBGrid::ReBind);
        connect(source_, &DataControl::repositioned, this, &DBGrid::followRecordset);
        connect(source_, &DataControl::rowWritten, this, [this](int row) {
            if (row < 0) {
                refused_.reset();
                model_->reset();
            } else {
                model_->rowChanged(row);
            }
        });
    }
    ReBind();
}

DBGridColumn& DBGrid::Columns(int index)
{
    if (index < 0 || index >= ColumnCount())
        throw dao::Error(6148, QStringLiteral("Invalid column index"));
    return *columns_[index];
}

DBGridColumn& DBGrid::Columns(const QString& caption)
{
    for (auto& c : columns_)
        if (c->caption_.compare(caption, Qt::CaseInsensitive) == 0 ||
            c->dataField_.compare(caption, Qt::CaseInsensitive) == 0)
            return *c;
    throw dao::Error(6148, QStringLiteral("Invalid column index"));
}

DBGridColumn& DBGrid::addColumn(const QString& caption, const QString& dataField)
{
    if (!designed_) {
        columns_.clear();
        designed_ = true;
    }
    auto c = std::make_unique<DBGridColumn>();
    c->grid_ = this;
    c->caption_ = caption;
    c->dataField_ = dataField;
    c->index_ = ColumnCount();
    columns_.push_back(std::move(c));
    rebuildColumns();
    return *columns_.back();
}

void DBGrid::clearColumns()
{
    designed_ = false;
    columns_.clear();
    fieldNames_.clear();
    rebuildColumns();
}

void DBGrid::rebuildColumns()
{
    QStringList names;
    if (source_ && source_->hasRecordset()) {
        dao::Recordset& rs = source_->Recordset();
        for (int i = 0; i < rs.FieldCount(); ++i)
            names << rs.fieldName(i);
    }
    if (!designed_ && names != fieldNames_) {
        // One column per field, captioned with its name.
        columns_.clear();
        for (int i = 0; i < names.size(); ++i) {
            auto c = std::make_unique<DBGridColumn>();
            c->grid_ = this;
            c->caption_ = names[i];
            c->dataField_ = names[i];
            c->index_ = i;
            columns_.push_back(std::move(c));
        }
    }
    fieldNames_ = names;
    for (auto& c : columns_) {
        c->field_ = -1;
        for (int i = 0; i < names.size(); ++i)
            if (names[i].compare(c->dataField_, Qt::CaseInsensitive) == 0) {
                c->field_ = i;
                break;
            }
    }
    model_->reset();
    for (int i = 0; i < ColumnCount(); ++i)
        applyColumn(i);
}

void DBGrid::applyColumn(int col)
{
    const DBGridColumn& c = *columns_[col];
    setColumnHidden(col, !c.visible_);
    if (c.visible_)
        setColumnWidth(col, tw(c.widthTwips_));
}

void DBGrid::ReBind()
{
    refused_.reset();
    pendingCol_ = -1;
    const int col = std::max(0, Col());
    rebuildColumns();
    if (model_->rowCount() > 0 && ColumnCount() > 0) {
        following_ = true;
        const int row = std::clamp(dataRow(), 0, model_->rowCount() - 1);
        setCurrentIndex(model_->index(row, std::min(col, ColumnCount() - 1)));
        following_ = false;
    }
}

void DBGrid::Refresh()
{
    model_->reset();
    followRecordset();
    viewport()->update();
}

int DBGrid::dataRow() const
{
    if (!source_ || !source_->hasRecordset())
        return -1;
    dao::Recordset& rs = source_->Recordset();
    return rs.hasCurrentRecord() ? static_cast<int>(rs.AbsolutePosition()) : -1;
}

int DBGrid::Col() const
{
    return currentIndex().isValid() ? currentIndex().column() : -1;
}

void DBGrid::setCol(int col)
{
    if (col < 0 || col >= ColumnCount())
        throw dao::Error(6148, QStringLiteral("Invalid column index"));
    const int row = currentIndex().isValid() ? currentIndex().row() : std::max(0, dataRow());
    if (row < model_->rowCount())
        setCurrentIndex(model_->index(row, col));
}

int DBGrid::Row() const
{
    return currentIndex().isValid() ? currentIndex().row() - FirstRow() : -1;
}

int DBGrid::currentRow() const
{
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

bool DBGrid::isEditing() const
{
    return editor() && state() == QAbstractItemView::EditingState;
}

QString DBGrid::Text() const
{
    if (isEditing())
        return editor()->text();
    const QModelIndex i = currentIndex();
    return i.isValid() ? cellText(i.row(), i.column()) : QString();
}

void DBGrid::setText(const QString& text)
{
    if (isEditing()) {
        editor()->setText(text);
        editor()->setProperty("kelva_edited", true);
        return;
    }
    const QModelIndex i = currentIndex();
    if (!i.isValid())
        throw dao::Error(3021, QStringLiteral("No current record."));
    commitEdit(i.row(), i.column(), text);
}

int DBGrid::VisibleRows() const
{
    const int rowHeight = verticalHeader()->defaultSectionSize();
    if (rowHeight <= 0)
        return 0;
    const int fit = viewport()->height() / rowHeight;
    return std::max(0, std::min(fit, model_->rowCount() - FirstRow()));
}

int DBGrid::FirstRow() const
{
    return verticalScrollBar()->value();
}

void DBGrid::setFirstRow(int row)
{
    verticalScrollBar()->setValue(row);
}

void DBGrid::Scroll(int cols, int rows)
{
    if (rows != 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + rows);
    if (cols != 0) {
        int first = columnAt(0);
        int target = std::max(0, first);
        for (int step = 0; step < std::abs(cols); ++step) {
            int next = target + (cols > 0 ? 1 : -1);
            while (next >= 0 && next < ColumnCount() && isColumnHidden(next))
                next += cols > 0 ? 1 : -1;
            if (next < 0 || next >= ColumnCount())
                break;
            target = next;
        }
        horizontalScrollBar()->setValue(columnViewportPosition(target) + horizontalScrollBar()->value());
    }
}

void DBGrid::setMarqueeStyle(int style)
{
    marquee_ = style;
    setSelectionBehavior(style == 3 ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    if (currentIndex().isValid())
        selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect |
                                                     (style == 3 ? QItemSelectionModel::Rows
                                                                 : QItemSelectionModel::NoUpdate));
}

void DBGrid::setRowHeightTwips(int value)
{
    verticalHeader()->setDefaultSectionSize(std::max(1, tw(value)));
}

dao::Variant DBGrid::cellValue(int row, int col) const
{
    if (refused_ && refused_->row == row && refused_->col == col)
        return refused_->value;
    return storedValue(row, col);
}

dao::Variant DBGrid::storedValue(int row, int col) const
{
    const DBGridColumn& c = *columns_[col];
    if (c.field_ < 0 || !source_ || !source_->hasRecordset())
        return {};
    return source_->Recordset().cell(row, c.field_);
}

QString DBGrid::cellText(int row, int col) const
{
    const dao::Variant v = storedValue(row, col);
    if (v.isNull())
        return QString();
    const QString& pattern = columns_[col]->numberFormat_;
    return pattern.isEmpty() ? v.toString() : jet::format(v, pattern);
}

Qt::Alignment DBGrid::cellAlignment(int row, int col) const
{
    Qt::Alignment horizontal = Qt::AlignLeft;
    switch (columns_[col]->alignment_) {
    case 1: horizontal = Qt::AlignRight; break;
    case 2: horizontal = Qt::AlignHCenter; break;
    case 3: {
        // General: numbers to the right, text to the left.
        const auto t = storedValue(row, col).type();
        if (t == dao::Variant::Type::Long || t == dao::Variant::Type::Double)
            horizontal = Qt::AlignRight;
        break;
    }
    default: break;
    }
    return horizontal | Qt::AlignVCenter;
}

bool DBGrid::commitEdit(int row, int col, const QString& text)
{
    if (!source_ || col < 0 || col >= ColumnCount())
        return false;
    DBGridColumn& c = *columns_[col];
    pendingCol_ = col;
    pending_ = dao::Variant(text);
    if (AfterColUpdate)
        guarded([&] { AfterColUpdate(col); });
    const dao::Variant value = pending_;
    pendingCol_ = -1;
    try {
        if (c.field_ < 0)
            throw dao::Error(3027, QStringLiteral("Cannot update. Database or object is read-only."));
        source_->Recordset().setCell(row, c.field_, value);
        refused_.reset();
    } catch (const dao::Error& e) {
        // The cell shows what the table holds: a refused value shown as if stored would look saved. What was
        // typed is kept for an editor opened on the cell again, so that the user can correct it.
        refused_ = Refused{row, col, value};
        refusedInEdit_ = isEditing();
        int response = 1;
        if (Error)
            guarded([&] { Error(e.number, response); });
        if (response != 0)
            guarded([&] { seam().MsgBox(e.description, vbOKOnly); });
    }
    model_->rowChanged(row);
    if (row == dataRow())
        source_->showBound();
    return true;
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // The base closes an open editor first, which takes its edit into the row.
    QTableView::currentChanged(current, previous);
    if (marquee_ == 3 && current.isValid())
        selectionModel()->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (following_ || !current.isValid() || !source_ || !source_->hasRecordset())
        return;
    const qint64 lastRow = previous.isValid() ? previous.row() : -1;
    const int lastCol = previous.isValid() ? previous.column() : -1;
    if (current.row() != dataRow()) {
        following_ = true;
        try {
            source_->Recordset().setAbsolutePosition(current.row());
        } catch (const dao::Error& e) {
            following_ = false;
            guarded([&] { throw e; });
            return;
        }
        following_ = false;
    }
    if (!previous.isValid() || current.row() != previous.row() || current.column() != previous.column())
        raiseRowColChange(lastRow, lastCol);
}

void DBGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, hint);
    // An edit left without a refusal of its own drops what an earlier refused edit typed.
    if (!std::exchange(refusedInEdit_, false))
        refused_.reset();
}

void DBGrid::followRecordset()
{
    if (following_)
        return;
    const int row = dataRow();
    if (row < 0 || row >= model_->rowCount() || ColumnCount() == 0)
        return;
    const QModelIndex previous = currentIndex();
    if (previous.isValid() && previous.row() == row)
        return;
    const int col = previous.isValid() ? previous.column() : 0;
    following_ = true;
    setCurrentIndex(model_->index(row, col));
    following_ = false;
    ensureRowVisible(row);
    raiseRowColChange(previous.isValid() ? previous.row() : -1, previous.isValid() ? previous.column() : -1);
}

// Brings the row into view without scrolling sideways; works whatever column is current (Qt's
// scrollTo does nothing when the current column is hidden, as CODEMOD is in the main grid).
void DBGrid::ensureRowVisible(int row)
{
    const int rowHeight = verticalHeader()->defaultSectionSize();
    const int fit = rowHeight > 0 ? std::max(1, viewport()->height() / rowHeight) : 1;
    if (row < FirstRow())
        setFirstRow(row);
    else if (row >= FirstRow() + fit)
        setFirstRow(row - fit + 1);
}

void DBGrid::raiseRowColChange(qint64 lastRow, int lastCol)
{
    if (RowColChange)
        guarded([&] { RowColChange(lastRow, lastCol); });
}

QLineEdit* DBGrid::editor() const
{
    return qobject_cast<QLineEdit*>(editor_.data());
}

void DBGrid::editorOpened(QLineEdit* editor)
{
    editor_ = editor;
    editor->installEventFilter(this);
    connect(editor, &QLineEdit::textEdited, this, [this, editor] {
        editor->setProperty("kelva_edited", true);
        if (Change)
            guarded(Change);
    });
    connect(editor, &QLineEdit::textChanged, this, [this, editor] {
        // A text set by the program through Text is a change of the cell too.
        if (editor->property("kelva_edited").toBool() && !editor->isModified() && Change)
            guarded(Change);
    });
}

bool DBGrid::keyEvent(QKeyEvent* e)
{
    if (resending_)
        return false;
    int code = vbKeyCode(e->key());
    if (KeyDown && code != 0) {
        guarded([&] { KeyDown(code, vbShift(e->modifiers())); });
        if (code == 0)
            return true;
    }
    if (KeyPress && !e->text().isEmpty()) {
        const int original = e->text().at(0).unicode();
        int ascii = original;
        guarded([&] { KeyPress(ascii); });
        if (ascii == 0)
            return true;
        if (ascii != original) {
            const QChar c(ascii);
            QKeyEvent replaced(QEvent::KeyPress, c.isLetter() ? int(c.toUpper().unicode()) : ascii, e->modifiers(),
                               QString(c));
            resending_ = true;
            QApplication::sendEvent(isEditing() ? static_cast<QWidget*>(editor()) : static_cast<QWidget*>(this),
                                    &replaced);
            resending_ = false;
            return true;
        }
    }
    return false;
}

bool DBGrid::eventFilter(QObject* watched, QEvent* event)
{
    // Compared as an object, never cast: events reach the editor while it is being destroyed.
    const bool onEditor = editor_ && watched == editor_.data();
    if (onEditor && event->type() == QEvent::FocusOut) {
        // The focus leaving the cell editor leaves the grid, unless it goes back to the grid itself.
        if (QApplication::focusWidget() == this)
            focusFromEditor_ = true;
        else if (LostFocus && isOldFocusChange(static_cast<QFocusEvent*>(event), this))
            guarded(LostFocus);
    }
    if ((watched == this || onEditor) && event->type() == QEvent::KeyPress) {
        // While a cell is edited, keys come through its editor; one the editor does not take (Up, Down)
        // goes on to the grid and was told already.
        if (watched == this && isEditing())
            return false;
        return keyEvent(static_cast<QKeyEvent*>(event));
    }
    if (watched == viewport()) {
        if (event->type() == QEvent::MouseButtonPress && MouseDown) {
            auto* m = static_cast<QMouseEvent*>(event);
            const int button = m->button() == Qt::LeftButton    ? vbLeftButton
                               : m->button() == Qt::RightButton ? vbRightButton
                                                                : vbMiddleButton;
            guarded([&] { MouseDown(button, vbShift(m->modifiers()), twips(1) * m->position().x(),
                                    twips(1) * m->position().y()); });
        } else if (event->type() == QEvent::MouseButtonRelease && MouseUp) {
            auto* m = static_cast<QMouseEvent*>(event);
            const int button = m->button() == Qt::LeftButton    ? vbLeftButton
                               : m->button() == Qt::RightButton ? vbRightButton
                                                                : vbMiddleButton;
            guarded([&] { MouseUp(button, vbShift(m->modifiers()), twips(1) * m->position().x(),
                                  twips(1) * m->position().y()); });
        } else if (event->type() == QEvent::MouseButtonDblClick && DblClick) {
            guarded(DblClick);
        }
    }
    return QTableView::eventFilter(watched, event);
}

void DBGrid::keyboardSearch(const QString& search)
{
    if (keyboardSearch_)
        QTableView::keyboardSearch(search);
}

void DBGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    if (std::exchange(focusFromEditor_, false))
        return;
    if (GotFocus && isOldFocusChange(event, this))
        guarded(GotFocus);
}

void DBGrid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    // The grid's own editor taking the focus is no loss of focus.
    if (editor_ && QApplication::focusWidget() == editor_.data())
        return;
    if (LostFocus && isOldFocusChange(event, this))
        guarded(LostFocus);
}

}  // namespace platform
