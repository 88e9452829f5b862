// The suite's protocol around the form: the shared setting, the closing question, the notices to
// the Tutor Summary window and the messages the other windows send.
#include "formfixture.h"

#include "messagetexts.h"
#include "suitewindows.h"
#include "tutorfileclaim.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>

using Kind = FakeWindowMessages::Kind;
using monitorfile::MessageAnswer;
using suite::SuiteWindow;

namespace {

const QString kTutorSummary = suite::windowTitle(SuiteWindow::TutorSummary);

} // namespace

class MonFormProtocolTest : public QObject, public FormFixture
{
    Q_OBJECT

private:
    std::unique_ptr<MonFormEntry> m_form;

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
        resetFakes();
        m_processes.names = {QStringLiteral("ZuruzovIrurEdar"), QStringLiteral("MonitorForm")};
        m_windows.existing = {kTutorSummary, suite::windowTitle(SuiteWindow::StudentSummary),
                              suite::windowTitle(SuiteWindow::Zip)};
        m_form = startForm(fixture(QStringLiteral("laid_out.normalised.fhi")));
        QVERIFY(m_loaded);
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
        QVERIFY(tutorFileBytes().contains("<monitor_comments>a \x02 b \x12 c</monitor_comments>"));
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
        // Neither "True" nor "False" (written by hand, or by a damaged program): ask rather
        // than risk throwing work away.
        QTest::newRow("other text, cancel")
            << "maybe" << int(MessageAnswer::Cancel) << true << "maybe";
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
        const QByteArray before = tutorFileBytes();
        m_form->menuItem("mnuClose")->trigger();
        QVERIFY(m_messages.texts.isEmpty());
        QCOMPARE(toTutorSummary(Kind::Posted, 1077).size(), 2);
        QCOMPARE(toTutorSummary(Kind::Sent, 1078).size(), 1);
        QVERIFY(!m_form->isVisible());
        QVERIFY(!m_endpoint.isOpen());
        QVERIFY(m_settings.hasPref(QStringLiteral("monitoring_form_width")));
        QCOMPARE(tutorFileBytes(), before);
    }

    void closeAnsweredNoLeavesTheFileAndRereadsTheModel()
    {
        const QByteArray before = tutorFileBytes();
        typeComment(QStringLiteral("not wanted"));
        m_messages.answers = {MessageAnswer::No};
        m_form->menuItem("mnuClose")->trigger();
        QCOMPARE(tutorFileBytes(), before);
        QCOMPARE(changes(), QStringLiteral("False"));
        QCOMPARE(toTutorSummary(Kind::Sent, 1078).size(), 1);
        QVERIFY(!m_form->isVisible());
    }

    void exitAnsweredYesSaves()
    {
        typeComment(QStringLiteral("keep this"));
        m_messages.answers = {MessageAnswer::Yes};
        m_form->menuItem("mnuExit")->trigger();
        QVERIFY(tutorFileBytes().contains("<monitor_comments>keep this</monitor_comments>"));
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
        // Only the low 16 bits count, as a 16-bit window number would take them.
        QTest::newRow("beyond 16 bits")
            << 0x10002 << suite::windowTitle(SuiteWindow::StudentSummary);
        QTest::newRow("negative") << -1 << suite::windowTitle(SuiteWindow::Zip);
    }
    void saveAskedByAnotherWindow()
    {
        QFETCH(int, wParam);
        QFETCH(QString, raised);
        typeComment(QStringLiteral("asked for"));
        QVERIFY(m_endpoint.deliver(1074, wParam));
        QVERIFY(tutorFileBytes().contains("<monitor_comments>asked for</monitor_comments>"));
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

    void formWithoutAFileClosesOnYes()
    {
        m_form = startForm(QByteArray());
        m_form->show();
        m_settings.setPref(QStringLiteral("MonitorChanges"), QStringLiteral("True"));
        m_messages = {};
        m_messages.answers = {MessageAnswer::Yes};
        m_form->menuItem("mnuClose")->trigger();
        QCOMPARE(m_messages.texts.size(), 1); // the question only: nothing here to save
        QVERIFY(!m_form->isVisible());
        QCOMPARE(changes(), QStringLiteral("True")); // the other windows keep their changes
    }

    // The setting is the suite's: another window's save clears it while this form holds edits.
    void ownEditsAreAskedForAfterAnotherWindowsSave()
    {
        typeComment(QStringLiteral("mine"));
        m_settings.setPref(QStringLiteral("MonitorChanges"), QStringLiteral("False"));
        m_messages.answers = {MessageAnswer::Cancel};
        m_form->menuItem("mnuClose")->trigger();
        QCOMPARE(m_messages.texts.size(), 1);
        QVERIFY(m_form->isVisible());
        m_messages.answers = {MessageAnswer::Yes};
        m_form->menuItem("mnuClose")->trigger();
        QVERIFY(tutorFileBytes().contains("<monitor_comments>mine</monitor_comments>"));
    }

    // Where the first form comes forward, the second ends silently (end to end in protocol_e2e).
    void secondFormOnTheSameFileSaysItIsOpenWhereTheFirstCannotBeReached()
    {
        const auto firstComesForward = m_fileClaim.comeForward;
        m_fileClaim.outcome = suite::TutorFileClaim::Outcome::HeldElsewhere;
        const QByteArray before = tutorFileBytes();
        const auto second = openForm();
        QVERIFY(!m_loaded);
        QCOMPARE(QFileInfo(m_fileClaim.claimed.last()), QFileInfo(tutorFilePath()));
        QCOMPARE(m_messages.texts.size(), 1);
        QVERIFY(m_messages.texts.first().contains(QStringLiteral("already open")));
        QCOMPARE(tutorFileBytes(), before);
        m_form->showMinimized();
        firstComesForward();
        QVERIFY(m_form->isVisible() && !m_form->isMinimized());

        // Where no claim can be made at all, the form opens and says so.
        m_fileClaim.outcome = suite::TutorFileClaim::Outcome::NotClaimed;
        m_messages = {};
        const auto unclaimed = openForm();
        QVERIFY(m_loaded && m_messages.texts.size() == 1 &&
                m_messages.texts.first().contains(QStringLiteral("cannot make sure")));
    }

    // Told once; not when another form holds the title, as with two windows of one title on
    // Windows, where the suite finds the first.
    void formThatCannotReceiveSaysSo()
    {
        for (const auto refusal :
             {FakeEndpoint::Refusal::CannotReceive, FakeEndpoint::Refusal::HeldElsewhere}) {
            m_endpoint.refuse = refusal;
            m_messages = {};
            m_form = openForm();
            QVERIFY(m_loaded);
            QCOMPARE(m_messages.texts, refusal == FakeEndpoint::Refusal::HeldElsewhere
                                           ? QStringList()
                                           : QStringList{monitorfile::texts::messagesNotReceived(
                                                 QStringLiteral("refused in the test"))});
        }
    }

    void failedSaveKeepsEverythingUnsaved()
    {
        typeComment(QStringLiteral("precious"));
        m_windows.messages.clear();
        QVERIFY(QFile::remove(tutorFilePath()));
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
