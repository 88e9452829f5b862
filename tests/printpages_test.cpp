// The printed pages, painted into a PDF file through the printer's own painting and read back
// with pdftotext: the lines, their columns, page breaks and copies.
#include "pdftext.h"
#include "testfolder.h"

#include "qttextprinter.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>

namespace {

struct Printed
{
    bool ok = false;
    QString fontFamily;
    QList<QStringList> pages;
};

Printed printToPdf(const QList<PrintLine> &lines, int copies = 1,
                   QPageLayout::Orientation orientation = QPageLayout::Portrait,
                   QString *pdfPath = nullptr)
{
    static TestFolder folder;
    static int count = 0;
    const QString path = folder.path(QStringLiteral("printed%1.pdf").arg(++count));
    const auto printer = QtTextPrinter::toPdfFile(path);
    PrintChoices choices;
    Printed printed;
    printed.ok = printer->chooseInDialog(nullptr, choices) == DialogOutcome::Accepted &&
                 printer->setCopies(copies) && printer->setOrientation(orientation) &&
                 printer->setFont(QStringLiteral("Courier New"), 10) &&
                 printer->printLines(lines) && printer->endDocument();
    printed.fontFamily = printer->fontFamilyUsed();
    printed.pages = pdfPages(path);
    if (pdfPath)
        *pdfPath = path;
    return printed;
}

PrintSource sampleSource(const QString &comments)
{
    PrintSource source;
    source.tutor = QStringLiteral("Tutor: 00417263  Margaret Okonkwo (New)");
    source.region = QStringLiteral("Appt Region: 07");
    source.course = QStringLiteral("Course: M101-05B   TMA: 03   Level: 2");
    source.studentRows = {
        {QStringLiteral("Student Name "), QStringLiteral("Grade "),
         QStringLiteral("Summary/feedback "), QStringLiteral("Script Comments ")},
        {QStringLiteral("Siobhán Ní Bhriain"), QStringLiteral("Appropriate"),
         QStringLiteral("Excellent (E)"), QStringLiteral("Good (G)")},
        {QStringLiteral("A student whose name is longer"), QStringLiteral("Lenient"),
         QStringLiteral("Scope For Improvement (I)"), QStringLiteral("Good (G)")},
    };
    for (int row = 0; row < 10; ++row) {
        source.criteria[row] = {QStringLiteral("Left criterion %1 ").arg(row), QStringLiteral("G"),
                                QStringLiteral("Right criterion %1").arg(row),
                                QStringLiteral("Excellent (E)")};
    }
    source.comments = comments;
    return source;
}

QStringList joined(const QList<QStringList> &pages)
{
    QStringList lines;
    for (const QStringList &page : pages)
        lines += page;
    return lines;
}

QStringList withoutEmptyLines(QStringList lines)
{
    lines.removeAll(QString());
    return lines;
}

} // namespace

TEST(PrintedPages, LinesAndColumnsAsLaidOut)
{
    const QString comments = QStringLiteral("Clear, encouraging summaries.\r\n\r\n") +
                             QString(120, u'w') + QStringLiteral(" end");
    const QList<PrintLine> lines = layOutPrintDocument(sampleSource(comments));
    const Printed printed = printToPdf(lines);
    ASSERT_TRUE(printed.ok);
    ASSERT_EQ(printed.pages.size(), 1);
    EXPECT_EQ(printed.pages[0], visibleLines(renderPrintLines(lines)));
    // Spot checks of the columns, read straight off the page.
    EXPECT_TRUE(printed.pages[0].contains(QStringLiteral("Appt Region: 07    Course: M101-05B   "
                                                         "TMA: 03   Level: 2")));
    EXPECT_TRUE(printed.pages[0].contains(QStringLiteral(" ") + QString(95, u'w')));
}

TEST(PrintedPages, FontIsFixedPitch)
{
    const Printed printed =
        printToPdf({{{1, QStringLiteral("MMMM")}}, {{1, QStringLiteral("iiii")}}});
    ASSERT_TRUE(printed.ok);
    // Courier New is rarely installed here; fontconfig offers a metric-compatible substitute.
    std::cout << "Printed in: " << printed.fontFamily.toStdString() << '\n';
    EXPECT_TRUE(QFontDatabase::isFixedPitch(printed.fontFamily))
        << printed.fontFamily.toStdString();
    ASSERT_EQ(printed.pages.size(), 1);
    EXPECT_EQ(printed.pages[0], QStringList({QStringLiteral("MMMM"), QStringLiteral("iiii")}));
}

