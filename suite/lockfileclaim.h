#pragma once

#include "tutorfileclaim.h"

#include <QLockFile>

#include <memory>

namespace suite {

class MessageEndpoint;

// The claim as a lock file named after the file (a hash of its canonical path) in `folder`,
// broken only when the process that holds it has ended.
class LockFileClaim : public TutorFileClaim
{
public:
    explicit LockFileClaim(QString folder);
    ~LockFileClaim() override;

    Outcome claim(const QString &tutorFile, std::function<void()> comeForward) override;

private:
    // Asks the form that holds the claim (process `holder`) to come forward.
    bool askHolder(const QString &key, qint64 holder);

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<MessageEndpoint> m_endpoint; // where later forms ask for this one
};

} // namespace suite
