#include "monitorgrid.h"

#include "gridaccessible.h"
#include "griddelegate.h"
#include "listeditor.h"
#include "twipsconvert.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QToolTip>

#include <algorithm>
#include <utility>

namespace {

bool isCursorKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

} // namespace

MonitorGrid::MonitorGrid(QWidget *parent) : QTableWidget(parent), m_delegate(new GridDelegate(this))
{
    GridAccessible::install();
    auto *prototype = new QTableWidgetItem;
    prototype->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled);
    setItemPrototype(prototype);
    setItemDelegate(m_delegate);

    setSelectionMode(ExtendedSelection);
    setSelectionBehavior(SelectItems);
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    // Tab leaves the grid for the next control of the form, as it does from any other control.
    setTabKeyNavigation(false);
    setShowGrid(true);
    setWordWrap(false);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView *header = horizontalHeader();
    header->hide();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->viewport()->installEventFilter(this);
    updateRowHeight();

    connect(m_delegate, &GridDelegate::editTextChanged, this, &MonitorGrid::editTextChanged);
    connect(m_delegate, &GridDelegate::characterTyped, this,
            [this](int *keyAscii, Qt::KeyboardModifiers modifiers) {
                emit keyPressInEditor(m_editIndex.row() + m_fixedRows, m_editIndex.column(),
                                      keyAscii, modifiers);
            });
    connect(m_delegate, &GridDelegate::endEditRequested, this,
            [this](bool commit) { finishEditing(commit); });
    connect(m_delegate, &GridDelegate::tabPressed, this, [this](bool forward) {
        if (finishEditing(true))
            focusNextPrevChild(forward);
    });
    connect(m_delegate, &GridDelegate::pickedFromList, this, [this] { finishEditing(true); });
    // Posted, so that a choice made in the list has landed before the window hears of it.
    connect(m_delegate, &GridDelegate::listClosed, this, &MonitorGrid::comboListClosed,
            Qt::QueuedConnection);
    connect(model(), &QAbstractItemModel::dataChanged, this, &MonitorGrid::onDataChanged);
    m_focusConnection =
        connect(qApp, &QApplication::focusChanged, this, &MonitorGrid::onFocusChanged);
}

MonitorGrid::~MonitorGrid()
{
    // ~QWidget gives the focus away and QObject would disconnect only after that.
    disconnect(m_focusConnection);
}

int MonitorGrid::rows() const
{
    return rowCount() + m_fixedRows;
}

void MonitorGrid::setRows(int n)
{
    finishEditing(false);
    setRowCount(std::max(0, n - m_fixedRows));
}

int MonitorGrid::cols() const
{
    return columnCount();
}

void MonitorGrid::setCols(int n)
{
    finishEditing(false);
    n = std::max(0, n);
    setColumnCount(n);
    fillHeader();
    m_delegate->dropListsFrom(n);
}

void MonitorGrid::setFixedRows(int n)
{
    n = std::clamp(n, 0, 1);
    if (n == m_fixedRows)
        return;
    finishEditing(false);
    ++m_quiet;
    fillHeader();
    // The top row moves between the header and the model with its texts and alignment.
    if (n == 1) {
        for (int col = 0; rowCount() > 0 && col < columnCount(); ++col) {
            const QTableWidgetItem *cell = item(0, col);
            headerItem(col)->setText(cell ? cell->text() : QString());
            headerItem(col)->setData(Qt::TextAlignmentRole,
                                     cell ? cell->data(Qt::TextAlignmentRole) : QVariant());
        }
        if (rowCount() > 0)
            removeRow(0);
        horizontalHeader()->show();
    } else {
        insertRow(0);
        for (int col = 0; col < columnCount(); ++col) {
            QTableWidgetItem *head = headerItem(col);
            cellItem(0, col)->setText(head->text());
            cellItem(0, col)->setData(Qt::TextAlignmentRole, head->data(Qt::TextAlignmentRole));
            head->setText(QString());
        }
        horizontalHeader()->hide();
    }
    m_fixedRows = n;
    --m_quiet;
}

