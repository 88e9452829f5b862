// Printing from the monitoring form: the refusal while changes are unsaved, the dialog's
// choices, every failing step, and the sample form printed to PDF through the real painting.
#include "formfixture.h"
#include "pdftext.h"

#include "qttextprinter.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

using Step = FakePrinter::Step;

namespace {

const QString kSaveFirst = QStringLiteral("Please save changes before printing.");
const QString kPrinterProblem =
    QStringLiteral("A problem was encountered communicating with your default printer\r"
                   "Please check the setup of your printer");
const QList<Step> kAllSteps = {Step::Dialog, Step::Copies, Step::Orientation,
                               Step::Font,   Step::Lines,  Step::End};

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
        m_form->tlbOptions_ButtonClick(7);
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
};

QTEST_MAIN(MonFormPrintTest)
#include "monformprint_test.moc"
