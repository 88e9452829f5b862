// Faults while saving from the window: whatever fails, the monitor's work stays on screen and
// stays marked unsaved, and the file is whole.
#include "formfixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>

#include <sys/stat.h>

using monitorfile::MessageAnswer;
using Step = FailingFileOperations::Step;

class MonFormFaultsTest : public QObject, public FormFixture
{
    Q_OBJECT

private:
    std::unique_ptr<MonFormEntry> m_form;

    QPlainTextEdit *comments() const
    {
        return m_form->findChild<QPlainTextEdit *>(QStringLiteral("TxtMonitorComments"));
    }
    void typeComment(const QString &text) { comments()->setPlainText(text); }

    // The save failed, the monitor was told once about this file, and nothing was given up.
    void verifyStillUnsaved(const QString &namedPath)
    {
        QCOMPARE(m_messages.texts.size(), 1);
        QVERIFY2(m_messages.texts.first().contains(namedPath),
                 qPrintable(m_messages.texts.first()));
        QCOMPARE(m_settings.pref(QStringLiteral("MonitorChanges")), QStringLiteral("True"));
        QVERIFY(m_form->menuItem("mnuSave")->isEnabled() && m_form->toolbarButton(1)->isEnabled());
        QCOMPARE(comments()->toPlainText(), QStringLiteral("precious"));

        // Closing still asks; Cancel keeps the form and its work.
        m_messages = {};
        m_messages.answers = {MessageAnswer::Cancel};
        m_form->menuItem("mnuClose")->trigger();
        QCOMPARE(m_messages.texts.size(), 1);
        QVERIFY(m_messages.texts.first().contains(QStringLiteral("unsaved changes")));
        QVERIFY(m_form->isVisible());
    }

private slots:
    void init()
    {
        resetFakes();
        m_files.failAt(Step::None);
        m_files.onStep = nullptr;
        m_form = startForm(fixture(QStringLiteral("laid_out.normalised.fhi")));
        QVERIFY(m_loaded);
        m_form->show();
        m_messages = {};
    }

