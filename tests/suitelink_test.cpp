// The suite's unsaved-changes protocol without a window: the shared setting, the closing
// question, the notices to the Tutor Summary window and the messages the other windows send.
#include "fakeendpoint.h"
#include "fakeprocesslist.h"
#include "fakewindowmessages.h"
#include "memorysettingsstore.h"
#include "recordingmessages.h"

#include "messagetexts.h"
#include "suitelink.h"
#include "suitewindows.h"

#include <QTest>

#include <optional>

using Kind = FakeWindowMessages::Kind;
using monitorfile::MessageAnswer;
using suite::SuiteWindow;

namespace {

const QString kTutorSummary = suite::windowTitle(SuiteWindow::TutorSummary);

// Closes as a window does: close() asks the link, as the window's closeEvent does.
class FakeWindow : public suite::SuiteLink::Window
{
public:
    QString suiteTitle() const override { return QStringLiteral("the form"); }
    bool holdsTutorFile() const override { return hasFile; }
    bool saveIntoFile() override
    {
        ++saves;
        return saveSucceeds;
    }
    void moveFocusToComments() override {}
    void enableSaveControls(bool enabled) override { saveEnabled = enabled && hasFile; }
    void reloadSavedValues() override { ++reloads; }
    void discardUnsavedCopy() override {}
    void storePreferences() override { ++preferencesStored; }
    bool closeWindow() override
    {
        const bool accepted = link->closeAccepted();
        visible = visible && !accepted;
        return accepted;
    }

    suite::SuiteLink *link = nullptr;
    bool hasFile = true;
    bool saveSucceeds = true;
    int saves = 0; // attempted
    bool saveEnabled = false;
    bool visible = true;
    int reloads = 0;
    int preferencesStored = 0;
};

} // namespace

class SuiteLinkTest : public QObject
{
    Q_OBJECT

private:
    MemorySettingsStore m_settings;
    FakeProcessList m_processes;
    RecordingMessages m_messages;
    FakeWindowMessages m_windows;
    FakeEndpoint m_endpoint;
    FakeWindow m_window;
    std::optional<suite::SuiteLink> m_link;

    QString changes() const { return m_settings.pref(QStringLiteral("MonitorChanges")); }
    QList<FakeWindowMessages::Message> toTutorSummary(Kind kind, quint32 message) const
    {
        return m_windows.to(kTutorSummary, kind, message);
    }

private slots:
    void init()
    {
        m_settings.values.clear();
        m_messages = {};
        m_windows = {};
        m_endpoint = {};
        m_window = FakeWindow();
        m_processes.names = {QStringLiteral("ZuruzovIrurEdar"), QStringLiteral("MonitorForm")};
        m_windows.existing = {kTutorSummary, suite::windowTitle(SuiteWindow::StudentSummary),
                              suite::windowTitle(SuiteWindow::Zip)};
        m_link.emplace(m_window, m_settings, m_processes, m_messages, m_windows, m_endpoint);
        m_window.link = &*m_link;
        m_link->HookWindowProc();
        QCOMPARE(m_endpoint.openedAs, QStringLiteral("the form"));
    }

    void noticesNeedAMonitorFormProcess()
    {
        m_processes.names = {QStringLiteral("ZuruzovIrurEdar")};
        m_link->MarkMonitorChanged();
        m_link->SaveChanges();
        QVERIFY(toTutorSummary(Kind::Posted, 1076).isEmpty());
        QVERIFY(toTutorSummary(Kind::Posted, 1077).isEmpty());
        QCOMPARE(toTutorSummary(Kind::Sent, 1074).size(), 1);
    }

