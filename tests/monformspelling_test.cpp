// Spell checking of the comments box: the command's sequence with a fake component, and the
// stand-in component's dialog and underlining on the form.
#include "formfixture.h"

#include "asyoutype.h"
#include "hunspellcomponent.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include <functional>

namespace {

const QString kComplete = QStringLiteral("The Spelling Check Is Complete");
const QString kNotAvailable = QStringLiteral("The spell checker is not available");

const QStringList kOptionOrder = {QStringLiteral("AutoCorrect"),
                                  QStringLiteral("CaseSensitive"),
                                  QStringLiteral("CatchDoubledWords"),
                                  QStringLiteral("IgnoreAllCapsWords"),
                                  QStringLiteral("IgnoreCapitalizedWords"),
                                  QStringLiteral("IgnoreDomainNames"),
                                  QStringLiteral("IgnoreMixedCaseWords"),
                                  QStringLiteral("IgnoreWordsWithDigits"),
                                  QStringLiteral("PhoneticSuggestions"),
                                  QStringLiteral("TypographicalSuggestions"),
                                  QStringLiteral("SuggestSplitWords")};

// The fixture's tutor file with other comments.
QByteArray withComments(const QByteArray &comments)
{
    QByteArray file = fixture(QStringLiteral("laid_out.fhi"));
    const qsizetype start = file.indexOf("<monitor_comments>") + 18;
    const qsizetype end = file.indexOf("</monitor_comments>");
    return file.replace(start, end - start, comments);
}

// The watches of whenModal that are still waiting; a test that shows no dialog ends them.
QObject *g_watches = nullptr;

// Runs `act` on the next modal dialog of class `className` once it shows.
void whenModal(const char *className, std::function<void(QDialog *)> act)
{
    auto *timer = new QTimer(g_watches);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, className, act] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->inherits(className))
            return;
        timer->stop();
        timer->deleteLater();
        act(dialog);
    });
    timer->start();
}

void click(QDialog *dialog, const char *button)
{
    QPushButton *b = dialog->findChild<QPushButton *>(QLatin1String(button));
    QVERIFY2(b && b->isEnabled(), button);
    b->click();
}

} // namespace

class MonFormSpellingTest : public QObject, public FormFixture
{
    Q_OBJECT

private:
    std::unique_ptr<MonFormEntry> m_form;
    std::unique_ptr<TestFolder> m_userFolder;
    std::unique_ptr<spelling::SpellingComponent> m_component;

    QPlainTextEdit *comments() const
    {
        return m_form->findChild<QPlainTextEdit *>(QStringLiteral("TxtMonitorComments"));
    }
    bool changed() const
    {
        return m_settings.pref(QStringLiteral("MonitorChanges")) == QLatin1String("True");
    }
    bool saveEnabled() const
    {
        return m_form->menuItem("mnuSave")->isEnabled() && m_form->toolbarButton(1)->isEnabled();
    }
    QStringList spellingKeysWritten() const
    {
        QStringList keys;
        for (const QString &key : m_settings.written) {
            if (kOptionOrder.contains(key))
                keys.append(key);
        }
        return keys;
    }
    void start(const QByteArray &file)
    {
        m_form = startForm(file);
        QVERIFY(m_loaded);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        m_settings.written.clear();
        m_messages.texts.clear();
    }
    // The stand-in on the installed dictionary, its user lists in a fresh folder.
    void startWithComponent(const QByteArray &comments, const QString &dictionary = {})
    {
        m_userFolder = std::make_unique<TestFolder>();
        m_component = spelling::createSpellingComponent(dictionary, m_userFolder->path());
        m_realSpelling = m_component.get();
        start(withComments(comments));
    }
    // Whether the box shows a spelling underline anywhere.
    bool underlined() const
    {
        for (QTextBlock block = comments()->document()->firstBlock(); block.isValid();
             block = block.next()) {
            for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
                if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
                    return true;
            }
        }
        return false;
    }

    // Runs the check; true when it stopped at a word (its dialog came up, and was cancelled).
    bool checkStopsAtAWord()
    {
        bool dialogShown = false;
        whenModal("spelling::CheckDialog", [&](QDialog *dialog) {
            dialogShown = true;
            dialog->reject();
        });
        m_form->menuItem("mnuSpellCheck")->trigger();
        return dialogShown;
    }

