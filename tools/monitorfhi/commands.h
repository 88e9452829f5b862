#pragma once

#include <QString>
#include <QStringList>

constexpr int kExitClean = 0;    // no message was shown
constexpr int kExitMessages = 1; // the reader or the save showed messages
constexpr int kExitUsage = 2;    // usage or I/O error

QString usageText();

int runShow(const QStringList &args);
int runSet(const QStringList &args);
int runCheck(const QStringList &args);
