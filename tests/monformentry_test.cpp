// The monitoring form on the offscreen platform, with fakes for everything outside it.
#include "formfixture.h"

#include "tutorfilegenerator.h"

#include "monitorgrid.h"
#include "toolbarimages.h"
#include "twips.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QWindow>

class MonFormEntryTest : public QObject, public FormFixture
{
    Q_OBJECT

private:
    std::unique_ptr<MonFormEntry> start(const QByteArray &file,
                                        const QStringList &arguments = words())
    {
        return startForm(file, arguments);
    }

    static QString label(const MonFormEntry &form, const char *name)
    {
        return form.findChild<QLabel *>(QLatin1String(name))->text();
    }
    static MonitorGrid *grid(const MonFormEntry &form, const char *name)
    {
        return form.findChild<MonitorGrid *>(QLatin1String(name));
    }
    static QPlainTextEdit *comments(const MonFormEntry &form)
    {
        return form.findChild<QPlainTextEdit *>(QStringLiteral("TxtMonitorComments"));
    }
    // The family the design's font resolves to; font lookups made so far are forgotten.
    static void useFontForDesign(const QStringList &families)
    {
        QFont::removeSubstitutions(designFont().family());
        QFont::insertSubstitutions(designFont().family(), families);
        QFontDatabase::removeAllApplicationFonts();
    }
    static QRect twipsGeometry(const MonFormEntry &form)
    {
        const Twips twips(&form);
        const QRect g = form.frameGeometry();
        return {twips.fromPixelsX(g.x()), twips.fromPixelsY(g.y()), twips.fromPixelsX(g.width()),
                twips.fromPixelsY(g.height())};
    }

private slots:
    void init()
    {
        resetFakes();
        m_processes.names = {QStringLiteral("systemd"), QStringLiteral("zuruzovirurEDAR.exe")};
    }

    void endsSilentlyWithoutTheFileHandler()
    {
        m_processes.names = {QStringLiteral("bash")};
        auto form = start(fixture(QStringLiteral("laid_out.fhi")));
        QVERIFY(!m_loaded);
        QVERIFY(m_messages.texts.isEmpty());
        QCOMPARE(m_endpoint.opens, 0);
    }

