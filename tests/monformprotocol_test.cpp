// The window's side of the suite's protocol: edits and saves move the Save controls and reach the
// file, Close and Exit close the window, and a second form on one file. The protocol's own rules
// are tested without a window in suitelink_test.cpp.
#include "formfixture.h"

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
        return m_windows.to(kTutorSummary, kind, message);
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
