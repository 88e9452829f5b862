// The previous monitor forms window and the monitor comments document, on the offscreen
// platform with a shell that records what it is asked to open.
#include "formfixture.h"

#include "previousformswindow.h"
#include "twipsconvert.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTest>

class PreviousFormsTest : public QObject, public FormFixture
{
    Q_OBJECT

private:
    inline static const QString kTutorFolder = QStringLiteral("M101-05B/02/T1/X");

    QString inTutorFolder(const QString &name) const
    {
        return m_root->path(kTutorFolder + u'/' + name);
    }
    void writeToTutorFolder(const QStringList &names) const
    {
        for (const QString &name : names)
            m_root->write(kTutorFolder + u'/' + name, "x");
    }

    std::unique_ptr<MonFormEntry> startWithForms(const QStringList &names)
    {
        auto form = startForm(fixture(QStringLiteral("laid_out.fhi")));
        writeToTutorFolder(names);
        return form;
    }

    static frmViewPreviousMonitorForms *window(const MonFormEntry &form)
    {
        return form.findChild<frmViewPreviousMonitorForms *>();
    }

    // Shows the window by its View menu item and waits until it can be clicked.
    static frmViewPreviousMonitorForms *showWindow(MonFormEntry &form)
    {
        form.menuItem("mnuViewPreviousMonitorFormsWindow")->trigger();
        frmViewPreviousMonitorForms *shown = window(form);
        if (shown && !QTest::qWaitForWindowExposed(shown))
            return nullptr;
        return shown;
    }

    static QStringList lines(const frmViewPreviousMonitorForms &w)
    {
        QStringList result;
        for (int row = 0; row < w.lstTable()->count(); ++row)
            result << w.lstTable()->item(row)->text();
        return result;
    }
    static QStringList sorted(QStringList names)
    {
        names.sort();
        return names;
    }

    static QListWidgetItem *item(const frmViewPreviousMonitorForms &w, const QString &text)
    {
        const QList<QListWidgetItem *> found = w.lstTable()->findItems(text, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }
    static void clickItem(const frmViewPreviousMonitorForms &w, const QString &text,
                          Qt::MouseButton button = Qt::LeftButton,
                          Qt::KeyboardModifiers modifiers = {})
    {
        QListWidget *list = w.lstTable();
        QTest::mouseClick(list->viewport(), button, modifiers,
                          list->visualItemRect(item(w, text)).center());
    }

    bool callsAre(FakeShell::Operation operation, const QStringList &paths, QWidget *owner) const
    {
        if (m_shell.calls.size() != paths.size())
            return false;
        for (int i = 0; i < paths.size(); ++i) {
            const FakeShell::Call &call = m_shell.calls.at(i);
            if (call.operation != operation || call.path != paths.at(i) || call.owner != owner)
                return false;
        }
        return true;
    }

    // Twips at the window's resolution.
    static int px(const QWidget &w, int twips) { return twipsToPixels(twips, w.logicalDpiX()); }
    static int twipsWide(const QWidget &w, int pixels)
    {
        return pixelsToTwips(pixels, w.logicalDpiX());
    }
    static int twipsHigh(const QWidget &w, int pixels)
    {
        return pixelsToTwips(pixels, w.logicalDpiY());
    }

    // Pixels the buttons were widened by for their captions; each caption fits with the style's
    // margins.
    static int buttonGrowth(const frmViewPreviousMonitorForms &w)
    {
        for (const QPushButton *b : {w.cmdOpen(), w.cmdOpenWith(), w.cmdCancel()}) {
            const int margins = 2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin) +
                                2 * b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
            const int caption = b->fontMetrics().horizontalAdvance(QString(b->text()).remove(u'&'));
            if (caption + margins > b->width())
                return -1;
        }
        return w.cmdOpen()->width() - px(w, 975);
    }

    const QStringList kListed = {QStringLiteral("TMA01 monitor form.doc"),
                                 QStringLiteral("tma03.rtf"), QStringLiteral("Tma04.doc"),
                                 QStringLiteral("tMA08.rtf"), QStringLiteral("TMA7")};
    const QStringList kNotListed = {QStringLiteral("TMA1.doc"),
                                    QStringLiteral("TMA 1.doc"),
                                    QStringLiteral("TMA.doc"),
                                    QStringLiteral("Monitor TMA01.doc"),
                                    QStringLiteral("monitor_comments.rtf"),
                                    QStringLiteral(".TMA06.doc")};

private slots:
    void init() { resetFakes(); }

