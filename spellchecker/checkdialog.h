#pragma once

#include "spellengine.h"

#include <QDialog>
#include <QHash>
#include <QList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace spelling {

// The modal check of one text box, word by word from its start. Every correction is an edit of
// the box through a text cursor, so the box reports it as any typed change.
class CheckDialog : public QDialog
{
    Q_OBJECT

public:
    CheckDialog(SpellEngine &engine, QPlainTextEdit *box, QWidget *parent);

    // Moves to the next problem, correcting automatically on the way. False when the text holds
    // none: the check is over.
    bool findNext();
    const Problem &problem() const { return m_problem; }

private:
    // One replacement in the box, kept so that Undo can put it back.
    struct Edit
    {
        int start = 0;
        QString before;
        QString after;
        bool manual = false;
        QString changeAllWord; // set by Change All
        QString previousCorrection;
    };

    void buildControls();
    void showProblem();
    void continueFrom(int position);
    void replace(int start, int length, const QString &text, Edit edit);
    QString automaticChange(const QString &word) const;

    void ignore();
    void ignoreAll();
    void addWord();
    void change();
    void changeAll();
    void undo();
    void editOptions();

    SpellEngine &m_engine;
    QPlainTextEdit *m_box;
    Problem m_problem;
    int m_position = 0;
    QHash<QString, QString> m_changeAll; // this check's Change All choices
    QList<Edit> m_edits;

    QLabel *m_kind = nullptr;
    QLabel *m_context = nullptr;
    QLineEdit *m_changeTo = nullptr;
    QListWidget *m_suggestions = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_ignoreAll = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_changeAllButton = nullptr;
    QPushButton *m_undo = nullptr;
};

} // namespace spelling
