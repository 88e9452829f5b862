#pragma once

#include "messages.h"

// Counts the messages and answers as a monitor who always agrees. Keeping no texts keeps the
// runs fast.
class CountingMessages : public monitorfile::MessagePresenter
{
public:
    monitorfile::MessageAnswer show(const QString &text,
                                    monitorfile::MessageButtons buttons) override
    {
        Q_UNUSED(text);
        ++m_count;
        return buttons == monitorfile::MessageButtons::Ok ? monitorfile::MessageAnswer::Ok
                                                          : monitorfile::MessageAnswer::Yes;
    }

    int count() const { return m_count; }

private:
    int m_count = 0;
};
