#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class QMenu;
class QPlainTextEdit;

namespace spelling {

class SpellEngine;
class SpellHighlighter;

// Underlining in one text box while the monitor types, and the box's context menu with the
// suggestions for the word under the mouse. A child of the box.
class AsYouType : public QObject
{
    Q_OBJECT

public:
    // `engine` answers null when no dictionary can be loaded: nothing is underlined then, nor
    // while the box is read-only.
    AsYouType(QPlainTextEdit *box, std::function<SpellEngine *()> engine);

    // Underlines afresh after the options or the word lists changed; not an edit of the text.
    void refresh();
    // The box's own menu, with the spelling entries for the word at `pos` (viewport
    // coordinates) on top. The caller owns it.
    QMenu *createContextMenu(const QPoint &pos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showContextMenu(const QPoint &pos);

    QPlainTextEdit *m_box;
    std::function<SpellEngine *()> m_engine;
    SpellHighlighter *m_highlighter;
};

} // namespace spelling
