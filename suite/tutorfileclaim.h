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
        NotClaimed,     // no claim could be made (errorString says why): this form edits it
    };

    virtual ~TutorFileClaim();

    // Claims `tutorFile` for this form until the object is destroyed; calls `comeForward` from
    // the event loop when a later form on the same file asks for this one. NotClaimed when no
    // claim can be made at all (no private folder): a form opened twice beats none at all.
    virtual Outcome claim(const QString &tutorFile, std::function<void()> comeForward) = 0;
    // Why the last claim was NotClaimed.
    virtual QString errorString() const { return {}; }
};

// A lock file in a private folder of the user's own data, which no other user can take or block,
// whose holder a later form asks to come forward through the suite's messages (on Windows by the
// holder's window, elsewhere by a local socket of the holder's). The caller owns it.
std::unique_ptr<TutorFileClaim> createPlatformClaim();

} // namespace suite