TEST(PrintedPages, LongCommentsRunOntoASecondPage)
{
    QStringList commentLines;
    for (int i = 1; i <= 60; ++i)
        commentLines.append(QStringLiteral("Comment line %1").arg(i));
    const QList<PrintLine> lines =
        layOutPrintDocument(sampleSource(commentLines.join(QStringLiteral("\r\n"))));
    const Printed printed = printToPdf(lines);
    ASSERT_TRUE(printed.ok);
    ASSERT_EQ(printed.pages.size(), 2);
    // No line lost or doubled at the break; the break falls inside the comments.
    EXPECT_EQ(withoutEmptyLines(joined(printed.pages)),
              withoutEmptyLines(visibleLines(renderPrintLines(lines))));
    ASSERT_FALSE(printed.pages[1].isEmpty());
    EXPECT_TRUE(printed.pages[1][0].startsWith(QStringLiteral(" Comment line ")));
    EXPECT_EQ(printed.pages[1].constLast(), QStringLiteral(" Comment line 60"));
}

TEST(PrintedPages, CopiesThePrinterCannotMakeArePaintedInTurn)
{
    const QList<PrintLine> lines = {{{3, QStringLiteral("first")}, {12, QStringLiteral("line")}},
                                    {},
                                    {{1, QStringLiteral("third")}}};
    const Printed printed = printToPdf(lines, 3);
    ASSERT_TRUE(printed.ok);
    const QStringList page = {QStringLiteral("  first    line"), QString(),
                              QStringLiteral("third")};
    EXPECT_EQ(printed.pages, QList<QStringList>({page, page, page}));
}

TEST(PrintedPages, LandscapeFromTheDialogTurnsThePage)
{
    QString path;
    const Printed printed =
        printToPdf({{{1, QStringLiteral("wide")}}}, 1, QPageLayout::Landscape, &path);
    ASSERT_TRUE(printed.ok);
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {path});
    ASSERT_TRUE(pdfinfo.waitForFinished(60000));
    const QRegularExpression size(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)"));
    const QRegularExpressionMatch match =
        size.match(QString::fromUtf8(pdfinfo.readAllStandardOutput()));
    ASSERT_TRUE(match.hasMatch());
    EXPECT_GT(match.captured(1).toDouble(), match.captured(2).toDouble());
    EXPECT_EQ(printed.pages, QList<QStringList>({{QStringLiteral("wide")}}));
}

TEST(PrintedPages, StepsOutOfOrderFail)
{
    TestFolder folder;
    const auto printer = QtTextPrinter::toPdfFile(folder.path(QStringLiteral("out.pdf")));
    EXPECT_FALSE(printer->setCopies(1));
    EXPECT_FALSE(printer->printLines({{{1, QStringLiteral("x")}}}));
    EXPECT_FALSE(printer->endDocument());
    PrintChoices choices;
    ASSERT_EQ(printer->chooseInDialog(nullptr, choices), DialogOutcome::Accepted);
    EXPECT_FALSE(printer->setCopies(0));
    // Nothing printed: there is no document to send.
    EXPECT_FALSE(printer->endDocument());
}

TEST(PrintedPages, AnAbandonedDocumentIsNotSent)
{
    TestFolder folder;
    const QString path = folder.path(QStringLiteral("out.pdf"));
    const auto printer = QtTextPrinter::toPdfFile(path);
    PrintChoices choices;
    ASSERT_EQ(printer->chooseInDialog(nullptr, choices), DialogOutcome::Accepted);
    ASSERT_TRUE(printer->setFont(QStringLiteral("Courier New"), 10));
    ASSERT_TRUE(printer->printLines({{{1, QStringLiteral("abandoned")}}}));
    // The next print starts afresh; only its document reaches the file.
    ASSERT_EQ(printer->chooseInDialog(nullptr, choices), DialogOutcome::Accepted);
    ASSERT_TRUE(printer->setFont(QStringLiteral("Courier New"), 10));
    ASSERT_TRUE(printer->printLines({{{4, QStringLiteral("sent")}}}));
    ASSERT_TRUE(printer->endDocument());
    EXPECT_EQ(pdfPages(path), QList<QStringList>({{QStringLiteral("   sent")}}));
}

TEST(PrintedPages, NoDefaultPrinterFailsBeforeAnyDialog)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "this machine has a default printer";
    // A dialog shown here would wait for a person; failing first is the point.
    QtTextPrinter printer;
    PrintChoices choices;
    EXPECT_EQ(printer.chooseInDialog(nullptr, choices), DialogOutcome::Failed);
    EXPECT_FALSE(printer.setFont(QStringLiteral("Courier New"), 10));
    EXPECT_FALSE(printer.printLines({{{1, QStringLiteral("x")}}}));
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
