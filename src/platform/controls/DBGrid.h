#pragma once

#include "platform/controls/DataControl.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QTableView>
#include <functional>
#include <optional>
#include <vector>

class QLineEdit;

namespace platform {

class DBGrid;

// A column of a DBGrid: caption, width in twips, visibility, lock, number format (the platform's Format
// pattern), alignment (0 left, 1 right, 2 centre, 3 general: numbers right, text left) and the field it shows.
class DBGridColumn {
public:
    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    int Width() const;  // twips
    void setWidth(int twips);
    bool Visible() const { return visible_; }
    void setVisible(bool visible);
    bool Locked() const { return locked_; }
    void setLocked(bool locked) { locked_ = locked; }
    QString NumberFormat() const { return numberFormat_; }
    void setNumberFormat(const QString& pattern);
    int Alignment() const { return alignment_; }
    void setAlignment(int alignment);
    QString DataField() const { return dataField_; }
    int ColIndex() const { return index_; }

    // The value of this column in the current row (while the column's edit is being taken into the row:
    // the edited value, which setValue may change before it is written).
    dao::Variant Value() const;
    void setValue(const dao::Variant& v);
    // The current row's value as the grid shows it.
    QString Text() const;

private:
    friend class DBGrid;
    friend class DBGridModel;
    DBGrid* grid_ = nullptr;
    int index_ = 0;
    int field_ = -1;
    QString caption_;
    QString dataField_;
    int widthTwips_ = 1500;
    bool visible_ = true;
    bool locked_ = false;
    QString numberFormat_;
    int alignment_ = 3;
};

// The grid's model: reads the recordset's cells as the view paints them, nothing copied ahead.
class DBGridModel : public QAbstractTableModel {
public:
    explicit DBGridModel(DBGrid& grid);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void reset();
    void rowChanged(int row);
    void columnsChanged(int first, int last);

private:
    DBGrid& grid_;
};

// A DBGrid bound to a DataControl (porting: QTableView over a model on the recordset). The grid's current
// row is the data control's current record: moving one moves the other, raising Reposition and
// RowColChange. An edited cell is written to the underlying table row when it is taken into the row.
// Rows are never added or deleted by the grid.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);
    ~DBGrid() override;

    void setDataSource(DataControl* source);
    DataControl* DataSource() const { return source_; }

    // Columns: designed ones (addColumn), or one per field captioned with its name.
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    DBGridColumn& Columns(int index);
    DBGridColumn& Columns(const QString& caption);
    DBGridColumn& addColumn(const QString& caption, const QString& dataField);
    void clearColumns();
    // Reads the record source's fields and rows again.
    void ReBind();
    void Refresh();

    int Col() const;  // current column, -1 when none
    void setCol(int col);
    int Row() const;  // current row relative to the first visible row
    // Current row counted from the first row of the recordset, -1 when none.
    int currentRow() const;
    // Text of the current cell; while the cell is edited, the editor's text.
    QString Text() const;
    void setText(const QString& text);
    bool isEditing() const;

    int VisibleRows() const;
    int FirstRow() const;
    void setFirstRow(int row);
    // Scrolls the view by columns and rows without moving the current row.
    void Scroll(int cols, int rows);
    // 2 marks the current cell, 3 highlights the whole current row.
    int MarqueeStyle() const { return marquee_; }
    void setMarqueeStyle(int style);
    bool AllowUpdate() const { return allowUpdate_; }
    void setAllowUpdate(bool allow) { allowUpdate_ = allow; }
    bool AllowAddNew() const { return allowAddNew_; }
    void setAllowAddNew(bool allow) { allowAddNew_ = allow; }
    bool AllowDelete() const { return allowDelete_; }
    void setAllowDelete(bool allow) { allowDelete_ = allow; }
    void setRowHeightTwips(int twips);
    // Lines of the column headings: captions wrap at word boundaries within them.
    int HeadLines() const { return headLines_; }
    void setHeadLines(int lines);

    // Notifications, in the old grid's terms. Mouse down arrives before the current-cell change it causes.
    std::function<void()> DblClick;
    std::function<void(int Button, int Shift, double X, double Y)> MouseDown;
    std::function<void(int& KeyCode, int Shift)> KeyDown;
    std::function<void(int& KeyAscii)> KeyPress;
    std::function<void()> Change;                   // the current cell's text changes while editing
    std::function<void(int ColIndex)> AfterColUpdate;
    std::function<void(int ColIndex)> HeadClick;
    std::function<void(int DataError, int& Response)> Error;  // Response 0: no message
    std::function<void()> GotFocus;
    std::function<void()> LostFocus;
    std::function<void(qint64 LastRow, int LastCol)> RowColChange;
    // A mouse button released over the cells; a click on a cell (pressed and released on it) after it.
    std::function<void(int Button, int Shift, double X, double Y)> MouseUp;
    std::function<void()> Click;
    // Typing letters moves the current row to the next row beginning with them (the view's own search);
    // off, typed letters move nothing.
    void setKeyboardSearch(bool on) { keyboardSearch_ = on; }
    void keyboardSearch(const QString& search) override;

    // The value the grid holds for a cell: what the recordset has, or the text of an edit the table has just
    // refused, which the next editor opened on that cell offers again until the edit is left.
    dao::Variant cellValue(int row, int col) const;
    // What the recordset holds.
    dao::Variant storedValue(int row, int col) const;
    // The cell as shown: always the stored value, so that a refused edit never looks saved.
    QString cellText(int row, int col) const;
    Qt::Alignment cellAlignment(int row, int col) const;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class DBGridColumn;
    friend class DBGridModel;
    friend class DBGridDelegate;
    void rebuildColumns();
    void applyColumn(int col);
    void followRecordset();
    void ensureRowVisible(int row);
    bool commitEdit(int row, int col, const QString& text);
    void raiseRowColChange(qint64 lastRow, int lastCol);
    bool keyEvent(QKeyEvent* e);
    void editorOpened(QLineEdit* editor);
    QLineEdit* editor() const;
    int dataRow() const;

    QPointer<DataControl> source_;
    DBGridModel* model_;
    std::vector<std::unique_ptr<DBGridColumn>> columns_;
    bool designed_ = false;
    QStringList fieldNames_;
    struct Refused {
        int row;
        int col;
        dao::Variant value;
    };
    std::optional<Refused> refused_;
    bool refusedInEdit_ = false;  // the edit being closed was refused: the program may open it again
    // The open cell editor, held as a widget: a line edit half destroyed is no longer one.
    QPointer<QWidget> editor_;
    int pendingCol_ = -1;
    dao::Variant pending_;
    bool following_ = false;
    bool resending_ = false;
    bool focusFromEditor_ = false;
    int marquee_ = 2;
    int headLines_ = 1;
    bool allowUpdate_ = true;
    bool allowAddNew_ = false;
    bool allowDelete_ = false;
    bool keyboardSearch_ = true;
};

}  // namespace platform
