// The suite's protocol around the form: the shared setting, the closing question, the notices to
// the Tutor Summary window and the messages the other windows send.
#include "fakeendpoint.h"
#include "memorysettingsstore.h"
#include "testfolder.h"

#include "fakeprocesslist.h"
#include "fakewindowmessages.h"
#include "recordingmessages.h"

#include "fileoperations.h"
#include "monformentry.h"
#include "suitewindows.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>

using Kind = FakeWindowMessages::Kind;
using monitorfile::MessageAnswer;
using suite::SuiteWindow;

namespace {

class FixedClock : public Clock
{
public:
    QDate today() const override { return QDate(2026, 12, 8); }
};

const QString kTutorSummary = suite::windowTitle(SuiteWindow::TutorSummary);

} // namespace

class MonFormProtocolTest : public QObject
{
    Q_OBJECT

private:
    MemorySettingsStore m_settings;
    FakeProcessList m_processes;
    RecordingMessages m_messages;
    monitorfile::LocalFileOperations m_files;
    FixedClock m_clock;
    FakeWindowMessages m_windows;
    FakeEndpoint m_endpoint;
    std::unique_ptr<TestFolder> m_root;
    std::unique_ptr<MonFormEntry> m_form;

    QString filePath() const
    {
        return m_root->path(QStringLiteral("M101-05B/02/T1/X/monitor.fhi"));
    }
    QByteArray fileBytes() const
    {
        return m_root->read(QStringLiteral("M101-05B/02/T1/X/monitor.fhi"));
    }
    QString changes() const { return m_settings.pref(QStringLiteral("MonitorChanges")); }
    bool saveEnabled() const
    {
        return m_form->menuItem("mnuSave")->isEnabled() && m_form->toolbarButton(1)->isEnabled();
    }
    QList<FakeWindowMessages::Message> toTutorSummary(Kind kind, quint32 message) const
    {
        QList<FakeWindowMessages::Message> found;
        for (const auto &m : m_windows.messages) {
            if (m.kind == kind && m.message == message && m.title == kTutorSummary)
                found.append(m);
        }
        return found;
    }
    void typeComment(const QString &text)
    {
        m_form->findChild<QPlainTextEdit *>(QStringLiteral("TxtMonitorComments"))
            ->setPlainText(text);
    }

private slots:
    void init()
    {
        m_settings.values.clear();
        m_messages = {};
        m_windows = {};
        m_endpoint = {};
        m_processes.names = {QStringLiteral("ZuruzovIrurEdar"), QStringLiteral("MonitorForm")};
        m_windows.existing = {kTutorSummary, suite::windowTitle(SuiteWindow::StudentSummary),
                              suite::windowTitle(SuiteWindow::Zip)};
        m_root = std::make_unique<TestFolder>();
        QDir().mkpath(m_root->path(QStringLiteral("M101-05B/02/T1/X")));
        m_root->copyFixture(QStringLiteral("laid_out.normalised.fhi"),
                            QStringLiteral("M101-05B/02/T1/X/monitor.fhi"));
        m_settings.setPref(QStringLiteral("quillet_monitor_root_directory"), m_root->path() + u'/');
        m_form = std::make_unique<MonFormEntry>(
            MonitorPlatform{m_settings, m_processes, m_messages, m_files, m_clock, m_windows,
                            m_endpoint},
            QStringList{QStringLiteral("T1"), QStringLiteral("M101"), QStringLiteral("05B"),
                        QStringLiteral("02"), QStringLiteral("X")});
        QVERIFY(m_form->load());
        m_form->show();
        QCOMPARE(m_endpoint.openedAs,
                 QStringLiteral("Monitor Entry Form - Norvale Quillet Monitor File Handler"));
    }

    void anEditMarksTheSuiteChanged()
    {
        typeComment(QStringLiteral("edited"));
        QCOMPARE(changes(), QStringLiteral("True"));
        QVERIFY(saveEnabled());
        QCOMPARE(toTutorSummary(Kind::Posted, 1076).size(), 1);
        QCOMPARE(toTutorSummary(Kind::Posted, 1076).first().wParam, 1);
    }

    void noticesNeedAMonitorFormProcess()
    {
        m_processes.names = {QStringLiteral("ZuruzovIrurEdar")};
        typeComment(QStringLiteral("edited"));
        m_form->menuItem("mnuSave")->trigger();
        QVERIFY(toTutorSummary(Kind::Posted, 1076).isEmpty());
        QVERIFY(toTutorSummary(Kind::Posted, 1077).isEmpty());
        QCOMPARE(toTutorSummary(Kind::Sent, 1074).size(), 1);
    }

    void saveTellsTheTutorSummary()
    {
        typeComment(QStringLiteral("a < b & c"));
        m_form->menuItem("mnuSave")->trigger();
        QVERIFY(fileBytes().contains("<monitor_comments>a \x02 b \x12 c</monitor_comments>"));
        QCOMPARE(changes(), QStringLiteral("False"));
        QVERIFY(!saveEnabled());
        QCOMPARE(toTutorSummary(Kind::Sent, 1074).size(), 1);
        QCOMPARE(toTutorSummary(Kind::Sent, 1074).first().wParam, 0);
        QVERIFY(toTutorSummary(Kind::Sent, 1074).first().lParam != 0);
        QCOMPARE(toTutorSummary(Kind::Posted, 1077).size(), 1);
    }

