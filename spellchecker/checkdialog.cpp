#include "checkdialog.h"
#include "optionsdialog.h"
#include "wordscanner.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

#include <algorithm>

namespace spelling {

namespace {

constexpr int kContextChars = 60;

QPushButton *addButton(QVBoxLayout *layout, const QString &caption, const char *name)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    layout->addWidget(button);
    return button;
}

} // namespace

CheckDialog::CheckDialog(SpellEngine &engine, QPlainTextEdit *box, QWidget *parent)
    : QDialog(parent), m_engine(engine), m_box(box)
{
    setWindowTitle(QStringLiteral("Spelling"));
    setModal(true);
    buildControls();
}

void CheckDialog::buildControls()
{
    auto *grid = new QGridLayout(this);
    m_kind = new QLabel(this);
    m_context = new QLabel(this);
    m_context->setObjectName(QStringLiteral("lbContext"));
    m_context->setWordWrap(true);
    m_context->setTextFormat(Qt::RichText);
    m_context->setMinimumWidth(320);
    m_context->setFrameShape(QFrame::StyledPanel);
    auto *changeLabel = new QLabel(QStringLiteral("C&hange to:"), this);
    m_changeTo = new QLineEdit(this);
    m_changeTo->setObjectName(QStringLiteral("txtChangeTo"));
    changeLabel->setBuddy(m_changeTo);
    auto *suggestionsLabel = new QLabel(QStringLiteral("Su&ggestions:"), this);
    m_suggestions = new QListWidget(this);
    m_suggestions->setObjectName(QStringLiteral("lstSuggestions"));
    suggestionsLabel->setBuddy(m_suggestions);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lbStatus"));
    m_status->setWordWrap(true);

    grid->addWidget(m_kind, 0, 0);
    grid->addWidget(m_context, 1, 0);
    grid->addWidget(changeLabel, 2, 0);
    grid->addWidget(m_changeTo, 3, 0);
    grid->addWidget(suggestionsLabel, 4, 0);
    grid->addWidget(m_suggestions, 5, 0);
    grid->addWidget(m_status, 6, 0, 1, 2);

    auto *buttons = new QVBoxLayout;
    connect(addButton(buttons, QStringLiteral("&Ignore"), "cmdIgnore"), &QPushButton::clicked, this,
            &CheckDialog::ignore);
    m_ignoreAll = addButton(buttons, QStringLiteral("Ignore A&ll"), "cmdIgnoreAll");
    connect(m_ignoreAll, &QPushButton::clicked, this, &CheckDialog::ignoreAll);
    m_add = addButton(buttons, QStringLiteral("A&dd"), "cmdAdd");
    connect(m_add, &QPushButton::clicked, this, &CheckDialog::addWord);
    m_change = addButton(buttons, QStringLiteral("&Change"), "cmdChange");
    m_change->setDefault(true);
    connect(m_change, &QPushButton::clicked, this, &CheckDialog::change);
    m_changeAllButton = addButton(buttons, QStringLiteral("Change &All"), "cmdChangeAll");
    connect(m_changeAllButton, &QPushButton::clicked, this, &CheckDialog::changeAll);
    m_undo = addButton(buttons, QStringLiteral("&Undo"), "cmdUndo");
    connect(m_undo, &QPushButton::clicked, this, &CheckDialog::undo);
    connect(addButton(buttons, QStringLiteral("&Options..."), "cmdOptions"), &QPushButton::clicked,
            this, &CheckDialog::editOptions);
    connect(addButton(buttons, QStringLiteral("Cancel"), "cmdCancel"), &QPushButton::clicked, this,
            &QDialog::reject);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 1, 6, 1);

    connect(m_suggestions, &QListWidget::currentTextChanged, m_changeTo, &QLineEdit::setText);
    connect(m_suggestions, &QListWidget::itemDoubleClicked, this, &CheckDialog::change);
}

QString CheckDialog::automaticChange(const QString &word) const
{
    if (const auto chosen = m_changeAll.constFind(word); chosen != m_changeAll.constEnd())
        return *chosen;
    if (const auto lower = m_changeAll.constFind(word.toLower()); lower != m_changeAll.constEnd())
        return matchCase(word, *lower);
    return m_engine.options().on(Option::AutoCorrect) ? m_engine.correctionFor(word) : QString();
}

bool CheckDialog::findNext()
{
    for (;;) {
        m_problem = m_engine.findProblem(m_box->toPlainText(), m_position);
        if (m_problem.kind == Problem::None)
            return false;
        const QString replacement =
            m_problem.kind == Problem::Unknown ? automaticChange(m_problem.word) : QString();
        if (replacement.isEmpty())
            break;
        replace(m_problem.start, m_problem.length, replacement, {});
        m_position = m_problem.start + int(replacement.size());
    }
    showProblem();
    return true;
}