    void laidOutAsDesignedBeforeItIsShown()
    {
        TestFolder folder;
        frmViewPreviousMonitorForms w(folder.path(), m_shell);
        QCOMPARE(w.objectName(), QStringLiteral("frmViewPreviousMonitorForms"));
        QCOMPARE(w.windowTitle(), QStringLiteral("View Previous Monitor Form's - Norvale Quillet "
                                                 "Monitor File Handler"));
        // As designed, but for buttons wide enough for their captions and the window with them.
        const int growth = buttonGrowth(w);
        QVERIFY(growth >= 0);
        QCOMPARE(w.size(), QSize(px(w, 6750) + growth, px(w, 2145)));
        const auto design = [&w](int left, int top, int width, int height) {
            return QRect(px(w, left), px(w, top), px(w, width), px(w, height));
        };
        QCOMPARE(w.lstTable()->geometry(), design(60, 60, 4905, 2010));
        QCOMPARE(w.cmdOpen()->geometry(), design(5610, 75, 975, 345).adjusted(0, 0, growth, 0));
        QCOMPARE(w.cmdOpenWith()->geometry(),
                 design(5610, 530, 975, 345).adjusted(0, 0, growth, 0));
        QCOMPARE(w.cmdCancel()->geometry(), design(5610, 1740, 975, 345).adjusted(0, 0, growth, 0));
        QCOMPARE(w.cmdOpen()->text(), QStringLiteral("&Open"));
        QCOMPARE(w.cmdOpenWith()->text(), QStringLiteral("Op&en With"));
        QCOMPARE(w.cmdCancel()->text(), QStringLiteral("&Cancel"));
        QCOMPARE(w.lstTable()->count(), 0);
        QVERIFY(w.lstTable()->selectedItems().isEmpty());
        QVERIFY(!w.cmdOpen()->isEnabled());
        QVERIFY(!w.cmdOpenWith()->isEnabled());
        QVERIFY(w.cmdCancel()->isEnabled());
    }

    void tabGoesFromTheListThroughTheButtons()
    {
        auto form = startWithForms(kListed);
        frmViewPreviousMonitorForms *w = showWindow(*form);
        QVERIFY(w);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->lstTable()->setFocus();
        // Enabled, so that every button takes its turn.
        clickItem(*w, kListed.first());
        QStringList order;
        for (int i = 0; i < 4; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order, (QStringList{QStringLiteral("lstTable"), QStringLiteral("cmdOpen"),
                                     QStringLiteral("cmdOpenWith"), QStringLiteral("cmdCancel")}));
    }

    void listsThePreviousFormsOfTheTutorFolderAtTheTopLeft()
    {
        auto form = startWithForms(kListed + kNotListed);
        QVERIFY(QDir().mkpath(inTutorFolder(QStringLiteral("TMA05"))));
        frmViewPreviousMonitorForms *w = showWindow(*form);
        QVERIFY(w);
        QCOMPARE(sorted(lines(*w)), sorted(kListed));
        QCOMPARE(w->CompanionFolderPath(), form->TutorFolderPath() + u'\\');
        QCOMPARE(w->frameGeometry().topLeft(), QPoint(0, 0));
        QVERIFY(w->isWindow());
        QVERIFY(!w->isModal());
        QVERIFY(w->lstTable()->selectedItems().isEmpty());
        QVERIFY(!w->cmdOpen()->isEnabled());
    }

    void aFolderWithoutFormsLeavesOpenDisabled()
    {
        auto form = startWithForms({QStringLiteral("TMA1.doc")});
        frmViewPreviousMonitorForms *w = showWindow(*form);
        QVERIFY(w);
        QCOMPARE(w->lstTable()->count(), 0);
        QTest::mouseClick(w->lstTable()->viewport(), Qt::LeftButton);
        QTest::mouseClick(w->lstTable()->viewport(), Qt::RightButton);
        QVERIFY(!w->cmdOpen()->isEnabled());
        QVERIFY(!w->cmdOpenWith()->isEnabled());
        QVERIFY(m_shell.calls.isEmpty());
    }

    void clickingAnItemEnablesOpenForGood()
    {
        auto form = startWithForms(kListed);
        frmViewPreviousMonitorForms *w = showWindow(*form);
        QVERIFY(w);
        clickItem(*w, QStringLiteral("tma03.rtf"));
        QVERIFY(w->cmdOpen()->isEnabled());
        QVERIFY(w->cmdOpenWith()->isEnabled());
        // Taking the selection away leaves the buttons enabled, but there is nothing to open.
        clickItem(*w, QStringLiteral("tma03.rtf"), Qt::LeftButton, Qt::ControlModifier);
        QVERIFY(w->lstTable()->selectedItems().isEmpty());
        QVERIFY(w->cmdOpen()->isEnabled());
        QVERIFY(w->cmdOpenWith()->isEnabled());
        QTest::mouseClick(w->cmdOpen(), Qt::LeftButton);
        QTest::mouseClick(w->cmdOpenWith(), Qt::LeftButton);
        QVERIFY(m_shell.calls.isEmpty());
    }

