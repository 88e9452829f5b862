#pragma once

#include "messages.h"

#include <QStringList>

#include <utility>

namespace monitorfile {

// Holds the messages of a step that runs under the file's write lock, to be shown once the lock
// is let go: no other writer waits on a monitor reading a box.
class DeferredMessages : public MessagePresenter
{
public:
    MessageAnswer show(const QString &text, MessageButtons buttons = MessageButtons::Ok) override
    {
        Q_UNUSED(buttons); // only boxes with OK are ever deferred
        m_texts.append(text);
        return MessageAnswer::Ok;
    }
    void showTo(MessagePresenter &messages)
    {
        const QStringList texts = std::exchange(m_texts, {});
        for (const QString &text : texts)
            messages.show(text);
    }

private:
    QStringList m_texts;
};

} // namespace monitorfile
