#pragma once

#include <QSyntaxHighlighter>

#include <functional>

namespace spelling {

class SpellEngine;

// Underlines each block's problems with the platform's spell-check underline. Only the edited
// block is looked at on a keystroke, and the engine remembers its answers; suggestions are never
// asked for here.
class SpellHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    SpellHighlighter(QObject *parent, std::function<SpellEngine *()> engine);

protected:
    void highlightBlock(const QString &text) override;

private:
    std::function<SpellEngine *()> m_engine;
};

} // namespace spelling