    void openAndDoubleClickOpenTheSelectedForm()
    {
        auto form = startWithForms(kListed);
        frmViewPreviousMonitorForms *w = showWindow(*form);
        QVERIFY(w);
        clickItem(*w, QStringLiteral("TMA01 monitor form.doc"));
        QTest::mouseClick(w->cmdOpen(), Qt::LeftButton);
        clickItem(*w, QStringLiteral("TMA7"));
        QTest::mouseDClick(
            w->lstTable()->viewport(), Qt::LeftButton, {},
            w->lstTable()->visualItemRect(item(*w, QStringLiteral("TMA7"))).center());
        QVERIFY(callsAre(FakeShell::Operation::Open,
                         {inTutorFolder(QStringLiteral("TMA01 monitor form.doc")),
                          inTutorFolder(QStringLiteral("TMA7"))},
                         w));
        QVERIFY(w->isVisible()); // it stays open
    }

    void openWithAndTheRightButtonLetTheMonitorChoose()
    {
        auto form = startWithForms(kListed);
        frmViewPreviousMonitorForms *w = showWindow(*form);
        QVERIFY(w);
        clickItem(*w, QStringLiteral("Tma04.doc"));
        QTest::mouseClick(w->cmdOpenWith(), Qt::LeftButton);
        // The right button over another line asks for the selected one and leaves the selection.
        clickItem(*w, QStringLiteral("tMA08.rtf"), Qt::RightButton);
        QCOMPARE(w->lstTable()->selectedItems().first()->text(), QStringLiteral("Tma04.doc"));
        QVERIFY(callsAre(FakeShell::Operation::OpenWith,
                         {inTutorFolder(QStringLiteral("Tma04.doc")),
                          inTutorFolder(QStringLiteral("Tma04.doc"))},
                         w));
    }

    void theRightButtonWithoutASelectionDoesNothing()
    {
        auto form = startWithForms(kListed);
        frmViewPreviousMonitorForms *w = showWindow(*form);
        QVERIFY(w);
        clickItem(*w, QStringLiteral("TMA7"), Qt::RightButton);
        QVERIFY(m_shell.calls.isEmpty());
        QVERIFY(w->lstTable()->selectedItems().isEmpty());
        QVERIFY(!w->cmdOpenWith()->isEnabled());
    }

    void showingItAgainBringsItForwardAndCancelDiscardsIt()
    {
        auto form = startWithForms({QStringLiteral("TMA01.doc")});
        QPointer<frmViewPreviousMonitorForms> first = showWindow(*form);
        QVERIFY(first);
        clickItem(*first, QStringLiteral("TMA01.doc"));
        writeToTutorFolder({QStringLiteral("TMA02.doc")});

        // Toolbar button 14 while it is open: the same window, listed as it was.
        form->toolbarButton(14)->trigger();
        QCOMPARE(form->findChildren<frmViewPreviousMonitorForms *>().size(), 1);
        QCOMPARE(window(*form), first.data());
        QCOMPARE(lines(*first), QStringList{QStringLiteral("TMA01.doc")});
        QVERIFY(first->cmdOpen()->isEnabled());

        QTest::mouseClick(first->cmdCancel(), Qt::LeftButton);
        QTRY_VERIFY(!first);
        QVERIFY(!window(*form));

        frmViewPreviousMonitorForms *second = showWindow(*form);
        QVERIFY(second);
        QCOMPARE(sorted(lines(*second)),
                 (QStringList{QStringLiteral("TMA01.doc"), QStringLiteral("TMA02.doc")}));
        QVERIFY(!second->cmdOpen()->isEnabled());

        // Escape cancels too.
        QPointer<frmViewPreviousMonitorForms> third = second;
        QVERIFY(QTest::qWaitForWindowActive(third));
        QTest::keyClick(third->cmdCancel(), Qt::Key_Escape);
        QTRY_VERIFY(!third);
    }

