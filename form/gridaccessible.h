#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

class MonitorGrid;

// What assistive technology sees of a MonitorGrid: a table of its shown cells only. Qt's own
// table for item views also exposes hidden columns (the student grid keeps the personal
// identifiers in one) and the hidden row numbers, and names a cell by its text alone; here a
// cell is named by its row and column captions and its text (MonitorGrid::cellName()).
//
// Cells are numbered row by row over the grid's rows (its fixed row first) and its shown
// columns; an open cell editor follows them. Cell interfaces are made on demand, registered with
// QAccessible and removed with the table.
class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit GridAccessible(MonitorGrid *grid);
    ~GridAccessible() override;

    // Makes every MonitorGrid use this table; idempotent.
    static void install();

    void *interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface *> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // Cells read the grid afresh every time; nothing is cached to update.
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

    // The number of the cell at the grid's row and column; -1 for a hidden column.
    int indexOfCell(int row, int col) const;

private:
    MonitorGrid *grid() const;
    QList<int> shownColumns() const;
    QWidget *openEditor() const;

    mutable QHash<quint64, QAccessible::Id> m_cells;
};
