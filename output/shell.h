#pragma once

#include <QString>

#include <memory>

class QWidget;

// The desktop's ways of opening a document in another program. Both return at once: the program
// that opens the file runs on its own, is not waited for, and a failure is not reported back.
class Shell
{
public:
    virtual ~Shell() = default;

    // Opens the file at path with the program the desktop associates with it. owner is the
    // window the desktop may place its own windows over; it may be null.
    virtual void openFile(const QString &path, QWidget *owner) = 0;

    // Lets the user choose the program that opens the file at path.
    virtual void openWith(const QString &path, QWidget *owner) = 0;
};

// The shell of the platform the program runs on.
std::unique_ptr<Shell> createPlatformShell();