    void resizingKeepsTheButtonsAtTheRightEdge_data()
    {
        QTest::addColumn<QSize>("twips"); // the size asked for, inside the frame
        QTest::addColumn<bool>("listWidens");
        QTest::addColumn<bool>("listHeightens");
        QTest::newRow("as designed") << QSize(6750, 2145) << true << true;
        QTest::newRow("larger") << QSize(12000, 6000) << true << true;
        QTest::newRow("narrower than 1200") << QSize(900, 2145) << false << true;
        QTest::newRow("lower than 570") << QSize(6750, 450) << true << false;
    }
    void resizingKeepsTheButtonsAtTheRightEdge()
    {
        QFETCH(QSize, twips);
        QFETCH(bool, listWidens);
        QFETCH(bool, listHeightens);
        auto form = startWithForms(kListed);
        frmViewPreviousMonitorForms *w = showWindow(*form);
        QVERIFY(w);
        // Shown: the rule has run once already. Wider buttons count as that much less window.
        const int growth = buttonGrowth(*w);
        QVERIFY(growth >= 0);
        const QRect shown = w->frameGeometry();
        QCOMPARE(w->lstTable()->width(), px(*w, twipsWide(*w, shown.width()) - 1200) - growth);

        const QRect listBefore = w->lstTable()->geometry();
        w->resize(px(*w, twips.width()), px(*w, twips.height()));
        QTRY_COMPARE(w->size(), QSize(px(*w, twips.width()), px(*w, twips.height())));
        const int outerWidth = twipsWide(*w, w->frameGeometry().width());
        const int outerHeight = twipsHigh(*w, w->frameGeometry().height());
        const QRect list = w->lstTable()->geometry();
        QCOMPARE(list.topLeft(), listBefore.topLeft());
        QCOMPARE(list.width(),
                 listWidens ? px(*w, outerWidth - 1200) - growth : listBefore.width());
        QCOMPARE(list.height(), listHeightens ? twipsToPixels(outerHeight - 570, w->logicalDpiY())
                                              : listBefore.height());
        for (const QPushButton *button : {w->cmdOpen(), w->cmdOpenWith(), w->cmdCancel()})
            QCOMPARE(button->x(), px(*w, outerWidth - 1100) - growth);
        QVERIFY(!listWidens || list.right() < w->cmdOpen()->x());
        QCOMPARE(w->cmdOpen()->y(), px(*w, 75)); // the buttons keep their tops
        QCOMPARE(w->cmdCancel()->geometry().bottom(), list.bottom());
    }

    void commentsDocumentIsCreatedOnceAndOpened()
    {
        auto form = startForm(fixture(QStringLiteral("laid_out.fhi")));
        const QString path = inTutorFolder(QStringLiteral("monitor_comments.rtf"));
        QVERIFY(!QFile::exists(path));
        const QWidgetList before = QApplication::topLevelWidgets();

        form->menuItem("mnuViewMonitorCommentsWindow")->trigger();
        QCOMPARE(QFileInfo(path).size(), 0);
        QVERIFY(QFileInfo(path).isFile());
        // The monitor's word processor writes into it; opening it again changes nothing.
        m_root->write(kTutorFolder + QStringLiteral("/monitor_comments.rtf"), "{\\rtf1 notes}");
        form->toolbarButton(13)->trigger();
        QCOMPARE(m_root->read(kTutorFolder + QStringLiteral("/monitor_comments.rtf")),
                 QByteArray("{\\rtf1 notes}"));

        QVERIFY(callsAre(FakeShell::Operation::Open, {path, path}, form.get()));
        QCOMPARE(QApplication::topLevelWidgets(), before); // no window of ours
        QVERIFY(m_messages.texts.isEmpty());
    }

    void commentsDocumentThatCannotBeCreatedIsReported()
    {
        auto form = startForm(fixture(QStringLiteral("laid_out.fhi")));
        QVERIFY(QDir(m_root->path(kTutorFolder)).removeRecursively());
        form->toolbarButton(13)->trigger();
        QVERIFY(m_shell.calls.isEmpty());
        QCOMPARE(m_messages.texts.size(), 1);
        QVERIFY(m_messages.texts.first().startsWith(
            QStringLiteral("The monitor comments document could not be created:\n")));
        QVERIFY(m_messages.texts.first().contains(QStringLiteral("monitor_comments.rtf")));
    }

    void pictureOfTheSampleTutorFolder()
    {
        TestFolder copy;
        copy.copyTree(QStringLiteral(MONITOR_SAMPLE_DIR "/monitor-root/M101-05B/03/00417263/MON1"),
                      QStringLiteral("MON1"));
        frmViewPreviousMonitorForms w(copy.path(QStringLiteral("MON1")), m_shell);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(lines(w), (QStringList{QStringLiteral("TMA01.rtf"), QStringLiteral("TMA02.rtf")}));
        const QPixmap picture = w.grab();
        QCOMPARE(picture.size(), w.size() * picture.devicePixelRatio());
        QVERIFY(picture.save(QStringLiteral(MONITOR_SCREENSHOT_PATH)));
    }
};

QTEST_MAIN(PreviousFormsTest)
#include "previousforms_test.moc"
