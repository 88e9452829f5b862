#include "recoverycopy.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

} // namespace

RecoveryStore::RecoveryStore(QString folder) : m_folder(std::move(folder)) {}

QString RecoveryStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/RERODODUREVIDEDAZIREZ/recovery");
}

QString RecoveryStore::pathFor(const QString &tutorFile) const
{
    const QByteArray hash =
        QCryptographicHash::hash(canonicalPath(tutorFile).toUtf8(), QCryptographicHash::Sha1);
    return m_folder + QStringLiteral("/monitor-") + QString::fromLatin1(hash.toHex()) +
           QStringLiteral(".json");
}

bool RecoveryStore::keep(const RecoveryCopy &copy, QString &error) const
{
    if (!QDir().mkpath(m_folder)) {
        error =
            QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(m_folder));
        return false;
    }
    QSaveFile file(pathFor(copy.tutorFile));
    if (!file.open(QIODevice::WriteOnly)) {
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
    QFile file(pathFor(tutorFile));
    if (file.size() > kLargestCopy || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    std::optional<RecoveryCopy> copy = fromJson(document.object());
    // A copy that names another file (a damaged or hand-made one) is not this file's.
    if (!copy || copy->tutorFile != canonicalPath(tutorFile))
        return std::nullopt;
    return copy;
}

void RecoveryStore::discard(const QString &tutorFile) const
{
    QFile::remove(pathFor(tutorFile));
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
