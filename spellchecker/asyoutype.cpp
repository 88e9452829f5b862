#include "asyoutype.h"
#include "spellengine.h"
#include "spellhighlighter.h"

#include <QEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>

namespace spelling {

namespace {

constexpr int kMostSuggestions = 8;

// Replaces [start, end) of the document as one edit the box reports like typing.
void replaceText(QPlainTextEdit *box, int start, int end, const QString &text)
{
    QTextCursor cursor(box->document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
}

} // namespace

AsYouType::AsYouType(QPlainTextEdit *box, std::function<SpellEngine *()> engine)
    : QObject(box), m_box(box),
      // A read-only box shows the program's own text, not the monitor's: nothing to check.
      m_engine(
          [box, engine = std::move(engine)] { return box->isReadOnly() ? nullptr : engine(); }),
      m_highlighter(new SpellHighlighter(this, m_engine))
{
    m_highlighter->setDocument(box->document());
    box->installEventFilter(this);
    // Takes the place of the highlighter's own first pass, which would come later unguarded.
    refresh();
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box, &QWidget::customContextMenuRequested, this, &AsYouType::showContextMenu);
}

void AsYouType::refresh()
{
    // Rehighlighting ends an edit block of its own, and the box reports that as a text change:
    // underlining is not an edit, so the box stays silent meanwhile.
    const QSignalBlocker silent(m_box);
    m_highlighter->rehighlight();
}

bool AsYouType::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_box && event->type() == QEvent::ReadOnlyChange)
        refresh();
    return QObject::eventFilter(watched, event);
}

QMenu *AsYouType::createContextMenu(const QPoint &pos)
{
    QMenu *menu = m_box->createStandardContextMenu(pos);
    SpellEngine *engine = m_engine();
    if (!engine)
        return menu;
    const QTextCursor at = m_box->cursorForPosition(pos);
    const QTextBlock block = at.block();
    const int inBlock = at.position() - block.position();
    Problem problem;
    for (const Problem &candidate : engine->problems(block.text())) {
        if (candidate.start <= inBlock && inBlock <= candidate.end()) {
            problem = candidate;
            break;
        }
    }
    if (problem.kind == Problem::None)
        return menu;

    QAction *first = menu->actions().value(0);
    QList<QAction *> entries;
    const int start = block.position() + problem.start;
    const int end = block.position() + problem.end();
    if (problem.kind == Problem::Doubled) {
        auto *remove = new QAction(QStringLiteral("Delete Repeated Word"), menu);
        const int from = block.position() + problem.deleteFrom;
        connect(remove, &QAction::triggered, this,
                [this, from, end] { replaceText(m_box, from, end, QString()); });
        entries.append(remove);
    } else {
        // The one place suggestions are computed outside the check: on request, not typing.
        const QStringList suggestions = engine->suggestions(problem.word);
        for (const QString &suggestion : suggestions.mid(0, kMostSuggestions)) {
            auto *use = new QAction(suggestion, menu);
            QFont bold = use->font();
            bold.setBold(true);
            use->setFont(bold);
            connect(use, &QAction::triggered, this,
                    [this, start, end, suggestion] { replaceText(m_box, start, end, suggestion); });
            entries.append(use);
        }
        if (suggestions.isEmpty()) {
            auto *none = new QAction(QStringLiteral("(no suggestions)"), menu);
            none->setEnabled(false);
            entries.append(none);
        }
        auto *ignore = new QAction(QStringLiteral("Ignore All"), menu);
        connect(ignore, &QAction::triggered, this, [this, word = problem.word] {
            if (SpellEngine *e = m_engine()) {
                e->ignoreAll(word);
                refresh();
            }
        });
        entries.append(ignore);
        auto *add = new QAction(QStringLiteral("Add to Dictionary"), menu);
        add->setObjectName(QStringLiteral("actAddToDictionary"));
        connect(add, &QAction::triggered, this, [this, word = problem.word] {
            if (SpellEngine *e = m_engine()) {
                QString error;
                e->addUserWord(word, error); // known at once even when the list is not written
                refresh();
            }
        });
        entries.append(add);
    }
    menu->insertActions(first, entries);
    menu->insertSeparator(first);
    return menu;
}

void AsYouType::showContextMenu(const QPoint &pos)
{
    QMenu *menu = createContextMenu(pos);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_box->viewport()->mapToGlobal(pos));
}

} // namespace spelling