    void questionFollowsTheSetting_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("after");
        QTest::newRow("absent, yes") << QString() << int(MessageAnswer::Yes) << true << "False";
        QTest::newRow("true, no") << "True" << int(MessageAnswer::No) << true << "False";
        QTest::newRow("true, cancel") << "True" << int(MessageAnswer::Cancel) << true << "True";
        QTest::newRow("false") << "False" << int(MessageAnswer::Yes) << false << "False";
    }
    void questionFollowsTheSetting()
    {
        QFETCH(QString, stored);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(QString, after);
        if (!stored.isEmpty())
            m_settings.setPref(QStringLiteral("MonitorChanges"), stored);
        m_messages.answers = {MessageAnswer(answer)};
        const MessageAnswer result = m_form->QuerySaveChanges();
        QCOMPARE(m_messages.texts.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(m_messages.texts.first(),
                     QStringLiteral("There are unsaved changes on one or more of the file handler "
                                    "windows.\rDo you want to save these changes?"));
            QCOMPARE(int(result), answer);
            if (answer == int(MessageAnswer::Yes)) // saving on Yes is the caller's work
                QVERIFY(m_form->SaveChanges());
        } else {
            QCOMPARE(result, MessageAnswer::No);
        }
        QCOMPARE(changes(), after);
    }

    void closeWithNothingToSave()
    {
        m_settings.setPref(QStringLiteral("MonitorChanges"), QStringLiteral("False"));
        const QByteArray before = fileBytes();
        m_form->menuItem("mnuClose")->trigger();
        QVERIFY(m_messages.texts.isEmpty());
        QCOMPARE(toTutorSummary(Kind::Posted, 1077).size(), 2);
        QCOMPARE(toTutorSummary(Kind::Sent, 1078).size(), 1);
        QVERIFY(!m_form->isVisible());
        QVERIFY(!m_endpoint.isOpen());
        QVERIFY(m_settings.hasPref(QStringLiteral("monitoring_form_width")));
        QCOMPARE(fileBytes(), before);
    }

    void closeAnsweredNoLeavesTheFileAndRereadsTheModel()
    {
        const QByteArray before = fileBytes();
        typeComment(QStringLiteral("not wanted"));
        m_messages.answers = {MessageAnswer::No};
        m_form->menuItem("mnuClose")->trigger();
        QCOMPARE(fileBytes(), before);
        QCOMPARE(changes(), QStringLiteral("False"));
        QCOMPARE(toTutorSummary(Kind::Sent, 1078).size(), 1);
        QVERIFY(!m_form->isVisible());
    }

    void exitAnsweredYesSaves()
    {
        typeComment(QStringLiteral("keep this"));
        m_messages.answers = {MessageAnswer::Yes};
        m_form->menuItem("mnuExit")->trigger();
        QVERIFY(fileBytes().contains("<monitor_comments>keep this</monitor_comments>"));
        QCOMPARE(toTutorSummary(Kind::Sent, 1074).size(), 1);
        QVERIFY(toTutorSummary(Kind::Sent, 1078).isEmpty());
        QVERIFY(!m_form->isVisible());
    }

    void saveAskedByAnotherWindow_data()
    {
        QTest::addColumn<int>("wParam");
        QTest::addColumn<QString>("raised");
        QTest::newRow("tutor summary") << 1 << kTutorSummary;
        QTest::newRow("student summary") << 2 << suite::windowTitle(SuiteWindow::StudentSummary);
        QTest::newRow("zip") << 0 << suite::windowTitle(SuiteWindow::Zip);
    }
    void saveAskedByAnotherWindow()
    {
        QFETCH(int, wParam);
        QFETCH(QString, raised);
        typeComment(QStringLiteral("asked for"));
        QVERIFY(m_endpoint.deliver(1074, wParam));
        QVERIFY(fileBytes().contains("<monitor_comments>asked for</monitor_comments>"));
        QCOMPARE(m_windows.raised, QStringList{raised});
        QVERIFY(toTutorSummary(Kind::Sent, 1074).isEmpty());
        QCOMPARE(changes(), QStringLiteral("False"));
    }

    void closeAskedByAnotherWindowCanBeCancelled()
    {
        typeComment(QStringLiteral("unsaved"));
        m_messages.answers = {MessageAnswer::Cancel};
        QVERIFY(m_endpoint.deliver(1075));
        QVERIFY(m_form->isVisible());
        QVERIFY(m_endpoint.isOpen()); // still answering the suite
        QVERIFY(m_endpoint.deliver(1077));
        QVERIFY(!saveEnabled());
    }

    void changeNoticesMoveOnlyTheSaveControls()
    {
        m_settings.setPref(QStringLiteral("MonitorChanges"), QStringLiteral("False"));
        QVERIFY(m_endpoint.deliver(1076));
        QVERIFY(saveEnabled());
        QVERIFY(m_endpoint.deliver(1077));
        QVERIFY(!saveEnabled());
        QCOMPARE(changes(), QStringLiteral("False"));
    }

    void failedSaveKeepsEverythingUnsaved()
    {
        typeComment(QStringLiteral("precious"));
        m_windows.messages.clear();
        QVERIFY(QFile::remove(filePath()));
        m_messages.answers = {MessageAnswer::Yes};
        m_form->menuItem("mnuClose")->trigger();
        QVERIFY(m_form->isVisible());
        QCOMPARE(changes(), QStringLiteral("True"));
        QVERIFY(saveEnabled());
        QVERIFY(toTutorSummary(Kind::Sent, 1074).isEmpty());
        QVERIFY(toTutorSummary(Kind::Posted, 1077).isEmpty());
        QCOMPARE(m_messages.texts.size(), 2); // the question, then why the save failed
        QVERIFY(m_messages.texts.last().contains(QStringLiteral("monitor.fhi")));
        QVERIFY(m_endpoint.isOpen());
    }
};

QTEST_MAIN(MonFormProtocolTest)
#include "monformprotocol_test.moc"
