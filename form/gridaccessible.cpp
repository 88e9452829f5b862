#include "gridaccessible.h"

#include "monitorgrid.h"

#include <QHeaderView>

namespace {

// One shown cell, by the grid's row and column (the fixed row is row 0).
class GridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    GridCellAccessible(MonitorGrid *grid, int row, int col) : m_grid(grid), m_row(row), m_col(col)
    {
    }

    bool isValid() const override
    {
        return m_grid && m_row >= 0 && m_row < m_grid->rows() && m_col < m_grid->cols() &&
               !m_grid->isColHidden(m_col);
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_grid);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return m_grid->cellName(m_row, m_col);
        if (t == QAccessible::Value)
            return m_grid->textMatrix(m_row, m_col);
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessible::Role role() const override
    {
        return isHeader() ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QRect rect() const override
    {
        if (!m_grid->isVisible())
            return {};
        if (isHeader()) {
            const QHeaderView *header = m_grid->horizontalHeader();
            const QRect section(header->sectionViewportPosition(m_col), 0,
                                header->sectionSize(m_col), header->height());
            return section.translated(header->viewport()->mapToGlobal(QPoint()));
        }
        const QModelIndex index = modelIndex();
        return m_grid->visualRect(index).translated(m_grid->viewport()->mapToGlobal(QPoint()));
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (isHeader())
            return state;
        const QModelIndex index = modelIndex();
        const QRect shown(m_grid->viewport()->mapToGlobal(QPoint()), m_grid->viewport()->size());
        state.offscreen = !shown.intersects(rect());
        state.invisible = !m_grid->isVisible();
        state.focusable = state.selectable = state.extSelectable = true;
        state.selected = isSelected();
        state.focused = m_grid->hasFocus() && index == m_grid->currentIndex();
        state.editable = index.flags().testFlag(Qt::ItemIsEditable);
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface *>(this)
                   : nullptr;
    }

    bool isSelected() const override
    {
        return !isHeader() && m_grid->selectionModel()->isSelected(modelIndex());
    }
    QList<QAccessibleInterface *> columnHeaderCells() const override
    {
        auto *table = dynamic_cast<GridAccessible *>(parent());
        if (isHeader() || m_grid->fixedRows() == 0 || !table)
            return {};
        return {table->child(table->indexOfCell(0, m_col))};
    }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override
    {
        const auto *table = dynamic_cast<GridAccessible *>(parent());
        return table ? table->indexOfCell(0, m_col) : -1;
    }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

private:
    bool isHeader() const { return m_row < m_grid->fixedRows(); }
    QModelIndex modelIndex() const
    {
        return m_grid->model()->index(m_row - m_grid->fixedRows(), m_col);
    }

    QPointer<MonitorGrid> m_grid;
    int m_row;
    int m_col;
};

quint64 cellKey(int row, int col)
{
    return (quint64(quint32(row)) << 32) | quint32(col);
}

QAccessibleInterface *gridFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("MonitorGrid") && object && object->isWidgetType())
        return new GridAccessible(static_cast<MonitorGrid *>(object));
    return nullptr;
}

} // namespace

GridAccessible::GridAccessible(MonitorGrid *grid) : QAccessibleWidget(grid, QAccessible::Table) {}

GridAccessible::~GridAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
}

void GridAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void *GridAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

MonitorGrid *GridAccessible::grid() const
{
    return static_cast<MonitorGrid *>(widget());
}

QList<int> GridAccessible::shownColumns() const
{
    QList<int> shown;
    for (int col = 0; col < grid()->cols(); ++col) {
        if (!grid()->isColHidden(col))
            shown << col;
    }
    return shown;
}

QWidget *GridAccessible::openEditor() const
{
    return grid()->isEditing() ? grid()->indexWidget(grid()->currentIndex()) : nullptr;
}

int GridAccessible::childCount() const
{
    return rowCount() * columnCount() + (openEditor() ? 1 : 0);
}

QAccessibleInterface *GridAccessible::child(int index) const
{
    const QList<int> shown = shownColumns();
    const int cells = int(grid()->rows() * shown.size());
    // The open editor comes after the cells, so that a screen reader walking the table finds it.
    if (index == cells && openEditor())
        return QAccessible::queryAccessibleInterface(openEditor());
    if (index < 0 || index >= cells)
        return nullptr;
    const int row = index / shown.size();
    const int col = shown.at(index % shown.size());
    const quint64 key = cellKey(row, col);
    if (const auto id = m_cells.constFind(key); id != m_cells.constEnd())
        return QAccessible::accessibleInterface(*id);
    auto *cell = new GridCellAccessible(grid(), row, col);
    m_cells.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int GridAccessible::indexOfCell(int row, int col) const
{
    const int shownCol = shownColumns().indexOf(col);
    return shownCol < 0 || row < 0 ? -1 : row * columnCount() + shownCol;
}

int GridAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    if (child->object() && child->object() == openEditor())
        return rowCount() * columnCount();
    const auto *cell = const_cast<QAccessibleInterface *>(child)->tableCellInterface();
    if (!cell || child->parent() != this)
        return -1;
    const int shownCol = cell->columnIndex();
    return shownCol < 0 ? -1 : cell->rowIndex() * columnCount() + shownCol;
}

QAccessibleInterface *GridAccessible::childAt(int x, int y) const
{
    const QPoint inViewport = grid()->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index = grid()->indexAt(inViewport);
    if (index.isValid())
        return child(indexOfCell(index.row() + grid()->fixedRows(), index.column()));
    const QHeaderView *header = grid()->horizontalHeader();
    if (grid()->fixedRows() > 0 && header->isVisible()) {
        const QPoint inHeader = header->viewport()->mapFromGlobal(QPoint(x, y));
        if (header->viewport()->rect().contains(inHeader))
            return child(indexOfCell(0, header->logicalIndexAt(inHeader)));
    }
    return nullptr;
}

QAccessibleInterface *GridAccessible::focusChild() const
{
    const QModelIndex current = grid()->currentIndex();
    if (grid()->hasFocus() && current.isValid())
        return child(indexOfCell(current.row() + grid()->fixedRows(), current.column()));
    return QAccessibleWidget::focusChild();
}

QAccessibleInterface *GridAccessible::cellAt(int row, int column) const
{
    return column < 0 || column >= columnCount() ? nullptr : child(row * columnCount() + column);
}

int GridAccessible::selectedCellCount() const
{
    return selectedCells().size();
}

QList<QAccessibleInterface *> GridAccessible::selectedCells() const
{
    QList<QAccessibleInterface *> cells;
    const QModelIndexList selected = grid()->selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected) {
        if (QAccessibleInterface *cell =
                child(indexOfCell(index.row() + grid()->fixedRows(), index.column())))
            cells << cell;
    }
    return cells;
}

QString GridAccessible::columnDescription(int column) const
{
    const QList<int> shown = shownColumns();
    return column < 0 || column >= shown.size() ? QString()
                                                : grid()->columnCaption(shown.at(column));
}

QString GridAccessible::rowDescription(int) const
{
    return {};
}

int GridAccessible::columnCount() const
{
    return int(shownColumns().size());
}

int GridAccessible::rowCount() const
{
    return grid()->rows();
}
