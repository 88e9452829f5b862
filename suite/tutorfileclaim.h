#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace suite {

// One form at a time edits a tutor monitoring file: a second form started on the same file
// brings the first forward and ends, so that two editors never overwrite each other's work.
class TutorFileClaim
{
public:
    enum class Outcome {
        Ours,           // this form edits the file
        BroughtForward, // a running form has it and came forward
        HeldElsewhere,  // a running form has it and could not be reached
    };

    virtual ~TutorFileClaim();

    // Claims `tutorFile` for this form until the object is destroyed; calls `comeForward` from
    // the event loop when a later form on the same file asks for this one. Ours too when no
    // claim can be checked at all (no private folder): a form opened twice beats none at all.
    virtual Outcome claim(const QString &tutorFile, std::function<void()> comeForward) = 0;
};

// A lock file in the user's private folder, whose holder a later form asks to come forward
// through the suite's messages (on Windows by the holder's window, elsewhere by a local socket of
// the holder's). The caller owns it.
std::unique_ptr<TutorFileClaim> createPlatformClaim();

} // namespace suite
