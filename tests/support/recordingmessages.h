#pragma once

#include "messages.h"

#include <QList>
#include <QStringList>

// Records every message text and answers from a script (Ok, or Yes when nothing is scripted).
class RecordingMessages : public monitorfile::MessagePresenter
{
public:
    monitorfile::MessageAnswer show(const QString &text,
                                    monitorfile::MessageButtons buttons) override
    {
        texts.append(text);
        if (buttons == monitorfile::MessageButtons::Ok)
            return monitorfile::MessageAnswer::Ok;
        return answers.isEmpty() ? monitorfile::MessageAnswer::Yes : answers.takeFirst();
    }

    QStringList texts;
    QList<monitorfile::MessageAnswer> answers;
};