void CheckDialog::showProblem()
{
    const bool unknown = m_problem.kind == Problem::Unknown;
    m_kind->setText(unknown ? QStringLiteral("Not in the dictionary:")
                            : QStringLiteral("Repeated word:"));
    const QString text = m_box->toPlainText();
    const int from = qMax(0, m_problem.start - kContextChars);
    const int to = qMin(int(text.size()), m_problem.end() + kContextChars);
    const auto escaped = [&](int start, int end) {
        return text.mid(start, end - start).toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"));
    };
    m_context->setText(escaped(from, m_problem.start) +
                       QStringLiteral("<b><font color=\"#c00000\">") +
                       escaped(m_problem.start, m_problem.end()) + QStringLiteral("</font></b>") +
                       escaped(m_problem.end(), to));

    m_suggestions->clear();
    m_changeTo->clear();
    if (unknown) {
        const QStringList suggestions = m_engine.suggestions(m_problem.word);
        m_suggestions->addItems(suggestions);
        if (suggestions.isEmpty())
            m_changeTo->setText(m_problem.word);
        else
            m_suggestions->setCurrentRow(0);
    }
    m_change->setText(unknown ? QStringLiteral("&Change") : QStringLiteral("&Delete"));
    for (QPushButton *button : {m_ignoreAll, m_add, m_changeAllButton})
        button->setEnabled(unknown);
    m_undo->setEnabled(std::any_of(m_edits.cbegin(), m_edits.cend(),
                                   [](const Edit &edit) { return edit.manual; }));

    // The monitor sees the word in the box too.
    QTextCursor cursor(m_box->document());
    cursor.setPosition(m_problem.start);
    cursor.setPosition(m_problem.end(), QTextCursor::KeepAnchor);
    m_box->setTextCursor(cursor);
    m_box->ensureCursorVisible();
    m_changeTo->setFocus();
}

void CheckDialog::continueFrom(int position)
{
    m_position = position;
    if (!findNext())
        accept();
}

void CheckDialog::replace(int start, int length, const QString &text, Edit edit)
{
    QTextCursor cursor(m_box->document());
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    edit.start = start;
    edit.before = cursor.selectedText();
    edit.after = text;
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    m_edits.append(edit);
}

void CheckDialog::ignore()
{
    m_status->clear();
    continueFrom(m_problem.end());
}

void CheckDialog::ignoreAll()
{
    m_status->clear();
    m_engine.ignoreAll(m_problem.word);
    continueFrom(m_problem.start);
}

void CheckDialog::addWord()
{
    QString error;
    m_status->setText(m_engine.addUserWord(m_problem.word, error)
                          ? QString()
                          : QStringLiteral("\"%1\" is known until the program ends, but could not "
                                           "be stored in the user word list: %2")
                                .arg(m_problem.word, error));
    continueFrom(m_problem.start);
}

void CheckDialog::change()
{
    m_status->clear();
    Edit edit;
    edit.manual = true;
    if (m_problem.kind == Problem::Doubled) {
        replace(m_problem.deleteFrom, m_problem.end() - m_problem.deleteFrom, QString(), edit);
        continueFrom(m_problem.deleteFrom);
        return;
    }
    const QString replacement = m_changeTo->text();
    replace(m_problem.start, m_problem.length, replacement, edit);
    continueFrom(m_problem.start + int(replacement.size()));
}

void CheckDialog::changeAll()
{
    const QString replacement = m_changeTo->text();
    Edit edit;
    edit.manual = true;
    edit.changeAllWord = m_problem.word;
    edit.previousCorrection = m_engine.correctionFor(m_problem.word);
    m_changeAll.insert(m_problem.word, replacement);
    QString error;
    m_status->setText(
        m_engine.setCorrection(m_problem.word, replacement, error)
            ? QString()
            : QStringLiteral("The correction could not be stored for later checks: %1").arg(error));
    replace(m_problem.start, m_problem.length, replacement, edit);
    continueFrom(m_problem.start + int(replacement.size()));
}

void CheckDialog::undo()
{
    // Automatic corrections made after the last change go back with it; the check meets them
    // again.
    while (!m_edits.isEmpty()) {
        const Edit edit = m_edits.takeLast();
        QTextCursor cursor(m_box->document());
        cursor.setPosition(edit.start);
        cursor.setPosition(edit.start + int(edit.after.size()), QTextCursor::KeepAnchor);
        cursor.beginEditBlock();
        cursor.insertText(edit.before);
        cursor.endEditBlock();
        if (!edit.changeAllWord.isEmpty()) {
            m_changeAll.remove(edit.changeAllWord);
            QString error;
            m_engine.setCorrection(edit.changeAllWord, edit.previousCorrection, error);
        }
        if (edit.manual) {
            m_status->clear();
            continueFrom(edit.start);
            return;
        }
    }
}

void CheckDialog::editOptions()
{
    OptionsDialog dialog(m_engine.options(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_engine.setOptions(dialog.options());
    // The word shown may pass now, or its suggestions differ.
    continueFrom(m_problem.kind == Problem::Doubled ? m_problem.deleteFrom : m_problem.start);
}

} // namespace spelling
