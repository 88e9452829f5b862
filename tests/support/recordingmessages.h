#pragma once

#include "messages.h"

#include <QList>
#include <QStringList>

#include <functional>

// Records every message text and answers from a script (Ok, or Yes when nothing is scripted).
class RecordingMessages : public monitorfile::MessagePresenter
{
public:
    monitorfile::MessageAnswer show(const QString &text,
                                    monitorfile::MessageButtons buttons) override
    {
        texts.append(text);
        if (onShow)
            onShow();
        if (buttons == monitorfile::MessageButtons::Ok)
            return monitorfile::MessageAnswer::Ok;
        return answers.isEmpty() ? monitorfile::MessageAnswer::Yes : answers.takeFirst();
    }

    QStringList texts;
    std::function<void()> onShow; // looks at the world while the box would be up
    QList<monitorfile::MessageAnswer> answers;
};
