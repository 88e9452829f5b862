#pragma once

#include <QHash>
#include <QStringList>
#include <QStyledItemDelegate>

// Creates the cell editors of MonitorGrid (a line edit, or a ListEditor in a column with a
// drop-down list) and turns what happens in them into requests the grid acts on. It never
// commits or closes an editor itself: the grid runs every end of an edit through one path.
class GridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit GridDelegate(QObject *parent);

    void setColumnList(int col, const QStringList &entries);
    bool hasList(int col) const { return m_lists.contains(col); }
    QStringList columnList(int col) const { return m_lists.value(col); }
    void dropListsFrom(int col);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

    static QString editorText(const QWidget *editor);
    static void setEditorText(QWidget *editor, const QString &text);

signals:
    void editTextChanged();
    void listClosed();
    void pickedFromList();
    // A character typed into the editor; set *keyAscii to 0 to swallow it, or to another code.
    void characterTyped(int *keyAscii, Qt::KeyboardModifiers modifiers);
    void endEditRequested(bool commit);
    void tabPressed(bool forward);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    bool filterKey(QWidget *editor, QKeyEvent *event);

    QHash<int, QStringList> m_lists;
    bool m_replaying = false;
};
