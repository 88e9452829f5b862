// The comments box's change marking, and the edit commands wired to the controls they serve.
#include "monformentry.h"

#include <QAction>
#include <QPlainTextEdit>

void MonFormEntry::connectCommentsBox()
{
    connect(m_commentsBox, &QPlainTextEdit::textChanged, this, [this] {
        // The display's own filling during start-up is not an edit.
        if (m_formLoaded)
            MarkMonitorChanged();
    });
}

void MonFormEntry::connectEditCommands()
{
    m_editCommands = std::make_unique<EditCommands>(
        m_commentsBox, m_studentGrid, m_criteriaGrid,
        EditCommands::Controls{menuItem("mnuCut"), toolbarButton(3)},
        EditCommands::Controls{menuItem("mnuCopy"), toolbarButton(4)},
        EditCommands::Controls{menuItem("mnuPaste"), toolbarButton(5)},
        [this] { MarkMonitorChanged(); });
    connect(menuItem("mnuCut"), &QAction::triggered, m_editCommands.get(), &EditCommands::cut);
    connect(menuItem("mnuCopy"), &QAction::triggered, m_editCommands.get(), &EditCommands::copy);
    connect(menuItem("mnuPaste"), &QAction::triggered, m_editCommands.get(), &EditCommands::paste);
}
