#pragma once

#include "tutorfileclaim.h"

#include <QStringList>

// The claim on the tutor file in tests: answers `outcome` and keeps what it was given.
class FakeFileClaim : public suite::TutorFileClaim
{
public:
    Outcome claim(const QString &tutorFile, std::function<void()> comeForward) override
    {
        claimed.append(tutorFile);
        this->comeForward = std::move(comeForward);
        return outcome;
    }

    Outcome outcome = Outcome::Ours;
    QStringList claimed;
    std::function<void()> comeForward;
};