void MonitorGrid::addRow(const QStringList &cells)
{
    const int modelRow = rowCount();
    ++m_quiet;
    insertRow(modelRow);
    for (int col = 0; col < columnCount(); ++col)
        cellItem(modelRow, col)->setText(cells.value(col));
    --m_quiet;
    for (int col = 0; col < columnCount(); ++col)
        notifyChanged(modelRow + m_fixedRows, col);
}

QString MonitorGrid::textMatrix(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols())
        return {};
    const QTableWidgetItem *cell =
        row < m_fixedRows ? horizontalHeaderItem(col) : item(row - m_fixedRows, col);
    return cell ? cell->text() : QString();
}

void MonitorGrid::setTextMatrix(int row, int col, const QString &text)
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols())
        return;
    if (row >= m_fixedRows) {
        cellItem(row - m_fixedRows, col)->setText(text); // reported through dataChanged
        return;
    }
    if (headerItem(col)->text() == text)
        return;
    headerItem(col)->setText(text);
    notifyChanged(row, col);
}

int MonitorGrid::row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + m_fixedRows : -1;
}

int MonitorGrid::col() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : -1;
}

void MonitorGrid::setCurrentCell(int row, int col)
{
    if (row < m_fixedRows || row >= rows() || col < 0 || col >= cols())
        return;
    const QModelIndex target = model()->index(row - m_fixedRows, col);
    if (openEditor() && target != m_editIndex && !finishEditing(true))
        return;
    QTableWidget::setCurrentCell(target.row(), col);
}

QString MonitorGrid::currentText() const
{
    return textMatrix(row(), col());
}

void MonitorGrid::setCurrentText(const QString &text)
{
    setTextMatrix(row(), col(), text);
}

QString MonitorGrid::editText() const
{
    const QWidget *editor = openEditor();
    return editor ? GridDelegate::editorText(editor) : QString();
}

void MonitorGrid::setEditText(const QString &text)
{
    if (QWidget *editor = openEditor())
        GridDelegate::setEditorText(editor, text);
}

bool MonitorGrid::isEditing() const
{
    return openEditor() != nullptr;
}

bool MonitorGrid::editCurrentCell()
{
    return edit(currentIndex(), AllEditTriggers, nullptr) && isEditing();
}

bool MonitorGrid::finishEditing(bool commit)
{
    QWidget *editor = openEditor();
    if (!editor)
        return true;
    if (!commit) {
        m_commitRefused = false;
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        return !isEditing();
    }
    commitData(editor);
    if (std::exchange(m_commitRefused, false)) {
        editor->setFocus();
        return false;
    }
    if (editor == openEditor())
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    return !isEditing();
}

int MonitorGrid::colWidthTwips(int col) const
{
    return pixelsToTwips(columnWidth(col), logicalDpiX());
}

void MonitorGrid::setColWidthTwips(int col, int twips)
{
    setColumnWidth(col, twipsToPixels(twips, logicalDpiX()));
}

bool MonitorGrid::isColHidden(int col) const
{
    return isColumnHidden(col);
}

void MonitorGrid::setColHidden(int col, bool hidden)
{
    setColumnHidden(col, hidden);
}

int MonitorGrid::rowHeightTwips(int row) const
{
    if (row < 0 || row >= rows())
        return 0;
    const int height =
        row < m_fixedRows ? horizontalHeader()->height() : rowHeight(row - m_fixedRows);
    return pixelsToTwips(height, logicalDpiY());
}

void MonitorGrid::setHeightTwips(int twips)
{
    resize(width(), twipsToPixels(twips, logicalDpiY()));
}

void MonitorGrid::setCellsCentred(int row1, int col1, int row2, int col2)
{
    const int firstRow = std::max(0, std::min(row1, row2));
    const int lastRow = std::min(rows() - 1, std::max(row1, row2));
    const int firstCol = std::max(0, std::min(col1, col2));
    const int lastCol = std::min(cols() - 1, std::max(col1, col2));
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = firstCol; col <= lastCol; ++col) {
            QTableWidgetItem *cell =
                row < m_fixedRows ? headerItem(col) : cellItem(row - m_fixedRows, col);
            cell->setTextAlignment(Qt::AlignCenter);
        }
    }
}

