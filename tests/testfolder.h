#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder for one test; fixtures from tests/data are copied in before they change.
class TestFolder
{
public:
    QString path(const QString &name = QString()) const;
    QString write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;
    QString copyFixture(const QString &fixture, const QString &name) const;
    // Copies every file under `from` to the same place under `name` in this folder.
    void copyTree(const QString &from, const QString &name) const;
    // Names of the entries in the folder, sorted.
    QStringList entries() const;

private:
    QTemporaryDir m_dir;
};

QByteArray fixture(const QString &name);
