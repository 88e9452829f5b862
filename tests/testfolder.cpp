#include "testfolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

QString TestFolder::path(const QString &name) const
{
    return name.isEmpty() ? m_dir.path() : m_dir.filePath(name);
}

QString TestFolder::write(const QString &name, const QByteArray &bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
    return file.fileName();
}

QByteArray TestFolder::read(const QString &name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing file>");
    return file.readAll();
}

QString TestFolder::copyFixture(const QString &fixtureName, const QString &name) const
{
    return write(name, fixture(fixtureName));
}

void TestFolder::copyTree(const QString &from, const QString &name) const
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = path(name) + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(source, target))
            throw std::runtime_error("cannot copy test tree");
    }
}

QStringList TestFolder::entries() const
{
    QStringList names =
        QDir(m_dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(MONITOR_TEST_DATA_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing fixture");
    return file.readAll();
}
