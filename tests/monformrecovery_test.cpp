// Unsaved work kept outside the tutor folder and offered back after the program ended without
// saving it.
#include "formfixture.h"

#include "monitorgrid.h"

#include "recoverycopy.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTest>

using monitorfile::MessageAnswer;

class MonFormRecoveryTest : public QObject, public FormFixture
{
    Q_OBJECT

private:
    std::unique_ptr<MonFormEntry> m_form;

    QPlainTextEdit *comments(MonFormEntry &form) const
    {
        return form.findChild<QPlainTextEdit *>(QStringLiteral("TxtMonitorComments"));
    }
    MonitorGrid *grid(MonFormEntry &form, const char *name) const
    {
        return form.findChild<MonitorGrid *>(QLatin1String(name));
    }
    monitorfile::RecoveryStore store() const
    {
        return monitorfile::RecoveryStore(monitorfile::RecoveryStore::defaultFolder());
    }
    // The newest copy of any form.
    std::optional<monitorfile::RecoveryCopy> keptCopy() const
    {
        const auto copies = store().allCopiesOf(tutorFilePath());
        return copies.empty() ? std::nullopt : std::optional(copies.front());
    }
    QString changes() const { return m_settings.pref(QStringLiteral("MonitorChanges")); }

    // The monitor's edits, kept once the form has been left alone for a moment.
    void editAndWaitForTheCopy()
    {
        comments(*m_form)->setPlainText(QStringLiteral("A day's work & more"));
        MonitorGrid *criteria = grid(*m_form, "MonFlex2");
        criteria->setCurrentCell(4, 3);
        criteria->setCurrentText(QStringLiteral("G"));
        grid(*m_form, "MonFlex1")->setTextMatrix(2, 1, QStringLiteral("Severe"));
        m_form->MarkMonitorChanged();
        QTRY_VERIFY_WITH_TIMEOUT(keptCopy().has_value(), 15000);
    }

    // A new form on the same tutor folder, as after the program was killed and started again.
    std::unique_ptr<MonFormEntry> startAgain(MessageAnswer answer = MessageAnswer::Yes)
    {
        m_settings.values.clear();
        m_messages = {};
        m_messages.answers = {answer};
        return openForm();
    }

private slots:
    void init()
    {
        resetFakes();
        m_form = startForm(fixture(QStringLiteral("laid_out.normalised.fhi")));
        QVERIFY(m_loaded);
    }

    void editsAreKeptOutsideTheTutorFolder()
    {
        const QStringList tutorFolder = QDir(QFileInfo(tutorFilePath()).path()).entryList();
        const QByteArray file = tutorFileBytes();
        editAndWaitForTheCopy();
        const monitorfile::RecoveryCopy copy = *keptCopy();
        QCOMPARE(copy.values.comments, QStringLiteral("A day's work & more"));
        QCOMPARE(copy.values.flags[9], QStringLiteral("G"));
        QCOMPARE(copy.values.students.at(1).marking, QStringLiteral("Severe"));
        QVERIFY(!copy.keptAt.isNull());
        QCOMPARE(QDir(QFileInfo(tutorFilePath()).path()).entryList(), tutorFolder);
        QCOMPARE(tutorFileBytes(), file);
    }

    void startupFillingKeepsNothing()
    {
        QTest::qWait(2500); // longer than the form waits after an edit
        QVERIFY(!keptCopy());
    }

