// Printing from the monitoring form: the refusal while changes are unsaved, the dialog's
// choices, every failing step, and the sample form printed to PDF through the real painting.
#include "formfixture.h"
#include "pdftext.h"

#include "printqueue.h"
#include "qttextprinter.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#ifdef MONITOR_WITH_CUPS
#include <QApplication>
#include <QPrintDialog>
#include <QScopeGuard>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <cups/cups.h>
#endif

using Step = FakePrinter::Step;

namespace {

const QString kSaveFirst = QStringLiteral("Please save changes before printing.");
const QString kPrinterProblem =
    QStringLiteral("A problem was encountered communicating with your default printer\r"
                   "Please check the setup of your printer");
const QList<Step> kAllSteps = {Step::Dialog, Step::Copies, Step::Orientation,
                               Step::Font,   Step::Lines,  Step::End};

QString pausedMessage(const QString &printer)
{
    return QStringLiteral("The printer \"%1\" is paused. The monitoring form waits in its queue "
                          "and prints when the printer is resumed.")
        .arg(printer);
}

#ifdef MONITOR_WITH_CUPS
// A queue of this run's own, so that two runs on one machine do not share one.
const QString kTestPrinter =
    QStringLiteral("MonitorFormTest-%1").arg(QCoreApplication::applicationPid());

int runTool(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(30000))
        return -1;
    if (output)
        *output = tool.readAllStandardOutput();
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

// lpstat answers 0 either way.
bool cupsRunning()
{
    QByteArray answer;
    runTool(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &answer);
    return answer.startsWith("scheduler is running");
}

// Makes sure CUPS runs (a fresh machine has it installed, not started) with a printer that
// writes PDF files and takes jobs. An empty answer, or why it cannot be had.
QString cupsPdfPrinter(const QString &name)
{
    if (!cupsRunning()) {
        const QString cupsd = QStandardPaths::findExecutable(
            QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
        if (cupsd.isEmpty() || runTool(cupsd, {}) != 0)
            return QStringLiteral("CUPS is not running and cupsd could not be started (it needs "
                                  "cups from scripts/install-packages.sh and root)");
        QDeadlineTimer deadline(20000);
        while (!cupsRunning()) {
            if (deadline.hasExpired())
                return QStringLiteral("cupsd was started but never answered");
            QThread::msleep(200);
        }
    }
    if (runTool(QStringLiteral("lpadmin"),
                {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                 QStringLiteral("cups-pdf:/"), QStringLiteral("-m"),
                 QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_noopt.ppd")}) != 0)
        return QStringLiteral("no PDF printer could be added (printer-driver-cups-pdf, and the "
                              "right to add printers, are needed)");
    runTool(QStringLiteral("cupsaccept"), {name}); // a run stopped halfway may have left it so
    return {};
}

// The titles of every job the printer was given, oldest first.
QStringList cupsJobTitles(const QString &printer)
{
    cups_job_t *jobs = nullptr;
    const int count = cupsGetJobs(&jobs, printer.toLocal8Bit().constData(), 0, CUPS_WHICHJOBS_ALL);
    QStringList titles;
    for (int i = 0; i < count; ++i)
        titles << QString::fromLocal8Bit(jobs[i].title);
    cupsFreeJobs(count, jobs);
    return titles;
}
#endif

QByteArray sampleFile()
{
    QFile file(QStringLiteral(MONITOR_SAMPLE_FHI));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class MonFormPrintTest : public QObject, public FormFixture
{
    Q_OBJECT

private:
    std::unique_ptr<MonFormEntry> m_form;

    void print() { m_form->menuItem("mnuPrint")->trigger(); }
    QStringList printedText() const { return renderPrintLines(m_printer.lines); }
    void typeComment(const QString &text)
    {
        m_form->findChild<QPlainTextEdit *>(QStringLiteral("TxtMonitorComments"))
            ->setPlainText(text);
        // Typing marks the suite changed; these tests print what the box shows all the same.
        m_settings.setPref(QStringLiteral("MonitorChanges"), QStringLiteral("False"));
    }

private slots:
    void init()
    {
        resetFakes();
        m_form = startForm(fixture(QStringLiteral("laid_out.normalised.fhi")));
        QVERIFY(m_loaded);
        m_form->show();
    }
    void cleanup() { m_form.reset(); }

    void refusedWhileChangesAreUnsaved_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("True") << QStringLiteral("True");
        QTest::newRow("true") << QStringLiteral("true");
        QTest::newRow("-1") << QStringLiteral("-1");
        QTest::newRow("unreadable") << QStringLiteral("perhaps");
    }
    void refusedWhileChangesAreUnsaved()
    {
        QFETCH(QString, stored);
        m_settings.setPref(QStringLiteral("MonitorChanges"), stored);
        print();
        QCOMPARE(m_messages.texts, QStringList{kSaveFirst});
        QVERIFY(m_printer.steps.isEmpty());
        QCOMPARE(m_settings.pref(QStringLiteral("MonitorChanges")), stored);
    }

    void printedWithoutUnsavedChanges_data()
    {
        QTest::addColumn<QString>("stored"); // null: the key is absent
        QTest::newRow("absent") << QString();
        QTest::newRow("False") << QStringLiteral("False");
        QTest::newRow("0") << QStringLiteral("0");
    }
    void printedWithoutUnsavedChanges()
    {
        QFETCH(QString, stored);
        m_settings.values.remove(QStringLiteral("rerododurevidedazirez/prefs/monitorchanges"));
        if (!stored.isNull())
            m_settings.setPref(QStringLiteral("MonitorChanges"), stored);
        const QMap<QString, QString> settingsBefore = m_settings.values;
        const QByteArray fileBefore = tutorFileBytes();
        print();
        QVERIFY(m_messages.texts.isEmpty());
        QCOMPARE(m_printer.steps, kAllSteps);
        QCOMPARE(m_printer.fontFamily, QStringLiteral("Courier New"));
        QCOMPARE(m_printer.fontPoints, 10);
        QCOMPARE(m_printer.documentName,
                 QStringLiteral("Monitor form - Okonkwo-Reilly, Margaret Ann (00417263) - "
                                "M101-05B TMA 02"));
        const QStringList text = printedText();
        // The whole print-out is compared in theSampleFormPrintedToPdf.
        QVERIFY(text.size() > 2);
        QCOMPARE(text[1], m_form->findChild<QLabel *>(QStringLiteral("lbTutor"))->text());
        QVERIFY(!text.filter(QStringLiteral("SUMMARY AND FEEDBACK (PT3)")).isEmpty());
        // Printing reads the form; it changes no setting and no file.
        QCOMPARE(m_settings.values, settingsBefore);
        QCOMPARE(tutorFileBytes(), fileBefore);
    }

    void theToolbarButtonPrintsToo()
    {
        m_form->clickToolbarButton(7);
        QCOMPARE(m_printer.steps, kAllSteps);
    }

    void theDialogsChoicesReachThePrinter_data()
    {
        QTest::addColumn<int>("copies");
        QTest::addColumn<QPageLayout::Orientation>("orientation");
        QTest::newRow("one, portrait") << 1 << QPageLayout::Portrait;
        QTest::newRow("three, landscape") << 3 << QPageLayout::Landscape;
    }
    void theDialogsChoicesReachThePrinter()
    {
        QFETCH(int, copies);
        QFETCH(QPageLayout::Orientation, orientation);
        m_printer.chosen = {copies, orientation};
        print();
        QCOMPARE(m_printer.copies, copies);
        QVERIFY(m_printer.orientation.has_value());
        QCOMPARE(*m_printer.orientation, orientation);
    }

    void aFailingStepShowsOneMessageAndStops_data()
    {
        QTest::addColumn<Step>("failing");
        QTest::newRow("no default printer") << Step::Dialog;
        QTest::newRow("copies") << Step::Copies;
        QTest::newRow("orientation") << Step::Orientation;
        QTest::newRow("font") << Step::Font;
        QTest::newRow("lines") << Step::Lines;
        QTest::newRow("end of the document") << Step::End;
    }
    void aFailingStepShowsOneMessageAndStops()
    {
        QFETCH(Step, failing);
        m_printer.failAt = failing;
        print();
        QCOMPARE(m_messages.texts, QStringList{kPrinterProblem});
        QCOMPARE(m_printer.steps, kAllSteps.mid(0, kAllSteps.indexOf(failing) + 1));
    }

    void aPausedPrinterIsToldOf()
    {
        m_printer.paused = QStringLiteral("Office");
        print();
        QCOMPARE(m_printer.steps, kAllSteps);
        QCOMPARE(m_messages.texts, QStringList{pausedMessage(QStringLiteral("Office"))});
    }

    void aCancelledDialogPrintsAndShowsNothing()
    {
        m_printer.cancelDialog = true;
        print();
        QVERIFY(m_messages.texts.isEmpty());
        QCOMPARE(m_printer.steps, QList<Step>{Step::Dialog});
    }

    void typedLineBreaksStartPrintedLines()
    {
        typeComment(QStringLiteral("First paragraph.\n\nSecond paragraph.\n"));
        print();
        const QStringList text = printedText();
        QVERIFY(text.size() >= 5);
        QCOMPARE(text.mid(text.size() - 5),
                 QStringList({QStringLiteral(" First paragraph."), QString(),
                              QStringLiteral(" Second paragraph."), QString(), QString()}));
    }

    void theSampleFormPrintedToPdf()
    {
        const QByteArray sample = sampleFile();
        QVERIFY(!sample.isEmpty());
        m_form.reset();
        m_form = startForm(sample);
        QVERIFY(m_loaded);
        TestFolder out;
        const QString pdf = out.path(QStringLiteral("sample.pdf"));
        const auto pdfPrinter = QtTextPrinter::toPdfFile(pdf);
        m_printer.forwardTo = pdfPrinter.get();
        print();
        QVERIFY(m_messages.texts.isEmpty());
        QCOMPARE(m_printer.steps, kAllSteps);
        qInfo("Printed in %s", qPrintable(pdfPrinter->fontFamilyUsed()));
        const QByteArray text = pdfText(pdf);
        QCOMPARE(QString::fromUtf8(text),
                 QString::fromUtf8(fixture(QStringLiteral("sample.printed.txt"))));
    }

    // Run by the test named monformprint_cups_tests, which CTest reports as skipped where CUPS
    // cannot be had. Each row prints the sample through the real dialog onto a PDF queue of its
    // own, put into a state by a CUPS command first ("%q" stands for the queue, "%u" for the
    // user).
    void theSampleFormThroughCups_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("jobs");
        QTest::newRow("taking jobs") << QString() << QString() << 1;
        QTest::newRow("refusing jobs") << "cupsreject %q" << kPrinterProblem << 0;
        QTest::newRow("paused") << "cupsdisable %q" << pausedMessage(QStringLiteral("%q")) << 1;
        // The printer takes jobs, but not this user's: refused only when the job is handed over.
        QTest::newRow("refused at submission")
            << "lpadmin -p %q -u deny:%u" << kPrinterProblem << 0;
    }
    void theSampleFormThroughCups()
    {
#ifdef MONITOR_WITH_CUPS
        if (qEnvironmentVariableIsEmpty("MONITOR_CUPS_TESTS"))
            QSKIP("run as the test monformprint_cups_tests");
        QFETCH(QString, command);
        QFETCH(QString, message);
        QFETCH(int, jobs);
        static int rows = 0;
        const QString queue = kTestPrinter + u'-' + QString::number(++rows);
        const QString skip = cupsPdfPrinter(queue);
        if (!skip.isEmpty())
            QSKIP(qPrintable(skip));
        const auto removeQueue = qScopeGuard([&queue] {
            runTool(QStringLiteral("lpadmin"), {QStringLiteral("-x"), queue});
        });
        QStringList words = command.replace(QStringLiteral("%q"), queue)
                                .replace(QStringLiteral("%u"), QString::fromLocal8Bit(cupsUser()))
                                .split(u' ', Qt::SkipEmptyParts);
        if (!words.isEmpty())
            QCOMPARE(runTool(words.takeFirst(), words), 0);
        qputenv("PRINTER", queue.toLocal8Bit()); // this user's default printer
        m_form.reset();
        m_form = startForm(sampleFile());
        QtTextPrinter printer(createSystemPrintQueue());
        m_printer.forwardTo = &printer;

        QCOMPARE(printWithTheRealDialog(), QStringLiteral("no page range"));
        QCOMPARE(m_messages.texts.join(u'\n'), message.replace(QStringLiteral("%q"), queue));
        const QStringList titles = cupsJobTitles(queue);
        QCOMPARE(titles.size(), jobs);
        if (jobs > 0)
            QVERIFY2(titles.contains(m_printer.documentName), qPrintable(titles.join(u'\n')));
#else
        QSKIP("printing through CUPS is checked where CUPS is the print system");
#endif
    }

private:
#ifdef MONITOR_WITH_CUPS
    // Prints through the real print dialog, accepted as soon as it shows; says whether the dialog
    // offered a page range.
    QString printWithTheRealDialog()
    {
        QString offered = QStringLiteral("no dialog");
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            const auto *range = dialog->findChild<QWidget *>(QStringLiteral("gbPrintRange"));
            // Hidden in itself: the dialog folds the options away until asked.
            offered = range && !range->isHidden() ? QStringLiteral("a page range")
                                                  : QStringLiteral("no page range");
            dialog->accept();
        });
        poll.start(50);
        print();
        return offered;
    }
#endif
};

QTEST_MAIN(MonFormPrintTest)
#include "monformprint_test.moc"