void MonitorGrid::setColComboList(int col, const QString &entries)
{
    m_delegate->setColumnList(col,
                              entries.isEmpty() ? QStringList() : entries.split(QLatin1Char('|')));
}

QString MonitorGrid::clipText() const
{
    QModelIndexList cells = selectedIndexes();
    std::sort(cells.begin(), cells.end(), [](const QModelIndex &a, const QModelIndex &b) {
        return std::pair(a.row(), a.column()) < std::pair(b.row(), b.column());
    });
    QString text;
    int lastRow = -1;
    for (const QModelIndex &cell : std::as_const(cells)) {
        if (isColumnHidden(cell.column()))
            continue;
        if (lastRow >= 0)
            text += cell.row() == lastRow ? QLatin1Char('\t') : QLatin1Char('\r');
        text += cell.data(Qt::DisplayRole).toString();
        lastRow = cell.row();
    }
    return text;
}

void MonitorGrid::setGridFont(const QFont &font)
{
    setFont(font);
    horizontalHeader()->setFont(font);
    updateRowHeight();
}

void MonitorGrid::setCellCaptions(int col, int rowCaptionCol, int colCaptionCol)
{
    m_captions.insert(col, {rowCaptionCol, colCaptionCol});
}

QString MonitorGrid::columnCaption(int col) const
{
    const int captionCol = m_captions.value(col, {-1, col}).second;
    return captionCol < 0 ? QString() : textMatrix(0, captionCol).trimmed();
}

QString MonitorGrid::cellName(int row, int col, bool withText) const
{
    const QString name = captionedName(row, col, withText);
    if (!name.isEmpty() || !withText)
        return name;
    // A screen reader must not land on a nameless cell: a blank one says where it stands.
    const QString caption = columnCaption(col);
    return caption.isEmpty() ? tr("Blank") : tr("Blank, %1").arg(caption);
}

QString MonitorGrid::captionedName(int row, int col, bool withText) const
{
    const QString text = withText ? textMatrix(row, col).trimmed() : QString();
    if (row == 0)
        return text;
    QStringList parts;
    const auto add = [&parts](const QString &part) {
        if (!part.isEmpty() && !parts.contains(part))
            parts << part;
    };
    const int rowCaptionCol = m_captions.value(col, {-1, col}).first;
    if (rowCaptionCol >= 0 && rowCaptionCol != col)
        add(textMatrix(row, rowCaptionCol).trimmed());
    // An empty cell in a row without a caption (below the last criterion) is just empty.
    if (withText && parts.isEmpty() && text.isEmpty())
        return text;
    add(columnCaption(col));
    add(text);
    return parts.join(QStringLiteral(", "));
}

QString MonitorGrid::cellToolTip(int row, int col) const
{
    const QString text = textMatrix(row, col);
    // The delegate's margins on either side of the text.
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    return fontMetrics().horizontalAdvance(text) + margins > columnWidth(col) ? text : QString();
}

bool MonitorGrid::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QTableWidget::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString tip =
        index.isValid() ? cellToolTip(index.row() + m_fixedRows, index.column()) : QString();
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, viewport(), visualRect(index));
    return true;
}

bool MonitorGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (!isEditStart(index, trigger))
        return QTableWidget::edit(index, trigger, event);
    const QPersistentModelIndex target(index);
    bool cancel = false;
    emit beforeEdit(target.row() + m_fixedRows, target.column(), &cancel);
    if (cancel || !target.isValid())
        return false;
    // Known before the editor exists: the first typed key reaches it while it opens.
    m_editIndex = target;
    const bool opened = QTableWidget::edit(target, trigger, event);
    QWidget *editor = openEditor();
    if (editor) {
        // A screen reader names the editor after its cell; a list is named by its entry.
        const QString caption = cellName(target.row() + m_fixedRows, target.column(), false);
        editor->setAccessibleName(caption);
        editor->setAccessibleDescription(caption);
    }
    if (!editor)
        m_editIndex = QPersistentModelIndex();
    else if (auto *list = qobject_cast<ListEditor *>(editor); list && trigger != AnyKeyPressed)
        list->showPopup();
    return opened;
}

