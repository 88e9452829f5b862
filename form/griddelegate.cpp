#include "griddelegate.h"

#include "listeditor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

GridDelegate::GridDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

void GridDelegate::setColumnList(int col, const QStringList &entries)
{
    if (entries.isEmpty())
        m_lists.remove(col);
    else
        m_lists.insert(col, entries);
}

void GridDelegate::dropListsFrom(int col)
{
    for (auto it = m_lists.begin(); it != m_lists.end();)
        it = it.key() >= col ? m_lists.erase(it) : std::next(it);
}

QWidget *GridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                    const QModelIndex &index) const
{
    // Editor signals are forwarded signal to signal: this function is const, and the first
    // typed key reaches the editor before the grid learns that it exists.
    if (hasList(index.column())) {
        auto *list = new ListEditor(columnList(index.column()), parent);
        connect(list, &ListEditor::textPicked, this, &GridDelegate::editTextChanged);
        connect(list, &ListEditor::pickedFromList, this, &GridDelegate::pickedFromList);
        connect(list, &ListEditor::listClosed, this, &GridDelegate::listClosed);
        return list;
    }
    auto *line = new QLineEdit(parent);
    line->setFrame(false);
    // Typing in a centred cell stays where its text is drawn.
    const auto alignment = qvariant_cast<Qt::Alignment>(index.data(Qt::TextAlignmentRole));
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    line->setAlignment((horizontal ? horizontal : Qt::Alignment(Qt::AlignLeft)) | Qt::AlignVCenter);
    connect(line, &QLineEdit::textEdited, this, &GridDelegate::editTextChanged);
    return line;
}

void GridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    setEditorText(editor, index.data(Qt::EditRole).toString());
}

void GridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                const QModelIndex &index) const
{
    // An unchanged cell is left alone, so that leaving an editor is no change of contents.
    const QString text = editorText(editor);
    if (text != index.data(Qt::EditRole).toString())
        model->setData(index, text, Qt::EditRole);
}

QString GridDelegate::editorText(const QWidget *editor)
{
    if (const auto *list = qobject_cast<const ListEditor *>(editor))
        return list->text();
    if (const auto *line = qobject_cast<const QLineEdit *>(editor))
        return line->text();
    return {};
}

void GridDelegate::setEditorText(QWidget *editor, const QString &text)
{
    if (auto *list = qobject_cast<ListEditor *>(editor))
        list->setText(text);
    else if (auto *line = qobject_cast<QLineEdit *>(editor))
        line->setText(text);
}

bool GridDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (!editor)
        return QStyledItemDelegate::eventFilter(object, event);
    if (event->type() == QEvent::KeyPress)
        return filterKey(editor, static_cast<QKeyEvent *>(event));
    // A click on the grid moves the focus there before the grid sees the click; the grid ends
    // the edit itself then, so that validateEdit runs once.
    if (event->type() == QEvent::FocusOut && QApplication::focusWidget() == parent())
        return false;
    return QStyledItemDelegate::eventFilter(object, event);
}

bool GridDelegate::filterKey(QWidget *editor, QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit endEditRequested(true);
        return true;
    case Qt::Key_Escape:
        emit endEditRequested(false);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        emit tabPressed(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
        return true;
    default:
        break;
    }
    const QString text = event->text();
    const bool character = text.size() == 1 && text.at(0) != QChar(0x7f) &&
                           (text.at(0) >= QChar(0x20) || text.at(0) == QChar(0x08));
    if (!character || m_replaying)
        return false;
    const int typed = text.at(0).unicode();
    int keyAscii = typed;
    emit characterTyped(&keyAscii, event->modifiers());
    if (keyAscii == typed)
        return false;
    if (keyAscii != 0) {
        // The handler asked for another character: type that one instead.
        QKeyEvent replacement(QEvent::KeyPress, event->key(), event->modifiers(),
                              QString(QChar(keyAscii)));
        m_replaying = true;
        QApplication::sendEvent(editor, &replacement);
        m_replaying = false;
    }
    return true;
}
