#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;
class Shell;

// "View Previous Monitor Form's": the previous monitor forms in the tutor folder, each opened
// with the program the desktop associates with it or with one the monitor chooses. Modeless;
// the folder is listed once, when the window is made, and the window discards itself on close.
class frmViewPreviousMonitorForms : public QWidget
{
    Q_OBJECT

public:
    // tutorFolderPath is the suite's folder text ("\" between names, no trailing "\"); shell
    // must outlive the window.
    frmViewPreviousMonitorForms(const QString &tutorFolderPath, Shell &shell,
                                QWidget *parent = nullptr);

    // The tutor folder followed by "\", as the suite writes it.
    const QString &CompanionFolderPath() const { return m_companionFolderPath; }
    // CompanionFolderPath followed by name, as a path of this platform.
    QString fullPath(const QString &name) const;

    QListWidget *lstTable() const { return m_lstTable; }
    QPushButton *cmdOpen() const { return m_cmdOpen; }
    QPushButton *cmdOpenWith() const { return m_cmdOpenWith; }
    QPushButton *cmdCancel() const { return m_cmdCancel; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load(const QString &tutorFolderPath);
    void widenButtonsForCaptions();
    void Form_Resize();
    void lstTable_Click();
    void cmdOpen_Click();
    void cmdOpenWith_Click();
    QString selectedPath() const;

    Shell &m_shell;
    QString m_companionFolderPath;
    QListWidget *m_lstTable;
    QPushButton *m_cmdOpen;
    QPushButton *m_cmdOpenWith;
    QPushButton *m_cmdCancel;
    int m_buttonGrowth = 0; // pixels the buttons are wider than designed
};
