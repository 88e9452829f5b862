#pragma once

#include "tutorfileclaim.h"

#include "fileoperations.h"

#include <memory>

namespace suite {

class MessageEndpoint;

// The claim as a lock file named after the file (a hash of its canonical path) in `folder`
// (made private to the user when missing), broken only when the process that holds it has ended.
class LockFileClaim : public TutorFileClaim
{
public:
    explicit LockFileClaim(QString folder);
    ~LockFileClaim() override;

    Outcome claim(const QString &tutorFile, std::function<void()> comeForward) override;
    QString errorString() const override { return m_error; }

private:
    // Asks the form that holds the claim (process `holder`) to come forward.
    bool askHolder(const QString &key, qint64 holder);

    QString m_folder;
    QString m_error;
    std::unique_ptr<monitorfile::WriteLock> m_lock;
    std::unique_ptr<MessageEndpoint> m_endpoint; // where later forms ask for this one
};

} // namespace suite