void MonitorGrid::commitData(QWidget *editor)
{
    // Late calls for an editor already closed (Return after a list choice, focus loss during
    // a message box shown by validateEdit) are dropped rather than reported by Qt as foreign.
    if (!editor || editor != openEditor() || m_validating)
        return;
    const QPersistentModelIndex index = m_editIndex;
    bool cancel = false;
    m_validating = true;
    emit validateEdit(index.row() + m_fixedRows, index.column(), &cancel);
    m_validating = false;
    if (cancel) {
        m_commitRefused = true;
        return;
    }
    if (editor == openEditor())
        QTableWidget::commitData(editor);
}

void MonitorGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (!editor || editor != openEditor() || m_validating)
        return;
    if (std::exchange(m_commitRefused, false) && hint != QAbstractItemDelegate::RevertModelCache) {
        editor->setFocus();
        return;
    }
    // Where the cursor goes after an edit is the window's business, not the editor's.
    if (hint == QAbstractItemDelegate::EditNextItem ||
        hint == QAbstractItemDelegate::EditPreviousItem)
        hint = QAbstractItemDelegate::NoHint;
    m_editIndex = QPersistentModelIndex();
    QTableWidget::closeEditor(editor, hint);
}

void MonitorGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    // QTableView would number the cell for its own accessible table, hidden columns counted;
    // this grid's table numbers the shown cells only.
    QAbstractItemView::currentChanged(current, previous);
    notifyAccessibleFocus();
    // The cursor moved by a way this class does not intercept and the edit's commit was
    // refused: the editor is still open, so the cursor goes back to it.
    if (openEditor() && previous.isValid() && previous == m_editIndex && current != previous)
        selectionModel()->setCurrentIndex(previous, QItemSelectionModel::ClearAndSelect);
}

void MonitorGrid::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    // Skips QTableView's accessibility events, numbered as in currentChanged().
    QAbstractItemView::selectionChanged(selected, deselected);
}

void MonitorGrid::focusInEvent(QFocusEvent *event)
{
    QTableWidget::focusInEvent(event);
    notifyAccessibleFocus();
}

void MonitorGrid::notifyAccessibleFocus()
{
    const QModelIndex current = currentIndex();
    if (!QAccessible::isActive() || !current.isValid() || !hasFocus())
        return;
    const auto *table = dynamic_cast<GridAccessible *>(QAccessible::queryAccessibleInterface(this));
    if (!table)
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(table->indexOfCell(current.row() + m_fixedRows, current.column()));
    QAccessible::updateAccessibility(&event);
}

void MonitorGrid::keyPressEvent(QKeyEvent *event)
{
    if (openEditor() && !hasFocus()) {
        // A key the open editor left alone: the cursor keys commit and move on.
        if (!isCursorKey(event->key())) {
            event->ignore();
            return;
        }
        if (finishEditing(true))
            QTableWidget::keyPressEvent(event);
        else
            event->accept();
        return;
    }
    int keyCode = event->key();
    emit keyDownInGrid(&keyCode, event->modifiers());
    if (keyCode == 0) {
        event->accept();
        return;
    }
    if (keyCode != event->key()) {
        QKeyEvent changed(event->type(), keyCode, event->modifiers());
        QTableWidget::keyPressEvent(&changed);
        event->setAccepted(changed.isAccepted());
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        // Nothing selected is nothing to copy: the clipboard keeps what it holds.
        if (const QString text = clipText(); !text.isEmpty())
            QGuiApplication::clipboard()->setText(text);
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void MonitorGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    m_mouseRow = index.isValid() ? index.row() + m_fixedRows : -1;
    m_mouseCol = index.isValid() ? index.column() : -1;
    m_pressIndex = QPersistentModelIndex();
    if (!openEditor() || finishEditing(true)) {
        QTableWidget::mousePressEvent(event);
        m_pressIndex = index;
    } else {
        event->accept();
    }
    emit mouseDown(event->button(), event->modifiers(),
                   QPointF(viewport()->mapTo(this, QPoint())) + event->position());
}

void MonitorGrid::mouseReleaseEvent(QMouseEvent *event)
{
    const QPersistentModelIndex pressed = std::exchange(m_pressIndex, QPersistentModelIndex());
    QTableWidget::mouseReleaseEvent(event);
    // A plain click on a cell of a list column drops its list down at once.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier &&
        index.isValid() && index == pressed && index == currentIndex() &&
        m_delegate->hasList(index.column()) && !openEditor())
        edit(index, AllEditTriggers, nullptr);
}