    // Each step failing, and what another program does in the tutor folder meanwhile (another
    // tutor's file moved over this one, a pipe at the lock's name, the lock taken over while the
    // form was held up): told once, with the lock let go, and nothing written.
    void everyFailingStepOfTheRewriteKeepsTheWork_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("said");
        const std::pair<Step, const char *> steps[] = {{Step::Lock, "lock"},
                                                       {Step::Read, "read"},
                                                       {Step::CopyToBackup, "backup copy"},
                                                       {Step::CreateTemporary, "temporary file"},
                                                       {Step::Write, "write"},
                                                       {Step::FlushToDisk, "flush to disk"},
                                                       {Step::Replace, "replace"},
                                                       {Step::FlushFolder, "folder flush"}};
        for (const auto &[step, name] : steps)
            QTest::addRow("%s", name)
                << step << QString::fromLatin1(FailingFileOperations::kReason);
        for (const char *said : {"another tutor or assignment", "a pipe (FIFO) stands at its name",
                                 "took over the file's lock"})
            QTest::addRow("%s", said) << Step::None << QString::fromLatin1(said);
    }

    void everyFailingStepOfTheRewriteKeepsTheWork()
    {
        QFETCH(Step, step);
        QFETCH(QString, said);
        const QString lock = tutorFilePath() + QStringLiteral(".lock");
        if (said.startsWith(QStringLiteral("another")))
            m_root->write(kTutorFile, tutorFileBytes().replace("<staff_id>", "<staff_id>9"));
        if (said.startsWith(QStringLiteral("a pipe")))
            QCOMPARE(::mkfifo(QFile::encodeName(lock).constData(), 0600), 0);
        if (said.startsWith(QStringLiteral("took"))) {
            m_files.onStep = [this](Step at) {
                if (at == Step::FlushToDisk &&
                    QFile::remove(m_root->path(kTutorFile) + QStringLiteral(".lock")))
                    m_root->write(kTutorFile + QStringLiteral(".lock"), "1\nx\nelsewhere\n");
            };
        }
        const QByteArray before = tutorFileBytes();
        typeComment(QStringLiteral("precious"));
        m_files.failAt(step);
        bool locked = false; // a lock taken over is another's: this form's is gone
        m_messages.onShow = [&] { locked |= !m_files.onStep && QFileInfo(lock).isFile(); };
        m_form->menuItem("mnuSave")->trigger();
        QVERIFY2(m_messages.texts.value(0).contains(said), qPrintable(m_messages.texts.value(0)));
        QVERIFY(!locked);
        verifyStillUnsaved(tutorFilePath());
        // Whole: exactly as it was, unless the new text was in place when the folder flush failed.
        const QByteArray after = tutorFileBytes();
        QVERIFY(step == Step::FlushFolder ? after.contains("<monitor_comments>precious<")
                                          : after == before);
        for (const QString &entry : QDir(QFileInfo(tutorFilePath()).path()).entryList(QDir::Files))
            QVERIFY2(!entry.endsWith(QStringLiteral(".tmp")), qPrintable(entry));
        QFile::remove(lock);
    }

    // The box gives a line break as LF; the file keeps CR LF, and the form keeps what it shows.
    void typedLineBreakIsStoredAsCrLf()
    {
        typeComment(QStringLiteral("first\nsecond"));
        m_form->menuItem("mnuSave")->trigger();
        QVERIFY(m_messages.texts.isEmpty());
        QVERIFY(tutorFileBytes().contains("<monitor_comments>first\r\nsecond</monitor_comments>"));
    }

    void renamedFolderIsReportedAndNothingIsWrittenElsewhere()
    {
        typeComment(QStringLiteral("precious"));
        const QString folder = QFileInfo(tutorFilePath()).path();
        QVERIFY(QDir().rename(folder, folder + QStringLiteral("-moved")));
        m_form->menuItem("mnuSave")->trigger();
        verifyStillUnsaved(QStringLiteral("monitor.fhi"));
        QVERIFY(!QFileInfo::exists(folder));
        QCOMPARE(QDir(folder + QStringLiteral("-moved")).entryList(QDir::Files),
                 QStringList{QStringLiteral("monitor.fhi")});
    }

    // The save starts from the file as it is now, so another program's changes to elements the
    // form does not write, or that the monitor left alone, survive it; what the monitor changes
    // back after a save is saved too.
    void changesOfAnotherProgramToOtherElementsSurvive()
    {
        const QByteArray before = tutorFileBytes();
        const QString shown = comments()->toPlainText();
        typeComment(QStringLiteral("precious"));
        QByteArray other = tutorFileBytes();
        other.replace("<version_num>4.2.1</version_num>", "<version_num>4.3.0</version_num>");
        other.replace("<monitor_collect_date>03-Dec-2026</monitor_collect_date>",
                      "<monitor_collect_date>07-Dec-2026</monitor_collect_date>");
        other.replace("<flag2>G</flag2>", "<flag2>E</flag2>");
        m_root->write(kTutorFile, other);
        m_form->menuItem("mnuSave")->trigger();
        QVERIFY(m_messages.texts.isEmpty());
        const QByteArray saved = tutorFileBytes();
        QVERIFY(saved.contains("<version_num>4.3.0</version_num>"));
        QVERIFY(saved.contains("<monitor_collect_date>07-Dec-2026</monitor_collect_date>"));
        QVERIFY(saved.contains("<flag2>E</flag2>"));
        QVERIFY(saved.contains("<monitor_comments>precious</monitor_comments>"));

        typeComment(shown);
        m_form->menuItem("mnuSave")->trigger();
        const qsizetype from = before.indexOf("<monitor_comments>");
        QVERIFY(tutorFileBytes().contains(
            before.mid(from, before.indexOf("</monitor_comments>") - from)));
    }
};

QTEST_MAIN(MonFormFaultsTest)
#include "monformfaults_test.moc"
