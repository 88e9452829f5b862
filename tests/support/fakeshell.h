#pragma once

#include "shell.h"

#include <QList>
#include <QPointer>
#include <QWidget>

// A shell that opens nothing and records what it was asked to open, with which owner.
class FakeShell : public Shell
{
public:
    enum class Operation { Open, OpenWith };

    struct Call
    {
        Operation operation;
        QString path;
        QPointer<QWidget> owner;
    };

    void openFile(const QString &path, QWidget *owner) override
    {
        calls.append({Operation::Open, path, owner});
    }

    void openWith(const QString &path, QWidget *owner) override
    {
        calls.append({Operation::OpenWith, path, owner});
    }

    QList<Call> calls;
};