    void savingOrThrowingAwayDiscardsTheCopy_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("saved") << true;
        QTest::newRow("thrown away") << false;
    }

    void savingOrThrowingAwayDiscardsTheCopy()
    {
        QFETCH(bool, save);
        editAndWaitForTheCopy();
        m_messages.answers = {save ? MessageAnswer::Yes : MessageAnswer::No};
        m_form->menuItem("mnuClose")->trigger();
        QVERIFY(!keptCopy());
    }

    void failedSaveKeepsTheCopy()
    {
        editAndWaitForTheCopy();
        QVERIFY(QFile::remove(tutorFilePath()));
        m_form->menuItem("mnuSave")->trigger();
        QVERIFY(keptCopy().has_value());
    }

    void keptWorkComesBackWhenTheMonitorAgrees()
    {
        editAndWaitForTheCopy();
        const QByteArray file = tutorFileBytes();
        m_form.reset(); // ends without closing, as a killed program does
        m_form = startAgain(MessageAnswer::Yes);
        QVERIFY(m_loaded);
        QCOMPARE(m_messages.texts.size(), 1);
        QVERIFY(m_messages.texts.first().contains(QStringLiteral("bring them back")));
        QCOMPARE(comments(*m_form)->toPlainText(), QStringLiteral("A day's work & more"));
        QCOMPARE(grid(*m_form, "MonFlex2")->textMatrix(4, 3), QStringLiteral("G"));
        QCOMPARE(m_form->flags()[9], QStringLiteral("G"));
        QCOMPARE(grid(*m_form, "MonFlex1")->textMatrix(2, 1), QStringLiteral("Severe"));
        QCOMPARE(changes(), QStringLiteral("True")); // unsaved until the monitor saves
        QVERIFY(m_form->menuItem("mnuSave")->isEnabled());
        QCOMPARE(tutorFileBytes(), file);

        m_form->menuItem("mnuSave")->trigger();
        QVERIFY(tutorFileBytes().contains("<flag10>G</flag10>"));
        QVERIFY(!keptCopy());
    }

    void keptWorkIsThrownAwayWhenTheMonitorSaysNo()
    {
        editAndWaitForTheCopy();
        const QString shown = comments(*m_form)->toPlainText();
        m_form.reset();
        m_form = startAgain(MessageAnswer::No);
        QCOMPARE(m_messages.texts.size(), 1);
        QVERIFY(comments(*m_form)->toPlainText() != shown);
        QVERIFY(!m_settings.hasPref(QStringLiteral("MonitorChanges")));
        QVERIFY(!keptCopy());
    }

    void copyHoldingWhatTheFileHoldsIsNotOffered()
    {
        editAndWaitForTheCopy();
        const monitorfile::RecoveryCopy copy = *keptCopy();
        m_form->menuItem("mnuSave")->trigger(); // the file now holds what the copy holds
        QString error;
        QVERIFY(store().keep(copy, error));
        m_form.reset();
        m_form = startAgain();
        QVERIFY(m_messages.texts.isEmpty());
        QVERIFY(!keptCopy());
    }

    void eachFormDeletesOnlyItsOwnCopy()
    {
        editAndWaitForTheCopy();
        const auto second = openForm(); // the first form's copy is not offered: it still runs
        QVERIFY(m_messages.texts.isEmpty());
        comments(*second)->setPlainText(QStringLiteral("the second form's work"));
        second->MarkMonitorChanged();
        QTRY_COMPARE_WITH_TIMEOUT(store().allCopiesOf(tutorFilePath()).size(), size_t(2), 15000);
        second->menuItem("mnuSave")->trigger();
        const auto left = store().allCopiesOf(tutorFilePath());
        QCOMPARE(left.size(), size_t(1));
        QCOMPARE(left.front().values.comments, QStringLiteral("A day's work & more"));
    }

    void recoveredValuesPassTheTypingRules()
    {
        const QString fileFlag = m_form->flags()[0];
        const QString fileMarking = grid(*m_form, "MonFlex1")->textMatrix(2, 1);
        editAndWaitForTheCopy();
        m_form.reset();
        { // the copy changed on disk by something other than the form
            monitorfile::RecoveryStore changer(monitorfile::RecoveryStore::defaultFolder());
            monitorfile::RecoveryCopy copy = *changer.takeOrphan(tutorFilePath());
            copy.values.flags[0] = QStringLiteral("<b>");
            copy.values.students[1].marking = QStringLiteral("Bribed");
            copy.values.students[1].summaryFeedback = QStringLiteral("Good (G)");
            copy.values.students.push_back(
                {QStringLiteral("nobody"), QStringLiteral("Severe"), {}, {}});
            QString error;
            QVERIFY(changer.keep(copy, error));
        }
        m_form = startAgain(MessageAnswer::Yes);
        QCOMPARE(m_form->flags()[0], fileFlag);
        QCOMPARE(m_form->flags()[9], QStringLiteral("G"));
        QCOMPARE(grid(*m_form, "MonFlex1")->textMatrix(2, 1), fileMarking);
        QCOMPARE(grid(*m_form, "MonFlex1")->textMatrix(2, 2), QStringLiteral("Good (G)"));
    }

    void copyThatCannotBeKeptIsToldOnce()
    {
        const QString folder = monitorfile::RecoveryStore::defaultFolder();
        QVERIFY(QDir().mkpath(QFileInfo(folder).path()));
        QFile blocker(folder); // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        comments(*m_form)->setPlainText(QStringLiteral("first"));
        m_form->MarkMonitorChanged();
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.texts.size(), 1, 15000);
        QVERIFY(m_messages.texts.first().contains(QStringLiteral("cannot be kept")));
        comments(*m_form)->setPlainText(QStringLiteral("second"));
        m_form->MarkMonitorChanged();
        QTest::qWait(2500); // longer than the form waits after an edit
        QCOMPARE(m_messages.texts.size(), 1);
    }
};

QTEST_MAIN(MonFormRecoveryTest)
#include "monformrecovery_test.moc"
