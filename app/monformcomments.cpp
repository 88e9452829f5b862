// The comments box: change marking, the clipboard commands' enabled state, and the clipboard.
#include "monformentry.h"

#include "monitorgrid.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>

void MonFormEntry::connectCommentsBox()
{
    connect(m_txtMonitorComments, &QPlainTextEdit::textChanged, this, [this] {
        // The display's own filling during start-up is not an edit.
        if (m_formLoaded)
            MarkMonitorChanged();
    });
    m_txtMonitorComments->installEventFilter(this);
    m_txtMonitorComments->viewport()->installEventFilter(this);
}

QAction *MonFormEntry::clipboardCommandFor(const QKeyEvent *key) const
{
    const QKeySequence pressed(key->keyCombination());
    for (const char *name : {"mnuCut", "mnuCopy", "mnuPaste"}) {
        if (QAction *command = menuItem(name); command->shortcut() == pressed)
            return command;
    }
    return nullptr;
}

bool MonFormEntry::eventFilter(QObject *watched, QEvent *event)
{
    const bool box = watched == m_txtMonitorComments ||
                     (m_txtMonitorComments && watched == m_txtMonitorComments->viewport());
    if (!box)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn: {
        // Back from a menu or a popup the box was never left; back from another program, the
        // clipboard may hold something new.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason)
            break;
        const bool clipboardHasText = !QApplication::clipboard()->text().isEmpty();
        menuItem("mnuPaste")->setEnabled(clipboardHasText);
        toolbarButton(5)->setEnabled(clipboardHasText);
        break;
    }
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease: {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            break;
        const bool selected = m_txtMonitorComments->textCursor().hasSelection();
        menuItem("mnuCopy")->setEnabled(selected);
        menuItem("mnuCut")->setEnabled(selected);
        toolbarButton(4)->setEnabled(selected);
        toolbarButton(3)->setEnabled(selected);
        if (selected) {
            menuItem("mnuPaste")->setEnabled(true);
            toolbarButton(5)->setEnabled(true);
        }
        break;
    }
    case QEvent::ShortcutOverride:
        // Ctrl+X, Ctrl+C and Ctrl+V are the Edit menu's while its item is enabled, so that they
        // do all the command does; otherwise, and in the read-only box that shows the program's
        // own text, the box's own editing takes them.
        if (QAction *command = clipboardCommandFor(static_cast<QKeyEvent *>(event));
            command && command->isEnabled() && !m_txtMonitorComments->isReadOnly()) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::FocusOut:
        // Opening a menu, the menu bar or a popup, or going to another window, does not leave
        // the box for another control of the form: the commands stay as they are.
        switch (static_cast<QFocusEvent *>(event)->reason()) {
        case Qt::PopupFocusReason:
        case Qt::MenuBarFocusReason:
        case Qt::ActiveWindowFocusReason:
            return QMainWindow::eventFilter(watched, event);
        default:
            break;
        }
        for (const int button : {3, 4, 5})
            toolbarButton(button)->setEnabled(false);
        for (const char *name : {"mnuCut", "mnuCopy", "mnuPaste"})
            menuItem(name)->setEnabled(false);
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

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

} // namespace

void MonFormEntry::CopyToClipboard()
{
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->clear();
    QWidget *focused = QApplication::focusWidget();
    if (auto *box = qobject_cast<QPlainTextEdit *>(focused))
        clipboard->setText(
            box->textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n'));
    else if (auto *line = qobject_cast<QLineEdit *>(focused); line && !gridOf(line))
        clipboard->setText(line->selectedText());
    else if (MonitorGrid *grid = gridOf(focused))
        clipboard->setText(grid->clipText());
}

void MonFormEntry::CutToClipboard()
{
    CopyToClipboard();
    QWidget *focused = QApplication::focusWidget();
    // A read-only box shows the program's own text: copied, never changed.
    if (auto *box = qobject_cast<QPlainTextEdit *>(focused); box && !box->isReadOnly())
        box->textCursor().removeSelectedText();
    else if (auto *line = qobject_cast<QLineEdit *>(focused); line && !gridOf(line))
        line->del();
}

void MonFormEntry::PasteFromClipboard()
{
    const QString text = QApplication::clipboard()->text();
    QWidget *focused = QApplication::focusWidget();
    if (auto *box = qobject_cast<QPlainTextEdit *>(focused); box && !box->isReadOnly())
        box->insertPlainText(text);
    else if (auto *line = qobject_cast<QLineEdit *>(focused))
        line->insert(text);
}

void MonFormEntry::mnuCopy_Click()
{
    CopyToClipboard();
}

void MonFormEntry::mnuCut_Click()
{
    CutToClipboard();
    MarkMonitorChanged();
}

void MonFormEntry::mnuPaste_Click()
{
    PasteFromClipboard();
    MarkMonitorChanged();
}
