#pragma once

#include "processlist.h"

#include <QStringList>

#include <utility>

// A process list the test writes: `names` is what the system would report, in its order.
class FakeProcessList : public suite::ProcessList
{
public:
    FakeProcessList() = default;
    explicit FakeProcessList(QStringList processNames) : names(std::move(processNames)) {}

    QStringList executableNames() const override
    {
        ++calls;
        return names;
    }

    QStringList names;
    mutable int calls = 0; // how often a list was taken
};
