// The companion documents of the tutor folder: the previous monitor forms window and the
// monitor comments document.
#include "monformentry.h"

#include "commentsdocument.h"
#include "previousformswindow.h"
#include "shell.h"
#include "suitepath.h"

void MonFormEntry::showPreviousMonitorForms()
{
    // While the window is open it is only brought forward: its list stays as it was made.
    if (!m_previousForms) {
        m_previousForms =
            new frmViewPreviousMonitorForms(m_tutorFolderPath, m_platform.shell, this);
    }
    if (m_previousForms->isMinimized())
        m_previousForms->showNormal();
    m_previousForms->show();
    m_previousForms->raise();
    m_previousForms->activateWindow();
}

void MonFormEntry::mnuViewMonitorCommentsWindow_Click()
{
    const QString path =
        monitorfile::suiteFilePath(m_tutorFolderPath, QStringLiteral("\\monitor_comments.rtf"));
    QString error;
    if (createEmptyDocument(path, error) == DocumentCreation::Failed) {
        // Opening a document that is not there would fail without a word.
        m_platform.messages.show(commentsDocumentNotCreated(path, error));
        return;
    }
    m_platform.shell.openFile(path, this);
}
