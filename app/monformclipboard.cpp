// Cut, Copy and Paste: they act on the control the monitor works in (the comments box, or a
// grid's current cell), are enabled only while they can act there, never empty the clipboard
// for nothing, and mark the form changed only when its text changed.
#include "monformentry.h"

#include "monitorgrid.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenuBar>
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

} // namespace

void MonFormEntry::clipboardFocusChanged(QWidget *now)
{
    // Menus, the menu bar, popups, message boxes and other programs take the focus for a moment;
    // the control the focus comes back to was never left.
    if (!now || now->window() != this || qobject_cast<QMenuBar *>(now))
        return;
    if (now == m_txtMonitorComments) {
        m_clipboardTarget = now;
        followCommentsSelection();
        return;
    }
    // Leaving the box disables all three (a grid's left click enables Copy again); nothing is
    // cut from or pasted into a grid, nor anywhere else.
    const bool leftTheBox = m_clipboardTarget == m_txtMonitorComments;
    m_clipboardTarget = gridOf(now);
    if (leftTheBox || !m_clipboardTarget)
        setCopyEnabled(false);
    setCutEnabled(false);
    setPasteEnabled(false);
}

void MonFormEntry::followCommentsSelection()
{
    const bool selected = m_txtMonitorComments->textCursor().hasSelection();
    setCopyEnabled(selected);
    setCutEnabled(selected && !m_txtMonitorComments->isReadOnly());
    setPasteEnabled(canPaste());
}

bool MonFormEntry::canPaste() const
{
    return !m_txtMonitorComments->isReadOnly() && !QApplication::clipboard()->text().isEmpty();
}

void MonFormEntry::setCutEnabled(bool enabled)
{
    menuItem("mnuCut")->setEnabled(enabled);
    toolbarButton(3)->setEnabled(enabled);
}

void MonFormEntry::setPasteEnabled(bool enabled)
{
    menuItem("mnuPaste")->setEnabled(enabled);
    toolbarButton(5)->setEnabled(enabled);
}

QPlainTextEdit *MonFormEntry::editableCommentsTarget() const
{
    return m_clipboardTarget == m_txtMonitorComments && !m_txtMonitorComments->isReadOnly()
               ? m_txtMonitorComments
               : nullptr;
}

// The box's selected text; a grid's selected cells, or its current cell when none is selected.
QString MonFormEntry::textToCopy() const
{
    if (m_clipboardTarget == m_txtMonitorComments)
        return m_txtMonitorComments->textCursor().selectedText().replace(QChar::ParagraphSeparator,
                                                                         u'\n');
    auto *grid = qobject_cast<MonitorGrid *>(m_clipboardTarget.data());
    if (!grid)
        return {};
    const QString selected = grid->clipText();
    return selected.isEmpty() && grid->row() >= 0 ? grid->currentText() : selected;
}

void MonFormEntry::CopyToClipboard()
{
    if (const QString text = textToCopy(); !text.isEmpty())
        QApplication::clipboard()->setText(text);
}

bool MonFormEntry::CutToClipboard()
{
    QPlainTextEdit *box = editableCommentsTarget();
    if (!box || !box->textCursor().hasSelection())
        return false;
    CopyToClipboard();
    box->textCursor().removeSelectedText();
    return true;
}

bool MonFormEntry::PasteFromClipboard()
{
    QPlainTextEdit *box = editableCommentsTarget();
    const QString text = QApplication::clipboard()->text();
    if (!box || text.isEmpty())
        return false;
    const QString before = box->toPlainText();
    box->insertPlainText(text);
    return box->toPlainText() != before;
}

void MonFormEntry::mnuCopy_Click()
{
    CopyToClipboard();
}

void MonFormEntry::mnuCut_Click()
{
    if (CutToClipboard())
        MarkMonitorChanged();
    if (editableCommentsTarget())
        followCommentsSelection();
}

void MonFormEntry::mnuPaste_Click()
{
    if (PasteFromClipboard())
        MarkMonitorChanged();
    if (editableCommentsTarget())
        followCommentsSelection();
}