bool MonitorGrid::eventFilter(QObject *object, QEvent *event)
{
    QHeaderView *header = horizontalHeader();
    if (object == header->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        m_mouseRow = 0;
        m_mouseCol = header->logicalIndexAt(mouse->position().toPoint());
        emit mouseDown(mouse->button(), mouse->modifiers(),
                       QPointF(header->viewport()->mapTo(this, QPoint())) + mouse->position());
    }
    return QTableWidget::eventFilter(object, event);
}

QWidget *MonitorGrid::openEditor() const
{
    // indexWidget() also returns the editor QAbstractItemView opened, from the moment it
    // registers it until it releases it.
    return m_editIndex.isValid() ? indexWidget(m_editIndex) : nullptr;
}

bool MonitorGrid::isEditStart(const QModelIndex &index, EditTrigger trigger) const
{
    // edit() is also called to pass clicks to the delegate and with CurrentChanged on every
    // cursor move; only the calls that would open an editor count.
    if (!index.isValid() || openEditor() || state() == EditingState ||
        !(model()->flags(index) & Qt::ItemIsEditable))
        return false;
    return trigger == AllEditTriggers || editTriggers().testAnyFlag(trigger);
}

QTableWidgetItem *MonitorGrid::cellItem(int modelRow, int col)
{
    if (QTableWidgetItem *cell = item(modelRow, col))
        return cell;
    // Creating the item is no change of contents; only its text can be.
    ++m_quiet;
    setItem(modelRow, col, itemPrototype()->clone());
    --m_quiet;
    return item(modelRow, col);
}

QTableWidgetItem *MonitorGrid::headerItem(int col)
{
    if (!horizontalHeaderItem(col))
        setHorizontalHeaderItem(col, new QTableWidgetItem(QString()));
    return horizontalHeaderItem(col);
}

void MonitorGrid::fillHeader()
{
    // Without an item Qt labels a section with its number.
    for (int col = 0; col < columnCount(); ++col)
        headerItem(col);
}

void MonitorGrid::notifyChanged(int row, int col)
{
    if (!m_notificationsBlocked && m_quiet == 0)
        emit contentsChanged(row, col);
}

void MonitorGrid::onDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                const QList<int> &roles)
{
    if (!roles.isEmpty() && !roles.contains(Qt::DisplayRole) && !roles.contains(Qt::EditRole))
        return;
    for (int modelRow = topLeft.row(); modelRow <= bottomRight.row(); ++modelRow) {
        for (int col = topLeft.column(); col <= bottomRight.column(); ++col)
            notifyChanged(modelRow + m_fixedRows, col);
    }
}

void MonitorGrid::onFocusChanged(QWidget *old, QWidget *now)
{
    // The grid's own editors and lists are part of the control. Focus that left the window
    // (for a message box or another program) and comes straight back never left the grid.
    const auto inside = [this](QWidget *widget) {
        for (; widget; widget = widget->parentWidget()) {
            if (widget == this)
                return true;
        }
        return false;
    };
    const bool wasInside = inside(old);
    const bool isInside = inside(now);
    if (wasInside && !isInside) {
        m_focusAway = !now || now->window() != window();
    } else if (isInside && !wasInside) {
        if (!m_focusAway || (old && old->window() == window()))
            emit gotFocus();
        m_focusAway = false;
    }
}

void MonitorGrid::updateRowHeight()
{
    // The fixed row is as high as the others, so that a window can size the grid to its rows.
    const int height = fontMetrics().height() + 3;
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(height);
    horizontalHeader()->setFixedHeight(height);
}
