#pragma once

#include "fakeendpoint.h"
#include "fakefileclaim.h"
#include "memorysettingsstore.h"
#include "testfolder.h"

#include "fakeprinter.h"
#include "fakeprocesslist.h"
#include "failingfileoperations.h"
#include "fakeshell.h"
#include "fakespelling.h"
#include "fakewindowmessages.h"
#include "recordingmessages.h"

#include "fileoperations.h"
#include "monformentry.h"

#include <QDir>
#include <QFile>

#include <memory>

// The form with fakes for everything outside it, started on a tutor folder under a fresh
// monitoring root: root/M101-05B/02/T1/X/monitor.fhi.
class FormFixture
{
protected:
    class FixedClock : public Clock
    {
    public:
        QDate today() const override { return QDate(2026, 12, 8); }
    };

    static QStringList words()
    {
        return {QStringLiteral("T1"), QStringLiteral("M101"), QStringLiteral("05B"),
                QStringLiteral("02"), QStringLiteral("X")};
    }

    // Fakes as on a machine where the suite's file handler runs and nothing is stored yet.
    void resetFakes()
    {
        m_settings.values.clear();
        m_settings.written.clear();
        m_messages = {};
        m_windows = {};
        m_endpoint = {};
        m_printer = {};
        m_shell = {};
        m_spelling = {};
        m_fileClaim = {};
        m_processes.names = {QStringLiteral("systemd"), QStringLiteral("ZuruzovIrurEdar")};
        // Recovery copies of unsaved work go to the user's data folder: a fresh one per test.
        m_userData = std::make_unique<TestFolder>();
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_userData->path()));
    }

    // A null file leaves the tutor folder without monitor.fhi.
    std::unique_ptr<MonFormEntry> startForm(const QByteArray &file,
                                            const QStringList &arguments = words())
    {
        m_root = std::make_unique<TestFolder>();
        QDir().mkpath(m_root->path(QStringLiteral("M101-05B/02/T1/X")));
        if (!file.isNull())
            m_root->write(kTutorFile, file);
        return openForm(arguments);
    }

    // The form started again on the same monitoring root, as after the program ended.
    std::unique_ptr<MonFormEntry> openForm(const QStringList &arguments = words())
    {
        m_settings.setPref(QStringLiteral("quillet_monitor_root_directory"), m_root->path() + u'/');
        auto form = std::make_unique<MonFormEntry>(
            MonitorPlatform{m_settings, m_processes, m_messages, m_files, m_clock, m_windows,
                            m_endpoint, m_printer, m_shell, spelling(), m_fileClaim},
            arguments);
        m_loaded = form->load();
        return form;
    }

    spelling::SpellingComponent &spelling()
    {
        return m_realSpelling ? *m_realSpelling : m_spelling;
    }

    QString tutorFilePath() const { return m_root->path(kTutorFile); }
    QByteArray tutorFileBytes() const { return m_root->read(kTutorFile); }

    inline static const QString kTutorFile = QStringLiteral("M101-05B/02/T1/X/monitor.fhi");

    MemorySettingsStore m_settings;
    FakeProcessList m_processes;
    RecordingMessages m_messages;
    FailingFileOperations m_files; // fails nowhere until a test says where
    FixedClock m_clock;
    FakeWindowMessages m_windows;
    FakeEndpoint m_endpoint;
    FakePrinter m_printer;
    FakeShell m_shell;
    FakeSpelling m_spelling;
    FakeFileClaim m_fileClaim;
    // A test may hand the form the real component instead.
    spelling::SpellingComponent *m_realSpelling = nullptr;
    std::unique_ptr<TestFolder> m_root;
    std::unique_ptr<TestFolder> m_userData;
    bool m_loaded = false;
};
