// The comments box: change marking and the keys of the clipboard commands.
#include "monformentry.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
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
    m_applicationConnections = {
        connect(qApp, &QApplication::focusChanged, this,
                [this](QWidget *, QWidget *now) { clipboardFocusChanged(now); }),
        connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
            if (QApplication::focusWidget() == m_txtMonitorComments)
                setPasteEnabled(canPaste());
        })};
}

MonFormEntry::~MonFormEntry()
{
    // Hiding the window on its way out moves the focus, after this part of it has gone.
    for (const QMetaObject::Connection &connection : m_applicationConnections)
        disconnect(connection);
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
        if (QAction *command = clipboardCommandFor(static_cast<QKeyEvent *>(event));
            command && command->isEnabled() && !m_txtMonitorComments->isReadOnly()) {
            event->ignore();
            return true;
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}
