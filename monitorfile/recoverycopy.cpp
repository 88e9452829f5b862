#include "recoverycopy.h"

#include "privatefolder.h"
#include "writelock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>

namespace monitorfile {

namespace {

// Copies far larger than any form are not ours to read.
constexpr qint64 kLargestCopy = 16 * 1024 * 1024;

QString key(const char *name)
{
    return QString::fromLatin1(name);
}

// The same file reached by another spelling of its path has the same copy.
QString canonicalPath(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(path).absoluteFilePath() : canonical;
}

QJsonObject toJson(const RecoveryCopy &copy)
{
    QJsonArray flags;
    for (const QString &flag : copy.values.flags)
        flags.append(flag);
    QJsonArray students;
    for (const StudentGrading &s : copy.values.students) {
        students.append(QJsonObject{{key("personalId"), s.personalId},
                                    {key("marking"), s.marking},
                                    {key("summaryFeedback"), s.summaryFeedback},
                                    {key("scriptComments"), s.scriptComments}});
    }
    return {{key("tutorFile"), canonicalPath(copy.tutorFile)},
            {key("keptAt"), copy.keptAt.toString(Qt::ISODate)},
            {key("comments"), copy.values.comments},
            {key("flags"), flags},
            {key("students"), students}};
}

std::optional<RecoveryCopy> fromJson(const QJsonObject &object)
{
    const QJsonArray flags = object.value(key("flags")).toArray();
    if (flags.size() != kFlagCount || !object.value(key("comments")).isString())
        return std::nullopt;
    RecoveryCopy copy;
    copy.tutorFile = object.value(key("tutorFile")).toString();
    copy.keptAt = QDateTime::fromString(object.value(key("keptAt")).toString(), Qt::ISODate);
    copy.values.comments = object.value(key("comments")).toString();
    for (int i = 0; i < kFlagCount; ++i)
        copy.values.flags[i] = flags.at(i).toString();
    const QJsonArray students = object.value(key("students")).toArray();
    for (const QJsonValue &value : students) {
        const QJsonObject s = value.toObject();
        copy.values.students.push_back({s.value(key("personalId")).toString(),
                                        s.value(key("marking")).toString(),
                                        s.value(key("summaryFeedback")).toString(),
                                        s.value(key("scriptComments")).toString()});
    }
    return copy;
}

QString copyPrefix(const QString &tutorFile)
{
    const QByteArray hash =
        QCryptographicHash::hash(canonicalPath(tutorFile).toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("monitor-") + QString::fromLatin1(hash.toHex());
}

QString lockPathFor(const QString &copyPath)
{
    return copyPath.chopped(int(sizeof(".json") - 1)) + QStringLiteral(".lock");
}

std::optional<RecoveryCopy> readCopy(const QString &path, const QString &tutorFile)
{
    QFile file(path);
    if (file.size() > kLargestCopy || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    std::optional<RecoveryCopy> copy = fromJson(document.object());
    // A copy that names another file (a damaged or hand-made one) is not this file's.
    if (!copy || copy->tutorFile != canonicalPath(tutorFile))
        return std::nullopt;
    return copy;
}

} // namespace

RecoveryStore::RecoveryStore(QString folder)
    : m_folder(std::move(folder)),
      m_instance(QString::number(QRandomGenerator::system()->generate64(), 16))
{
}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/RERODODUREVIDEDAZIREZ/recovery");
}

QString RecoveryStore::pathFor(const QString &tutorFile) const
{
    // Copies kept before each form had its own carry no instance; they are taken over as such.
    return m_folder + u'/' + copyPrefix(tutorFile) +
           (m_instance.isEmpty() ? QString() : u'-' + m_instance) + QStringLiteral(".json");
}

bool RecoveryStore::keep(const RecoveryCopy &copy, QString &error)
{
    if (!makePrivateFolder(m_folder, error))
        return false;
    const QString path = pathFor(copy.tutorFile);
    // Held before the copy exists, so that no form starting meanwhile takes it for an orphan.
    if (!m_owner) {
        qint64 holder = 0;
        m_owner = processLockAt(lockPathFor(path), holder, error);
        if (!m_owner) {
            if (error.isEmpty())
                error = QStringLiteral("cannot lock %1").arg(QDir::toNativeSeparators(path));
            return false;
        }
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    // The user's alone whatever the umask (and whatever mode an older copy had, which QSaveFile
    // would keep): it holds students' grades and the monitor's comments.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        error = file.errorString();
        return false;
    }
    file.write(QJsonDocument(toJson(copy)).toJson(QJsonDocument::Indented));
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

std::optional<RecoveryCopy> RecoveryStore::find(const QString &tutorFile) const
{
    return readCopy(pathFor(tutorFile), tutorFile);
}

void RecoveryStore::discard(const QString &tutorFile)
{
    QFile::remove(pathFor(tutorFile));
    releaseOwnership();
}

std::optional<RecoveryCopy> RecoveryStore::takeOrphan(const QString &tutorFile)
{
    // Nothing is read from a folder that is not the user's own; one of ours left open by an older
    // release is closed first.
    QString reason;
    if (!QFileInfo::exists(m_folder) || !makePrivateFolder(m_folder, reason))
        return std::nullopt;
    const QString own = pathFor(tutorFile);
    for (const QString &path : copyPathsOf(tutorFile)) {
        // A copy taken once and not deletable (a read-only disk) is not offered again and again.
        if (path == own || m_taken.contains(path))
            continue;
        // Only a lock of a process that has ended is broken, however old.
        qint64 holder = 0;
        QString ignored;
        std::unique_ptr<WriteLock> owner = processLockAt(lockPathFor(path), holder, ignored);
        if (!owner)
            continue; // its form still runs: the work is that form's
        std::optional<RecoveryCopy> copy = readCopy(path, tutorFile);
        if (!copy)
            continue; // damaged: left where it is, and the lock released with `owner`
        releaseOwnership();
        m_owner = std::move(owner);
        m_taken.append(path);
        const QString name = QFileInfo(path).completeBaseName();
        m_instance = name.mid(copyPrefix(tutorFile).size() + 1);
        return copy;
    }
    return std::nullopt;
}

std::vector<RecoveryCopy> RecoveryStore::allCopiesOf(const QString &tutorFile) const
{
    std::vector<RecoveryCopy> copies;
    for (const QString &path : copyPathsOf(tutorFile)) {
        if (std::optional<RecoveryCopy> copy = readCopy(path, tutorFile))
            copies.push_back(*copy);
    }
    return copies;
}

QStringList RecoveryStore::copyPathsOf(const QString &tutorFile) const
{
    const QString prefix = copyPrefix(tutorFile);
    const QStringList names =
        QDir(m_folder).entryList({prefix + QStringLiteral("*.json")}, QDir::Files, QDir::Time);
    QStringList paths;
    for (const QString &name : names) {
        // Another file's hash may begin with the same digits only if it is longer: never here,
        // but a name must be this prefix, then nothing or "-" and an instance.
        if (name.size() == prefix.size() + 5 || name.at(prefix.size()) == u'-')
            paths.append(m_folder + u'/' + name);
    }
    return paths;
}

void RecoveryStore::releaseOwnership()
{
    m_owner.reset(); // unlocks: removes the lock file
}

bool sameEntries(const MonitorFormValues &a, const MonitorFormValues &b)
{
    if (a.flags != b.flags || a.comments != b.comments || a.students.size() != b.students.size())
        return false;
    for (size_t i = 0; i < a.students.size(); ++i) {
        const StudentGrading &x = a.students[i];
        const StudentGrading &y = b.students[i];
        if (x.personalId != y.personalId || x.marking != y.marking ||
            x.summaryFeedback != y.summaryFeedback || x.scriptComments != y.scriptComments)
            return false;
    }
    return true;
}

} // namespace monitorfile
