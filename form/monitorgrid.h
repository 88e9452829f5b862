#pragma once

#include <QHash>
#include <QPersistentModelIndex>
#include <QTableWidget>

#include <utility>

class GridDelegate;

// The grid control of the Monitor Entry Form: a table of plain-text cells with an optional
// fixed header row, cell editors (free text, or a drop-down list per column) and the events
// the window needs to decide what may be edited and what is kept.
//
// Rows and columns are 0-based and row 0 is the top row, fixed rows included. A fixed row is
// the horizontal header of the view, so it stays in sight while the cells scroll; the rows
// below it are the model's rows, one down. Use only this class's own row and column functions:
// QTableWidget's (currentRow(), item(), rowAt(), ...) count model rows, without the fixed row.
//
// Sizes are in twips (1440 to the inch) at the widget's logical DPI.
//
// contentsChanged() reports every change of a cell's text, the program's too; silence it
// while filling the grid with setNotificationsBlocked(true) (or a QSignalBlocker on the grid,
// which silences every signal).
class MonitorGrid : public QTableWidget
{
    Q_OBJECT

public:
    explicit MonitorGrid(QWidget *parent = nullptr);
    ~MonitorGrid() override;
    using QTableWidget::edit;

    int rows() const;
    // Never fewer than the fixed rows; rows added are empty. Cancels an edit in progress.
    void setRows(int n);
    int cols() const;
    void setCols(int n);
    int fixedRows() const { return m_fixedRows; }
    // 0 or 1. Turns the top row into the header or back; the number of rows and every text
    // stay as they are.
    void setFixedRows(int n);
    // Appends one row; texts past the last column are dropped.
    void addRow(const QStringList &cells);

    QString textMatrix(int row, int col) const;
    // Does not move the cursor; an open editor on that cell shows the new text.
    void setTextMatrix(int row, int col, const QString &text);

    // The current cell, or -1 when there is none. Fixed rows are never current.
    int row() const;
    int col() const;
    // Ends an edit in progress first and commits it; stays put if validateEdit refuses.
    void setCurrentCell(int row, int col);
    QString currentText() const;
    void setCurrentText(const QString &text);

    // The open cell editor's text; "" and a no-op while no editor is open. Setting it emits
    // nothing. In a list column a text that is no entry is kept as it is, with no entry shown.
    QString editText() const;
    void setEditText(const QString &text);
    bool isEditing() const;
    // Opens the editor on the current cell as F2 does (beforeEdit first); true if it opened.
    bool editCurrentCell();
    // Ends an edit in progress: commit runs validateEdit first and returns false, leaving the
    // editor open, if it refuses; without commit the cell keeps its text. True if no editor.
    bool finishEditing(bool commit = true);

    // Width as drawn, 0 while the column is hidden.
    int colWidthTwips(int col) const;
    void setColWidthTwips(int col, int twips);
    bool isColHidden(int col) const;
    void setColHidden(int col, bool hidden);
    // Every row, the fixed one too, is as high as the grid font needs.
    int rowHeightTwips(int row) const;
    // The control's own height; the width stays.
    void setHeightTwips(int twips);

    // Centres the existing cells of the block, horizontally and vertically.
    void setCellsCentred(int row1, int col1, int row2, int col2);
    // entries separated by "|", e.g. " |Lenient|Severe"; an empty text removes the list.
    void setColComboList(int col, const QString &entries);
    // Selected cells: tab between the cells of a row, "\r" between rows; hidden columns left
    // out. Ctrl+C in the grid puts this text on the clipboard.
    QString clipText() const;
    void setGridFont(const QFont &font);

    // What assistive technology calls a cell: its row caption (the text of another cell of
    // the same row), its column caption (a text of the top row) and its own text, trimmed,
    // empty ones and repeats left out. By default a column has no row caption and the top
    // row's text of the same column as its caption; -1 leaves a caption out. A cell without
    // any of them is "Blank" with its column caption. Without its text the name is what the
    // cell's editor is called.
    void setCellCaptions(int col, int rowCaptionCol, int colCaptionCol);
    QString cellName(int row, int col, bool withText = true) const;
    // A cell's whole text where its column is too narrow to show it, else empty; the grid shows
    // it as the cell's tooltip.
    QString cellToolTip(int row, int col) const;
    QString columnCaption(int col) const;

    // Silences contentsChanged only (other signals keep coming).
    void setNotificationsBlocked(bool blocked) { m_notificationsBlocked = blocked; }
    bool notificationsBlocked() const { return m_notificationsBlocked; }

    // The cell under the last mouse press (row 0 for the fixed row), -1 if none.
    int mouseRow() const { return m_mouseRow; }
    int mouseCol() const { return m_mouseCol; }

signals:
    // From another control, or the first time the window shows it; not when the focus comes
    // back from the grid's own editor or list, a message box or another program.
    void gotFocus();
    // Typing, F2, a double click, a click on a list cell or editCurrentCell(); never a move.
    void beforeEdit(int row, int col, bool *cancel);
    // The user changed the editor's text; setEditText() and the editor's opening do not count.
    void editTextChanged();
    // *keyAscii is the typed character's code (Backspace is 8); 0 swallows it, another code
    // types that character instead. Return/Enter commit, Escape cancels, Tab commits and
    // leaves the grid: those are no characters here.
    void keyPressInEditor(int row, int col, int *keyAscii, Qt::KeyboardModifiers shift);
    // Also when the text is unchanged; a message box shown from here is safe.
    void validateEdit(int row, int col, bool *cancel);
    void contentsChanged(int row, int col);
    // *keyCode is a Qt::Key; 0 swallows the key, another code acts as that key.
    void keyDownInGrid(int *keyCode, Qt::KeyboardModifiers shift);
    // Posted: it arrives once the list has closed and a choice made in it has been committed.
    void comboListClosed();
    // position in the grid's own coordinates, also for presses on the fixed row.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF position);

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void commitData(QWidget *editor) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected,
                          const QItemSelection &deselected) override;
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    // A typed key refused by beforeEdit must not jump to a row starting with that letter.
    void keyboardSearch(const QString &) override {}
    bool eventFilter(QObject *object, QEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    QWidget *openEditor() const;
    QString captionedName(int row, int col, bool withText) const;
    bool isEditStart(const QModelIndex &index, EditTrigger trigger) const;
    QTableWidgetItem *cellItem(int modelRow, int col);
    QTableWidgetItem *headerItem(int col);
    void fillHeader();
    void notifyChanged(int row, int col);
    void onDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                       const QList<int> &roles);
    void onFocusChanged(QWidget *old, QWidget *now);
    void updateRowHeight();
    void notifyAccessibleFocus();

    GridDelegate *m_delegate;
    QMetaObject::Connection m_focusConnection;
    int m_fixedRows = 0;
    QPersistentModelIndex m_editIndex;
    QPersistentModelIndex m_pressIndex;
    bool m_validating = false;
    bool m_commitRefused = false;
    bool m_notificationsBlocked = false;
    bool m_focusAway = false;
    int m_quiet = 0;
    int m_mouseRow = -1;
    int m_mouseCol = -1;
    QHash<int, std::pair<int, int>> m_captions; // by column: row and column caption columns
};
