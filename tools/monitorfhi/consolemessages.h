#pragma once

#include "messages.h"

#include <QStringList>

// Keeps every message shown and, when asked to, writes each to stderr as one line.
class ConsoleMessages : public monitorfile::MessagePresenter
{
public:
    explicit ConsoleMessages(bool echo) : m_echo(echo) {}

    monitorfile::MessageAnswer show(const QString &text,
                                    monitorfile::MessageButtons buttons) override;

    QStringList texts;

private:
    bool m_echo;
};

// Prints one line on stderr, line breaks inside it turned into blanks.
void printError(const QString &text);
