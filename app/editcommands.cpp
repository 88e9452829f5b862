#include "editcommands.h"

#include "monitorgrid.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>

namespace {

// The grid a focused widget belongs to: the grid itself, or one of its cell editors.
MonitorGrid *gridOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (auto *grid = qobject_cast<MonitorGrid *>(w))
            return grid;
    }
    return nullptr;
}

void setEnabled(const EditCommands::Controls &controls, bool enabled)
{
    controls.menuItem->setEnabled(enabled);
    controls.button->setEnabled(enabled);
}

} // namespace

EditCommands::EditCommands(QPlainTextEdit *commentsBox, MonitorGrid *studentGrid,
                           MonitorGrid *criteriaGrid, Controls cut, Controls copy, Controls paste,
                           std::function<void()> markChanged)
    : m_commentsBox(commentsBox), m_cut(cut), m_copy(copy), m_paste(paste),
      m_markChanged(std::move(markChanged))
{
    commentsBox->installEventFilter(this);
    commentsBox->viewport()->installEventFilter(this);
    // Both end with this object, which the window destroys before its widgets: hiding the
    // window on its way out moves the focus.
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *now) { followFocus(now); });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        if (QApplication::focusWidget() == m_commentsBox)
            setEnabled(m_paste, canPaste());
    });
    connect(criteriaGrid, &MonitorGrid::mouseDown, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            setEnabled(m_copy, true);
    });
    connect(studentGrid, &MonitorGrid::mouseDown, this,
            [this, studentGrid](Qt::MouseButton button) {
                if (button != Qt::LeftButton || studentGrid->row() < 0)
                    return;
                setEnabled(m_copy, studentGrid->row() >= 1);
            });
}

void EditCommands::followFocus(QWidget *now)
{
    // Menus, the menu bar, popups, message boxes and other programs take the focus for a moment;
    // the control the focus comes back to was never left.
    if (!now || now->window() != m_commentsBox->window() || qobject_cast<QMenuBar *>(now))
        return;
    if (now == m_commentsBox) {
        m_target = now;
        followCommentsSelection();
        return;
    }
    // Leaving the box disables all three (a grid's left click enables Copy again); nothing is
    // cut from or pasted into a grid, nor anywhere else.
    const bool leftTheBox = m_target == m_commentsBox;
    m_target = gridOf(now);
    if (leftTheBox || !m_target)
        setEnabled(m_copy, false);
    setEnabled(m_cut, false);
    setEnabled(m_paste, false);
}

void EditCommands::followCommentsSelection()
{
    const bool selected = m_commentsBox->textCursor().hasSelection();
    setEnabled(m_copy, selected);
    setEnabled(m_cut, selected && !m_commentsBox->isReadOnly());
    setEnabled(m_paste, canPaste());
}

bool EditCommands::canPaste() const
{
    return !m_commentsBox->isReadOnly() && !QApplication::clipboard()->text().isEmpty();
}

QPlainTextEdit *EditCommands::editableCommentsTarget() const
{
    return m_target == m_commentsBox && !m_commentsBox->isReadOnly() ? m_commentsBox : nullptr;
}

// The box's selected text; a grid's selected cells, or its current cell when none is selected.
QString EditCommands::textToCopy() const
{
    if (m_target == m_commentsBox)
        return m_commentsBox->textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n');
    auto *grid = qobject_cast<MonitorGrid *>(m_target.data());
    if (!grid)
        return {};
    const QString selected = grid->clipText();
    return selected.isEmpty() && grid->row() >= 0 ? grid->currentText() : selected;
}

void EditCommands::CopyToClipboard()
{
    if (const QString text = textToCopy(); !text.isEmpty())
        QApplication::clipboard()->setText(text);
}

bool EditCommands::CutToClipboard()
{
    QPlainTextEdit *box = editableCommentsTarget();
    if (!box || !box->textCursor().hasSelection())
        return false;
    CopyToClipboard();
    box->textCursor().removeSelectedText();
    return true;
}

bool EditCommands::PasteFromClipboard()
{
    QPlainTextEdit *box = editableCommentsTarget();
    const QString text = QApplication::clipboard()->text();
    if (!box || text.isEmpty())
        return false;
    const QString before = box->toPlainText();
    box->insertPlainText(text);
    return box->toPlainText() != before;
}

void EditCommands::copy()
{
    CopyToClipboard();
}

void EditCommands::cut()
{
    if (CutToClipboard())
        m_markChanged();
    if (editableCommentsTarget())
        followCommentsSelection();
}

void EditCommands::paste()
{
    if (PasteFromClipboard())
        m_markChanged();
    if (editableCommentsTarget())
        followCommentsSelection();
}

QAction *EditCommands::commandFor(const QKeyEvent *key) const
{
    const QKeySequence pressed(key->keyCombination());
    for (QAction *command : {m_cut.menuItem, m_copy.menuItem, m_paste.menuItem}) {
        if (command->shortcut() == pressed)
            return command;
    }
    return nullptr;
}

bool EditCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_commentsBox && watched != m_commentsBox->viewport())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease: {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            break;
        followCommentsSelection();
        break;
    }
    case QEvent::ShortcutOverride:
        // Ctrl+X, Ctrl+C and Ctrl+V are the Edit menu's while its item is enabled, so that they
        // do all the command does; otherwise, and in the read-only box that shows the program's
        // own text, the box's own editing takes them.
        if (QAction *command = commandFor(static_cast<QKeyEvent *>(event));
            command && command->isEnabled() && !m_commentsBox->isReadOnly()) {
            event->ignore();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
