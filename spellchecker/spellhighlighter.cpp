#include "spellhighlighter.h"
#include "spellengine.h"

namespace spelling {

SpellHighlighter::SpellHighlighter(QObject *parent, std::function<SpellEngine *()> engine)
    : QSyntaxHighlighter(parent), m_engine(std::move(engine))
{
}

void SpellHighlighter::highlightBlock(const QString &text)
{
    const SpellEngine *engine = m_engine();
    if (!engine)
        return;
    QTextCharFormat underline;
    underline.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    underline.setUnderlineColor(Qt::red);
    for (const Problem &problem : engine->problems(text))
        setFormat(problem.start, problem.length, underline);
}

} // namespace spelling