    void refusesAMissingOrShortCommandLine_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("message");
        const QString notCalled = QStringLiteral(
            "This application must be called from the Norvale Quillet Monitor File Handler");
        QTest::newRow("empty") << QStringList() << notCalled;
        QTest::newRow("four words") << words().mid(0, 4) << notCalled;
        QTest::newRow("blanks only") << QStringList{QStringLiteral("   ")} << notCalled;
        QTest::newRow("climbs out")
            << QStringList{QStringLiteral("..")} + words().mid(1)
            << QStringLiteral("The folder name \"..\" on the command line is not allowed: it would "
                              "lead outside the monitoring folders. Nothing was opened.");
    }
    void refusesAMissingOrShortCommandLine()
    {
        QFETCH(QStringList, words);
        QFETCH(QString, message);
        auto form = start(fixture(QStringLiteral("laid_out.fhi")), words);
        QVERIFY(!m_loaded);
        QCOMPARE(m_messages.texts, QStringList{message});
        QCOMPARE(m_endpoint.opens, 0);
    }

    void showsTheSampleFile()
    {
        m_settings.setPref(QStringLiteral("MonitorChanges"), QStringLiteral("True"));
        auto form = start(fixture(QStringLiteral("laid_out.fhi")));
        QVERIFY(m_loaded);
        QVERIFY(form->formLoaded());
        QCOMPARE(form->windowTitle(),
                 QStringLiteral("Monitor Entry Form - Norvale Quillet Monitor File Handler"));
        QCOMPARE(label(*form, "lbTutor"),
                 QStringLiteral("Tutor: 00417263  Okonkwo-Reilly, Margaret Ann (New)"));
        QCOMPARE(label(*form, "lbRegion"), QStringLiteral("Appt Region: 07"));
        QCOMPARE(label(*form, "lbCourseData"),
                 QStringLiteral("Course: M101-05B   TMA: 02   Level: 2"));

        MonitorGrid *students = grid(*form, "MonFlex1");
        QCOMPARE(students->rows(), 5);
        QCOMPARE(students->textMatrix(0, 2), QStringLiteral("Summary/feedback "));
        QCOMPARE(students->textMatrix(1, 0), QStringLiteral("N\u00ed Bhriain, Siobh\u00e1n"));
        QCOMPARE(students->textMatrix(2, 1), QStringLiteral("Lenient"));
        QCOMPARE(students->textMatrix(4, 4), QStringLiteral("D1357924"));
        QVERIFY(students->isColHidden(4));
        QCOMPARE(students->colWidthTwips(2), 2100);
        const int expectedHeight = qMin((students->rowHeightTwips(0) + 30) * 5 - 1, 1035);
        QVERIFY(qAbs(Twips(form.get()).fromPixelsY(students->height()) - expectedHeight) <= 15);

        MonitorGrid *criteria = grid(*form, "MonFlex2");
        QCOMPARE(criteria->textMatrix(1, 1), QStringLiteral("E"));
        QCOMPARE(criteria->textMatrix(9, 3), QStringLiteral("I"));
        QCOMPARE(criteria->textMatrix(7, 2),
                 QStringLiteral("13) Identifies excessive or insufficient length "));
        QCOMPARE(criteria->textMatrix(7, 0), QString());

        QVERIFY(comments(*form)->toPlainText().contains(QStringLiteral("Q3 & Q4")));
        QVERIFY(comments(*form)->toPlainText().contains(QStringLiteral("(< half")));
        QVERIFY(form->menuItem("mnuSave")->isEnabled());
        QVERIFY(form->toolbarButton(1)->isEnabled());
        QVERIFY(form->menuItem("mnuClose")->isEnabled());
        QCOMPARE(m_endpoint.opens, 1);
        QCOMPARE(form->TutorFolderPath(), m_root->path(QStringLiteral("M101-05B/02/T1/X")));
    }

    // The sample tutor in the fonts installed here (Liberation Sans for the design's font; DejaVu
    // Sans is wider): every text whole, no label over the next, no grid scrolling.
    void wholeTextsInTheFontInUse_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<QByteArray>("surname");
        QTest::newRow("sample") << QString() << QByteArray("Okonkwo-Reilly");
        QTest::newRow("long name, elided") << QString() << QByteArray(60, 'W');
        QTest::newRow("wider font")
            << QStringLiteral("DejaVu Sans") << QByteArray("Okonkwo-Reilly");
    }
    void wholeTextsInTheFontInUse()
    {
        QFETCH(QString, font);
        QFETCH(QByteArray, surname);
        const QStringList designed = QFont::substitutes(designFont().family());
        useFontForDesign(font.isEmpty() ? designed : QStringList{font});
        QFile sample(QStringLiteral(MONITOR_SAMPLE_DIR "/monitor-root/M101-05B/03/00417263/MON1/"
                                                       "monitor.fhi"));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        auto form = start(sample.readAll().replace("Okonkwo-Reilly", surname));
        useFontForDesign(designed);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        int right = 0;
        for (const char *name :
             {"lbTutor", "lbCourseData", "lbRegion", "Label24", "Label18", "Label1"}) {
            const QLabel *l = form->findChild<QLabel *>(QLatin1String(name));
            if (name[0] == 'L')
                right = -1; // not in the header's row
            QVERIFY2(l->width() >= l->fontMetrics().horizontalAdvance(l->text()), name);
            QVERIFY2(l->x() > right && l->parentWidget()->contentsRect().contains(l->geometry()),
                     name);
            right = l->geometry().right();
        }
        const QLabel *tutor = form->findChild<QLabel *>(QStringLiteral("lbTutor"));
        QVERIFY(tutor->text().endsWith(QStringLiteral(" (New)")));
        QCOMPARE(tutor->toolTip().contains(QLatin1String(surname)), surname.size() > 30);

        MonitorGrid *criteria = grid(*form, "MonFlex2");
        const int margins = 2 * (criteria->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
        // At the start, and after the defaults are restored.
        for (const bool restored : {false, true}) {
            if (restored)
                form->menuItem("mnuRestoreSettings")->trigger();
            for (int cell = 0; cell < 2 * criteria->rows(); ++cell) {
                const QString caption = criteria->textMatrix(cell / 2, cell % 2 * 2).trimmed();
                QVERIFY2(criteria->fontMetrics().horizontalAdvance(caption) + margins <
                             criteria->columnWidth(cell % 2 * 2),
                         qPrintable(caption));
            }
        }
        QVERIFY(!criteria->verticalScrollBar()->isVisible());
        QVERIFY(!criteria->horizontalScrollBar()->isVisible());
        QVERIFY(criteria->mapTo(form.get(), QPoint(criteria->width(), 0)).x() <= form->width());
        QVERIFY(criteria->geometry().bottom() <
                form->findChild<QLabel *>(QStringLiteral("Label18"))->y());
    }

    void widensRatingColumnsForFewStudentsAndDisablesSave()
    {
        auto form = start(generateTutorFile({3, 1, true}));
        QCOMPARE(grid(*form, "MonFlex1")->colWidthTwips(3), 2190);
        QVERIFY(!form->menuItem("mnuSave")->isEnabled());
        QVERIFY(!form->toolbarButton(1)->isEnabled());
    }

    void enableMenusFollowsPreviousForms()
    {
        auto form = start(fixture(QStringLiteral("laid_out.fhi")));
        QVERIFY(form->menuItem("mnuViewPreviousMonitorFormsWindow")->isEnabled());
        QVERIFY(!form->menuItem("mnuCopy")->isEnabled());
        QVERIFY(form->toolbarButton(4)->isEnabled());
        QVERIFY(!form->toolbarButton(11)->isEnabled());
        QVERIFY(!form->toolbarButton(12)->isEnabled());

        QByteArray file = fixture(QStringLiteral("laid_out.fhi"));
        file.replace("<previous_monitor_forms>TMA01<", "<previous_monitor_forms>No<");
        form = start(file);
        QVERIFY(!form->menuItem("mnuViewPreviousMonitorFormsWindow")->isEnabled());
        QVERIFY(!form->toolbarButton(14)->isEnabled());
    }

    void firstStartUsesDefaultPlacementAndFont()
    {
        auto form = start(fixture(QStringLiteral("laid_out.fhi")));
        form->show();
        const QRect g = twipsGeometry(*form);
        QCOMPARE(g.topLeft(), QPoint(0, 0));
        QVERIFY(qAbs(g.width() - 9600) <= 15 && qAbs(g.height() - 6705) <= 15);
        QVERIFY(!form->isTopMost());
        QCOMPARE(comments(*form)->font().pointSize(), 8);
        QCOMPARE(form->findChild<QComboBox *>(QStringLiteral("cmbFontSize"))->currentText(),
                 QStringLiteral("Small"));
        QVERIFY(form->spellingOptions().value(QStringLiteral("AutoCorrect")));
        QVERIFY(!form->spellingOptions().value(QStringLiteral("PhoneticSuggestions")));
    }

    void storedPreferencesAreApplied()
    {
        m_settings.setPref(QStringLiteral("monitoring_form_left"), QStringLiteral("1500.5abc"));
        m_settings.setPref(QStringLiteral("monitoring_form_top"), QStringLiteral("abc"));
        m_settings.setPref(QStringLiteral("monitoring_form_width"), QStringLiteral("0"));
        m_settings.setPref(QStringLiteral("monitoring_always_on_top"), QStringLiteral("Y"));
        m_settings.setPref(QStringLiteral("mon_form_entry_font_size"), QStringLiteral("Huge"));
        m_settings.setPref(QStringLiteral("CaseSensitive"), QStringLiteral("False"));
        m_settings.setPref(QStringLiteral("AutoCorrect"), QStringLiteral("perhaps"));
        auto form = start(fixture(QStringLiteral("laid_out.fhi")));
        form->show();
        const QRect g = twipsGeometry(*form);
        QCOMPARE(g.left(), 1500); // 1500.5 rounds to the even neighbour
        QCOMPARE(g.top(), 0);
        // A width of 0 leaves the designed client width.
        QVERIFY(qAbs(Twips(form.get()).fromPixelsX(form->width()) - 10035) <= 15);
        QVERIFY(form->isTopMost());
        QVERIFY(form->menuItem("mnuAlwaysOnTop")->isChecked());
        // A size the list does not offer is the default; nothing else can be typed in.
        auto *list = form->findChild<QComboBox *>(QStringLiteral("cmbFontSize"));
        QCOMPARE(list->currentText(), QStringLiteral("Small"));
        QCOMPARE(list->count(), 3);
        QVERIFY(!list->isEditable());
        QCOMPARE(comments(*form)->font().pointSize(), 8);
        QVERIFY(!form->spellingOptions().value(QStringLiteral("CaseSensitive")));
        QVERIFY(form->spellingOptions().value(QStringLiteral("AutoCorrect")));
    }

    void placementOutOfSightStartsAtTheCorner_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("beyond the right edge")
            << QStringLiteral("99999999") << QStringLiteral("0") << QPoint(0, 0);
        QTest::newRow("above the screen")
            << QStringLiteral("300") << QStringLiteral("-40000") << QPoint(0, 0);
        QTest::newRow("partly on the screen")
            << QStringLiteral("-3000") << QStringLiteral("600") << QPoint(-3000, 600);
    }

    void placementOutOfSightStartsAtTheCorner()
    {
        QFETCH(QString, left);
        QFETCH(QString, top);
        QFETCH(QPoint, expected);
        m_settings.setPref(QStringLiteral("monitoring_form_left"), left);
        m_settings.setPref(QStringLiteral("monitoring_form_top"), top);
        auto form = start(fixture(QStringLiteral("laid_out.fhi")));
        form->show();
        const QRect g = twipsGeometry(*form);
        QVERIFY2(qAbs(g.left() - expected.x()) <= 15 && qAbs(g.top() - expected.y()) <= 15,
                 qPrintable(QStringLiteral("%1,%2").arg(g.left()).arg(g.top())));
    }

    void fontSizeRule()
    {
        auto form = start(fixture(QStringLiteral("laid_out.fhi")));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        auto *list = form->findChild<QComboBox *>(QStringLiteral("cmbFontSize"));
        list->setCurrentIndex(2);
        emit list->activated(2);
        QCOMPARE(comments(*form)->font().pointSize(), 18);
        QVERIFY(comments(*form)->hasFocus());
        list->setFocus();
        emit list->activated(2);
        QVERIFY(!comments(*form)->hasFocus());
        // The arrow keys go through the sizes and leave the focus in the list.
        list->setCurrentIndex(0);
        emit list->activated(0);
        for (const int points : {12, 18}) {
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Down);
            QCOMPARE(comments(*form)->font().pointSize(), points);
            QVERIFY(list->hasFocus());
        }
    }

    void aRingShowsWhichControlHasTheFocus()
    {
        auto form = start(fixture(QStringLiteral("laid_out.fhi")));
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        for (const char *name : {"MonFlex1", "MonFlex2", "cmbFontSize", "TxtMonitorComments"}) {
            auto *control = form->findChild<QWidget *>(QLatin1String(name));
            control->setFocus(Qt::TabFocusReason);
            const auto *ring = form->findChild<QWidget *>(QStringLiteral("focusRing"));
            QVERIFY(ring && ring->isVisible() && ring->parentWidget() == control->parentWidget());
            QCOMPARE(ring->geometry(), control->geometry().adjusted(-2, -2, 2, 2));
        }
    }

    void resizeRule()
    {
        auto form = start(fixture(QStringLiteral("laid_out.fhi")));
        form->show();
        const Twips twips(form.get());
        for (const int asked : {9000, 5000}) {
            // The rule works on the outer size, frame included.
            const QMargins frame = form->windowHandle()->frameMargins();
            form->resize(twips.toPixelsX(12000) - frame.left() - frame.right(),
                         twips.toPixelsY(asked) - frame.top() - frame.bottom());
            // Too small for every control: the window keeps the height at which all show, three
            // lines of comments included.
            const int heightTwips = twipsGeometry(*form).height();
            QVERIFY(asked < 5800 ? heightTwips > 5800 : qAbs(heightTwips - asked) <= 15);
            QVERIFY(comments(*form)->height() >= 3 * comments(*form)->fontMetrics().lineSpacing());
            const auto *frame1 = form->findChild<QFrame *>(QStringLiteral("Frame1"));
            QVERIFY(qAbs(twips.fromPixelsY(frame1->height()) - (heightTwips - 10)) <= 15);
            QVERIFY(qAbs(twips.fromPixelsY(comments(*form)->height()) -
                         qMax(0, heightTwips - 5800)) <= 15);
            QVERIFY(qAbs(twips.fromPixelsX(comments(*form)->width()) - (12000 - 100)) <= 15);
        }
        // Nor can it be made so narrow that the ratings are cut off.
        form->resize(100, form->height());
        const MonitorGrid *criteria = grid(*form, "MonFlex2");
        QVERIFY(criteria->mapTo(form.get(), QPoint(criteria->width(), 0)).x() <= form->width());
    }

    void restoreSystemDefaults()
    {
        m_settings.setPref(QStringLiteral("monitoring_always_on_top"), QStringLiteral("Y"));
        auto form = start(generateTutorFile({3, 1, true}));
        form->menuItem("mnuRestoreSettings")->trigger();
        QCOMPARE(m_settings.pref(QStringLiteral("AutoCorrect")), QStringLiteral("False"));
        QCOMPARE(m_settings.pref(QStringLiteral("SuggestSplitWords")), QStringLiteral("False"));
        QCOMPARE(m_settings.pref(QStringLiteral("CatchDoubledWords")), QStringLiteral("True"));
        QVERIFY(!form->spellingOptions().value(QStringLiteral("IgnoreMixedCaseWords")));
        QVERIFY(!form->isTopMost());
        QVERIFY(!form->menuItem("mnuAlwaysOnTop")->isChecked());
        QCOMPARE(grid(*form, "MonFlex1")->colWidthTwips(2), 2190);
        const QRect g = twipsGeometry(*form);
        QVERIFY(qAbs(g.width() - 9600) <= 15 && qAbs(g.height() - 6705) <= 15);
        // Placement and always-on-top wait for closing.
        QVERIFY(!m_settings.hasPref(QStringLiteral("monitoring_form_width")));
        QCOMPARE(m_settings.pref(QStringLiteral("monitoring_always_on_top")), QStringLiteral("Y"));
    }

    void closingStoresThePreferences()
    {
        auto form = start(fixture(QStringLiteral("laid_out.fhi")));
        form->show();
        form->menuItem("mnuAlwaysOnTop")->trigger();
        form->close();
        QCOMPARE(m_settings.pref(QStringLiteral("monitoring_always_on_top")), QStringLiteral("Y"));
        QCOMPARE(m_settings.pref(QStringLiteral("mon_form_entry_font_size")),
                 QStringLiteral("Small"));
        QVERIFY(qAbs(m_settings.pref(QStringLiteral("monitoring_form_width")).toInt() - 9600) <=
                15);
        QCOMPARE(m_endpoint.closes, 1);

        m_settings.values.clear();
        form = start(fixture(QStringLiteral("laid_out.fhi")));
        form->showMinimized();
        form->close();
        QVERIFY(!m_settings.hasPref(QStringLiteral("monitoring_form_width")));
        QCOMPARE(m_settings.pref(QStringLiteral("monitoring_always_on_top")), QStringLiteral("N"));
    }

    void missingFileIsSaidPlainly()
    {
        m_settings.setPref(QStringLiteral("MonitorChanges"), QStringLiteral("True"));
        auto form = start(QByteArray());
        QVERIFY(m_loaded);
        QCOMPARE(label(*form, "lbTutor"), QStringLiteral("No tutor monitoring file"));
        QVERIFY(comments(*form)->toPlainText().contains(QStringLiteral("monitor.fhi")));
        QVERIFY(comments(*form)->isReadOnly());
        QVERIFY(!form->menuItem("mnuSave")->isEnabled());
        QVERIFY(!form->menuItem("mnuPrint")->isEnabled());
        QVERIFY(!form->toolbarButton(7)->isEnabled());
    }

    // Words that name no folder under the root (far too long for a file name, or letters
    // outside ASCII): the form says the file is missing, as for any tutor without one.
    void oddWordsFindNoFileAndSaySo_data()
    {
        QTest::addColumn<QString>("tutor");
        QTest::newRow("very long") << QString(5000, u'T');
        QTest::newRow("outside ASCII") << QStringLiteral("Ní_Bhriain_€");
    }
    void oddWordsFindNoFileAndSaySo()
    {
        QFETCH(QString, tutor);
        QStringList odd = words();
        odd[0] = tutor;
        auto form = start(fixture(QStringLiteral("laid_out.fhi")), odd);
        QVERIFY(m_loaded);
        QCOMPARE(label(*form, "lbTutor"), QStringLiteral("No tutor monitoring file"));
        QVERIFY(!form->menuItem("mnuSave")->isEnabled());
    }

    void saveWritesTheFormIntoTheFile()
    {
        m_settings.setPref(QStringLiteral("MonitorChanges"), QStringLiteral("True"));
        auto form = start(fixture(QStringLiteral("laid_out.fhi")));
        comments(*form)->setPlainText(QStringLiteral("Fine & clear"));
        form->menuItem("mnuSave")->trigger();
        const QByteArray saved = m_root->read(QStringLiteral("M101-05B/02/T1/X/monitor.fhi"));
        QVERIFY(saved.contains("<monitor_comments>Fine \x12 clear</monitor_comments>"));
        QVERIFY(saved.contains("<monitor_comment_date>08-Dec-2026</monitor_comment_date>"));
        QCOMPARE(m_settings.pref(QStringLiteral("MonitorChanges")), QStringLiteral("False"));
        QVERIFY(!form->menuItem("mnuSave")->isEnabled());
    }

    // The toolbar's extension arrows, read as PNG without the image plugins, are Fusion's own.
    void toolbarExtensionArrowsAreFusions()
    {
        const ToolbarImageStyle ours(QStyleFactory::create(QStringLiteral("fusion")));
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
        for (const auto arrow : {QStyle::SP_ToolBarHorizontalExtensionButton,
                                 QStyle::SP_ToolBarVerticalExtensionButton}) {
            const QIcon icon = ours.standardIcon(arrow);
            QCOMPARE(icon.availableSizes(), fusion->standardIcon(arrow).availableSizes());
            QVERIFY(!icon.availableSizes().isEmpty());
            for (const QSize &size : icon.availableSizes())
                QCOMPARE(icon.pixmap(size).toImage(),
                         fusion->standardIcon(arrow).pixmap(size).toImage());
        }
    }
};

QTEST_MAIN(MonFormEntryTest)
#include "monformentry_test.moc"