private slots:
    void init()
    {
        resetFakes();
        m_realSpelling = nullptr;
        g_watches = new QObject;
    }
    void cleanup()
    {
        delete g_watches;
        g_watches = nullptr;
        m_form.reset();
        m_realSpelling = nullptr;
        m_component.reset();
        m_userFolder.reset();
    }

    void startUpHandsTheStoredOptionsToTheComponentInOrder()
    {
        m_settings.setPref(QStringLiteral("IgnoreMixedCaseWords"), QStringLiteral("False"));
        m_settings.setPref(QStringLiteral("PhoneticSuggestions"), QStringLiteral("True"));
        start(fixture(QStringLiteral("laid_out.fhi")));
        QStringList expected;
        for (const QString &name : kOptionOrder)
            expected.append(QStringLiteral("option=") + name);
        QCOMPARE(m_spelling.calls, expected);
        QCOMPARE(m_spelling.options.value(QStringLiteral("IgnoreMixedCaseWords")), false);
        QCOMPARE(m_spelling.options.value(QStringLiteral("PhoneticSuggestions")), true);
        QCOMPARE(m_spelling.options.value(QStringLiteral("AutoCorrect")), true);
    }

    void theCommandConfiguresChecksAndStoresTheOptions_data()
    {
        QTest::addColumn<bool>("fromToolbar");
        QTest::newRow("menu") << false;
        QTest::newRow("toolbar button 9") << true;
    }
    void theCommandConfiguresChecksAndStoresTheOptions()
    {
        QFETCH(bool, fromToolbar);
        start(withComments(QByteArray()));
        m_spelling.calls.clear();
        if (fromToolbar)
            m_form->clickToolbarButton(9);
        else
            m_form->menuItem("mnuSpellCheck")->trigger();
        QCOMPARE(m_spelling.calls,
                 (QStringList{QStringLiteral("mainWordLists=sscebr.tlx,sscebr2.clx"),
                              QStringLiteral("userWordLists=userdic.tlx,correct.tlx"),
                              QStringLiteral("textControl"), QStringLiteral("start")}));
        QCOMPARE(m_spelling.control, comments());
        QCOMPARE(m_messages.texts, QStringList{kComplete});
        QCOMPARE(spellingKeysWritten(), kOptionOrder);
        QCOMPARE(m_settings.pref(QStringLiteral("AutoCorrect")), QStringLiteral("True"));
        QCOMPARE(m_settings.pref(QStringLiteral("PhoneticSuggestions")), QStringLiteral("False"));
        QVERIFY(!changed()); // the command itself is not an edit
    }

    void aFailureShowsOneMessageAndStoresNothing_data()
    {
        QTest::addColumn<QString>("failAt");
        QTest::addColumn<QStringList>("messages");
        for (const char *step : {"mainWordLists", "userWordLists", "textControl", "start"})
            QTest::newRow(step) << QString::fromLatin1(step) << QStringList{kNotAvailable};
        // Reading the options back fails after the check was over.
        QTest::newRow("option") << QStringLiteral("option")
                                << QStringList{kComplete, kNotAvailable};
    }
    void aFailureShowsOneMessageAndStoresNothing()
    {
        QFETCH(QString, failAt);
        QFETCH(QStringList, messages);
        start(fixture(QStringLiteral("laid_out.fhi")));
        m_spelling.failAt = failAt;
        m_form->menuItem("mnuSpellCheck")->trigger();
        QCOMPARE(m_messages.texts, messages);
        QCOMPARE(spellingKeysWritten(), QStringList());
        // The program goes on: the command can run again.
        m_spelling.failAt.clear();
        m_messages.texts.clear();
        m_form->menuItem("mnuSpellCheck")->trigger();
        QCOMPARE(m_messages.texts, QStringList{kComplete});
    }

    void anOptionTurnedOffInTheCheckIsStoredAndAppliedNextTime()
    {
        start(fixture(QStringLiteral("laid_out.fhi")));
        m_spelling.duringCheck = [](FakeSpelling &component) {
            component.options.insert(QStringLiteral("CatchDoubledWords"), false);
        };
        m_form->menuItem("mnuSpellCheck")->trigger();
        QCOMPARE(m_settings.pref(QStringLiteral("CatchDoubledWords")), QStringLiteral("False"));
        QCOMPARE(m_settings.pref(QStringLiteral("IgnoreAllCapsWords")), QStringLiteral("True"));
        QVERIFY(!m_form->spellingOptions().value(QStringLiteral("CatchDoubledWords")));

        m_form.reset();
        m_spelling = {};
        start(fixture(QStringLiteral("laid_out.fhi")));
        QCOMPARE(m_spelling.options.value(QStringLiteral("CatchDoubledWords"), true), false);
    }

    void aCorrectionInTheCheckMarksTheFormChanged()
    {
        start(withComments("Teh tutor"));
        QVERIFY(!changed());
        m_spelling.duringCheck = [](FakeSpelling &component) {
            QTextCursor cursor(component.control->document());
            cursor.setPosition(0);
            cursor.setPosition(3, QTextCursor::KeepAnchor);
            cursor.insertText(QStringLiteral("The"));
        };
        m_form->menuItem("mnuSpellCheck")->trigger();
        QCOMPARE(comments()->toPlainText(), QStringLiteral("The tutor"));
        QVERIFY(changed());
        QVERIFY(saveEnabled());
    }

    // The stand-in's dialog, driven as the monitor would.

    void changeReplacesTheWordInTheBoxAndMarksTheForm()
    {
        startWithComponent("The tutor did recieve praise.");
        QVERIFY(!changed());
        QVERIFY(!saveEnabled());
        QString shown;
        whenModal("spelling::CheckDialog", [&](QDialog *dialog) {
            shown =
                dialog->findChild<QListWidget *>(QStringLiteral("lstSuggestions"))->item(0)->text();
            click(dialog, "cmdChange");
        });
        m_form->menuItem("mnuSpellCheck")->trigger();
        QCOMPARE(shown, QStringLiteral("receive"));
        QCOMPARE(comments()->toPlainText(), QStringLiteral("The tutor did receive praise."));
        QCOMPARE(m_messages.texts, QStringList{kComplete});
        QVERIFY(changed());
        QVERIFY(saveEnabled());
        QCOMPARE(spellingKeysWritten(), kOptionOrder);
    }

    void anEmptyBoxIsCompleteAtOnce()
    {
        startWithComponent(QByteArray());
        QVERIFY(!checkStopsAtAWord());
        QCOMPARE(m_messages.texts, QStringList{kComplete});
        QCOMPARE(spellingKeysWritten(), kOptionOrder);
        QVERIFY(!changed());
    }

    void cancelLeavesTheText()
    {
        startWithComponent("The tutor did recieve praise.");
        whenModal("spelling::CheckDialog", [](QDialog *dialog) { click(dialog, "cmdCancel"); });
        m_form->menuItem("mnuSpellCheck")->trigger();
        QCOMPARE(comments()->toPlainText(), QStringLiteral("The tutor did recieve praise."));
        QVERIFY(!changed());
        QVERIFY(!saveEnabled());
        QCOMPARE(m_messages.texts, QStringList{kComplete});
    }

    void aDoubledWordIsOfferedForDeletion()
    {
        startWithComponent("It is the the end.");
        QString changeCaption;
        whenModal("spelling::CheckDialog", [&](QDialog *dialog) {
            changeCaption = dialog->findChild<QPushButton *>(QStringLiteral("cmdChange"))->text();
            click(dialog, "cmdChange");
        });
        m_form->menuItem("mnuSpellCheck")->trigger();
        QCOMPARE(changeCaption, QStringLiteral("&Delete"));
        QCOMPARE(comments()->toPlainText(), QStringLiteral("It is the end."));
        QVERIFY(changed());
    }

    void changeAllIsStoredAndUndoPutsItBack()
    {
        startWithComponent("wierd and wierd again; Wierd");
        whenModal("spelling::CheckDialog", [&](QDialog *dialog) {
            dialog->findChild<QLineEdit *>(QStringLiteral("txtChangeTo"))
                ->setText(QStringLiteral("weird"));
            click(dialog, "cmdChangeAll");
            QCOMPARE(comments()->toPlainText(), QStringLiteral("weird and weird again; Weird"));
            QCOMPARE(m_userFolder->read(QStringLiteral("correct.tlx")),
                     QByteArray("wierd\tweird\n"));
        });
        m_form->menuItem("mnuSpellCheck")->trigger();
        QCOMPARE(comments()->toPlainText(), QStringLiteral("weird and weird again; Weird"));

        // A new check with Undo: the first change and the automatic ones after it go back.
        comments()->setPlainText(QStringLiteral("teh end, teh"));
        whenModal("spelling::CheckDialog", [&](QDialog *dialog) {
            dialog->findChild<QLineEdit *>(QStringLiteral("txtChangeTo"))
                ->setText(QStringLiteral("the"));
            click(dialog, "cmdChange");
            QCOMPARE(comments()->toPlainText(), QStringLiteral("the end, teh"));
            click(dialog, "cmdUndo");
            QCOMPARE(comments()->toPlainText(), QStringLiteral("teh end, teh"));
            click(dialog, "cmdCancel");
        });
        m_form->menuItem("mnuSpellCheck")->trigger();
        QCOMPARE(comments()->toPlainText(), QStringLiteral("teh end, teh"));
    }

    void automaticCorrectionsFollowTheirOption()
    {
        startWithComponent("teh cat");
        m_userFolder->write(QStringLiteral("correct.tlx"), "teh\tthe\n");
        m_form->menuItem("mnuSpellCheck")->trigger(); // no dialog: nothing else to ask
        QCOMPARE(comments()->toPlainText(), QStringLiteral("the cat"));
        QVERIFY(changed());

        comments()->setPlainText(QStringLiteral("teh cat"));
        m_realSpelling->setOption(QStringLiteral("AutoCorrect"), false);
        QString shown;
        whenModal("spelling::CheckDialog", [&](QDialog *dialog) {
            shown = dialog->findChild<QLineEdit *>(QStringLiteral("txtChangeTo"))->text();
            click(dialog, "cmdIgnore");
        });
        m_form->menuItem("mnuSpellCheck")->trigger();
        QCOMPARE(shown, QStringLiteral("the"));
        QCOMPARE(comments()->toPlainText(), QStringLiteral("teh cat"));
        QCOMPARE(m_settings.pref(QStringLiteral("AutoCorrect")), QStringLiteral("False"));
    }

    void anAddedWordIsKnownToTheNextComponent()
    {
        startWithComponent("Zarquon wrote");
        whenModal("spelling::CheckDialog", [](QDialog *dialog) { click(dialog, "cmdAdd"); });
        m_form->menuItem("mnuSpellCheck")->trigger();
        QCOMPARE(m_userFolder->read(QStringLiteral("userdic.tlx")), QByteArray("Zarquon\n"));

        // As after a restart: a new component on the same folder stops nowhere.
        m_form.reset();
        m_component = spelling::createSpellingComponent(QString(), m_userFolder->path());
        m_realSpelling = m_component.get();
        start(withComments("Zarquon wrote"));
        QVERIFY(!checkStopsAtAWord());
        QCOMPARE(m_messages.texts, QStringList{kComplete});
    }

    void optionsChangedInTheDialogAreStored()
    {
        startWithComponent("Zarquon wrote");
        whenModal("spelling::CheckDialog", [](QDialog *dialog) {
            whenModal("spelling::OptionsDialog", [](QDialog *options) {
                options->findChild<QCheckBox *>(QStringLiteral("IgnoreCapitalizedWords"))
                    ->setChecked(true);
                options->findChild<QCheckBox *>(QStringLiteral("SuggestSplitWords"))
                    ->setChecked(false);
                options->accept();
            });
            click(dialog, "cmdOptions");
        });
        m_form->menuItem("mnuSpellCheck")->trigger();
        QCOMPARE(m_messages.texts, QStringList{kComplete});
        QCOMPARE(m_settings.pref(QStringLiteral("IgnoreCapitalizedWords")), QStringLiteral("True"));
        QCOMPARE(m_settings.pref(QStringLiteral("SuggestSplitWords")), QStringLiteral("False"));
        QVERIFY(!changed());
    }

    void aMissingDictionaryIsReportedAndTheProgramGoesOn()
    {
        startWithComponent("The tutor did recieve praise.",
                           QDir::temp().filePath(QStringLiteral("no-such-dictionary/en_GB")));
        m_form->menuItem("mnuSpellCheck")->trigger();
        QCOMPARE(m_messages.texts, QStringList{kNotAvailable});
        QCOMPARE(spellingKeysWritten(), QStringList());
        QTest::qWait(20);
        QVERIFY(!underlined());
        QTest::keyClicks(comments(), QStringLiteral("x"));
        QVERIFY(changed());
    }

    // Underlining as the monitor types.

    void underliningIsNotAnEdit()
    {
        startWithComponent("The tutor did recieve praise from HEPA.");
        QTRY_VERIFY(underlined());
        QVERIFY(!changed());
        QVERIFY(!saveEnabled());

        // Options and the word lists change the underlines, not the text.
        m_realSpelling->setOption(QStringLiteral("IgnoreAllCapsWords"), false);
        m_realSpelling->setOption(QStringLiteral("CaseSensitive"), false);
        QVERIFY(underlined());
        QVERIFY(!changed());

        const int at = int(comments()->toPlainText().indexOf(QStringLiteral("recieve"))) + 2;
        QTextCursor cursor = comments()->textCursor();
        cursor.setPosition(at);
        const QPoint pos = comments()->cursorRect(cursor).center();
        auto *asYouType = comments()->findChild<spelling::AsYouType *>();
        QVERIFY(asYouType);
        const std::unique_ptr<QMenu> menu(asYouType->createContextMenu(pos));
        QCOMPARE(menu->actions().value(0)->text(), QStringLiteral("receive"));
        QAction *add = menu->findChild<QAction *>(QStringLiteral("actAddToDictionary"));
        QVERIFY(add);
        add->trigger();
        QVERIFY(!changed());
        QCOMPARE(m_userFolder->read(QStringLiteral("userdic.tlx")), QByteArray("recieve\n"));

        m_realSpelling->setOption(QStringLiteral("IgnoreAllCapsWords"), true);
        QVERIFY(!underlined());
        QVERIFY(!changed());
        QVERIFY(!saveEnabled());

        // Typing still marks the form changed, and a new unknown word is underlined at once.
        comments()->setFocus();
        comments()->moveCursor(QTextCursor::End);
        QTest::keyClicks(comments(), QStringLiteral(" zqxw"));
        QVERIFY(changed());
        QVERIFY(underlined());
    }

    void theProgramsOwnTextIsNotUnderlined()
    {
        m_userFolder = std::make_unique<TestFolder>();
        m_component = spelling::createSpellingComponent(QString(), m_userFolder->path());
        m_realSpelling = m_component.get();
        start(QByteArray()); // no tutor monitoring file: the read-only box says so, path and all
        QTRY_VERIFY(comments()->findChild<spelling::AsYouType *>());
        QVERIFY(comments()->isReadOnly());
        QVERIFY(!underlined());
        comments()->setReadOnly(false); // the same text as the monitor's own is checked
        QTRY_VERIFY(underlined());      // once the dictionary has loaded
    }

    void aCheckWhileTheDictionaryLoadsWaitsForIt()
    {
        startWithComponent("The tutor did recieve praise.");
        // The dictionary starts loading on its own thread once the box has painted.
        for (int i = 0; i < 500 && !comments()->findChild<spelling::AsYouType *>(); ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QVERIFY2(m_realSpelling->preparing(), "the dictionary was loaded before the check");
        QVERIFY(checkStopsAtAWord());
        QCOMPARE(m_messages.texts, QStringList{kComplete});
        QVERIFY(underlined());
    }

    void aSuggestionFromTheContextMenuIsAnEdit()
    {
        startWithComponent("The tutor did recieve praise.");
        QTRY_VERIFY(underlined());
        QTextCursor cursor = comments()->textCursor();
        cursor.setPosition(16);
        const QPoint pos = comments()->cursorRect(cursor).center();
        std::unique_ptr<QMenu> menu(
            comments()->findChild<spelling::AsYouType *>()->createContextMenu(pos));
        menu->actions().value(0)->trigger();
        QCOMPARE(comments()->toPlainText(), QStringLiteral("The tutor did receive praise."));
        QVERIFY(changed());
        QVERIFY(saveEnabled());
        QVERIFY(!underlined());
    }
};

QTEST_MAIN(MonFormSpellingTest)
#include "monformspelling_test.moc"