    void questionFollowsTheSetting_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("after");
        QTest::newRow("absent") << QString() << int(MessageAnswer::Yes) << false << "False";
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
        const MessageAnswer result = m_link->QuerySaveChanges();
        QCOMPARE(m_messages.texts.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(m_messages.texts.first(),
                     QStringLiteral("There are unsaved changes on one or more of the file handler "
                                    "windows.\rDo you want to save these changes?"));
            QCOMPARE(int(result), answer);
            if (answer == int(MessageAnswer::Yes)) // saving on Yes is the caller's work
                QVERIFY(m_link->SaveChanges());
        } else {
            QCOMPARE(result, MessageAnswer::No);
        }
        QCOMPARE(changes(), after);
    }

    void closeWithNothingToSave()
    {
        m_settings.setPref(QStringLiteral("MonitorChanges"), QStringLiteral("False"));
        m_link->closeFromMenu(false);
        QVERIFY(m_messages.texts.isEmpty());
        QCOMPARE(toTutorSummary(Kind::Posted, 1077).size(), 2);
        QCOMPARE(toTutorSummary(Kind::Sent, 1078).size(), 1);
        QVERIFY(!m_window.visible);
        QVERIFY(!m_endpoint.isOpen());
        QVERIFY(m_window.preferencesStored > 0);
        QCOMPARE(m_window.saves, 0);
    }

    // Close by the menu or by the window's own close, on each answer and on a failed save.
    void closingQuestion_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveSucceeds");
        QTest::addColumn<bool>("closed");
        QTest::newRow("menu, yes") << true << int(MessageAnswer::Yes) << true << true;
        QTest::newRow("menu, no") << true << int(MessageAnswer::No) << true << true;
        QTest::newRow("menu, cancel") << true << int(MessageAnswer::Cancel) << true << false;
        QTest::newRow("menu, failed save") << true << int(MessageAnswer::Yes) << false << false;
        QTest::newRow("close, yes") << false << int(MessageAnswer::Yes) << true << true;
        QTest::newRow("close, no") << false << int(MessageAnswer::No) << true << true;
        QTest::newRow("close, cancel") << false << int(MessageAnswer::Cancel) << true << false;
        QTest::newRow("close, failed save") << false << int(MessageAnswer::Yes) << false << false;
    }
    void closingQuestion()
    {
        QFETCH(bool, fromMenu);
        QFETCH(int, answer);
        QFETCH(bool, saveSucceeds);
        QFETCH(bool, closed);
        m_link->MarkMonitorChanged();
        m_window.saveSucceeds = saveSucceeds;
        m_messages.answers = {MessageAnswer(answer)};
        if (fromMenu)
            m_link->closeFromMenu(false);
        else
            m_window.closeWindow();
        QCOMPARE(m_messages.texts.size(), 1); // asked once, whichever way the window closes
        QCOMPARE(m_window.visible, !closed);
        QCOMPARE(m_endpoint.isOpen(), !closed);
        QCOMPARE(changes(), QLatin1String(closed ? "False" : "True"));
        QCOMPARE(m_window.saveEnabled, !closed);
        QCOMPARE(m_window.saves, answer == int(MessageAnswer::Yes) ? 1 : 0);
        QCOMPARE(m_window.reloads, answer == int(MessageAnswer::No) ? 1 : 0);
        // Only the menu's Close tells the Tutor Summary window of a close without saving.
        QCOMPARE(toTutorSummary(Kind::Sent, 1078).size(),
                 fromMenu && answer == int(MessageAnswer::No) ? 1 : 0);
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
        m_link->MarkMonitorChanged();
        QVERIFY(m_endpoint.deliver(1074, wParam));
        QCOMPARE(m_window.saves, 1);
        QCOMPARE(m_windows.raised, QStringList{raised});
        QVERIFY(toTutorSummary(Kind::Sent, 1074).isEmpty());
        QCOMPARE(changes(), QStringLiteral("False"));
    }

    void closeAskedByAnotherWindowCanBeCancelled()
    {
        m_link->MarkMonitorChanged();
        m_messages.answers = {MessageAnswer::Cancel};
        QVERIFY(m_endpoint.deliver(1075));
        QVERIFY(m_window.visible);
        QVERIFY(m_endpoint.isOpen()); // still answering the suite
        QVERIFY(m_endpoint.deliver(1077));
        QVERIFY(!m_window.saveEnabled);
    }

    void changeNoticesMoveOnlyTheSaveControls()
    {
        m_settings.setPref(QStringLiteral("MonitorChanges"), QStringLiteral("False"));
        QVERIFY(m_endpoint.deliver(1076));
        QVERIFY(m_window.saveEnabled);
        QVERIFY(m_endpoint.deliver(1077));
        QVERIFY(!m_window.saveEnabled);
        QCOMPARE(changes(), QStringLiteral("False"));
    }

    void formWithoutAFileClosesOnYes()
    {
        m_window.hasFile = false;
        m_settings.setPref(QStringLiteral("MonitorChanges"), QStringLiteral("True"));
        m_messages.answers = {MessageAnswer::Yes};
        m_link->closeFromMenu(false);
        QCOMPARE(m_messages.texts.size(), 1); // the question only: nothing here to save
        QVERIFY(!m_window.visible);
        QCOMPARE(changes(), QStringLiteral("True")); // the other windows keep their changes
    }

    // The setting is the suite's: another window's save clears it while this form holds edits.
    void ownEditsAreAskedForAfterAnotherWindowsSave()
    {
        m_link->MarkMonitorChanged();
        m_settings.setPref(QStringLiteral("MonitorChanges"), QStringLiteral("False"));
        m_messages.answers = {MessageAnswer::Cancel};
        m_link->closeFromMenu(false);
        QCOMPARE(m_messages.texts.size(), 1);
        QVERIFY(m_window.visible);
        m_messages.answers = {MessageAnswer::Yes};
        m_link->closeFromMenu(false);
        QCOMPARE(m_window.saves, 1);
    }

    // Told once; not when another form holds the title, as with two windows of one title on
    // Windows, where the suite finds the first.
    void formThatCannotReceiveSaysSo()
    {
        for (const auto refusal :
             {FakeEndpoint::Refusal::CannotReceive, FakeEndpoint::Refusal::HeldElsewhere}) {
            m_endpoint.refuse = refusal;
            m_messages = {};
            m_link.emplace(m_window, m_settings, m_processes, m_messages, m_windows, m_endpoint);
            m_link->HookWindowProc();
            m_link->HookWindowProc();
            QCOMPARE(m_messages.texts, refusal == FakeEndpoint::Refusal::HeldElsewhere
                                           ? QStringList()
                                           : QStringList{monitorfile::texts::messagesNotReceived(
                                                 QStringLiteral("refused in the test"))});
        }
    }
};

QTEST_GUILESS_MAIN(SuiteLinkTest)
#include "suitelink_test.moc"
