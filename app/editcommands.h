#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class MonitorGrid;
class QAction;
class QKeyEvent;
class QPlainTextEdit;
class QWidget;

// Cut, Copy and Paste: they act on the control the monitor works in (the comments box, or a
// grid's current cell), are enabled only while they can act there, never empty the clipboard
// for nothing, and mark the form changed only when its text changed.
class EditCommands : public QObject
{
    Q_OBJECT

public:
    // A command's menu item and toolbar button, enabled together.
    struct Controls
    {
        QAction *menuItem = nullptr;
        QAction *button = nullptr;
    };

    // The widgets and actions belong to the window, which must outlive this object.
    EditCommands(QPlainTextEdit *commentsBox, MonitorGrid *studentGrid, MonitorGrid *criteriaGrid,
                 Controls cut, Controls copy, Controls paste, std::function<void()> markChanged);

    void CopyToClipboard();
    // True when the comments changed.
    bool CutToClipboard();
    bool PasteFromClipboard();

public slots:
    // The commands as the menu, the toolbar and the keys give them.
    void cut();
    void copy();
    void paste();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followFocus(QWidget *now);
    void followCommentsSelection();
    bool canPaste() const;
    QPlainTextEdit *editableCommentsTarget() const;
    QString textToCopy() const;
    QAction *commandFor(const QKeyEvent *key) const;

    QPlainTextEdit *m_commentsBox;
    Controls m_cut;
    Controls m_copy;
    Controls m_paste;
    std::function<void()> m_markChanged;
    // What the commands act on: the comments box, a grid, or nothing.
    QPointer<QWidget> m_target;
};
