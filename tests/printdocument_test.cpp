// The printed form as lines of text: placement by column, the fixed empty lines and the
// wrapping of the monitor's comments.
#include "printdocument.h"

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

QString repeated(QChar c, int n)
{
    return QString(n, c);
}

// `n` letters with a space at each of the given 1-based positions.
QString lettersWithSpacesAt(int n, std::initializer_list<int> spaces)
{
    QString text(n, u'x');
    for (const int position : spaces)
        text[position - 1] = u' ';
    return text;
}

QStringList printed(const PrintSource &source)
{
    return renderPrintLines(layOutPrintDocument(source));
}

// Criteria cells as the form holds them: the grid's own texts with their trailing spaces.
PrintSource formWithCriteria()
{
    PrintSource source;
    source.studentRows.append({QStringLiteral("Student Name "), QStringLiteral("Grade "),
                               QStringLiteral("Summary/feedback "),
                               QStringLiteral("Script Comments ")});
    source.criteria[0] = {QStringLiteral("SUMMARY AND FEEDBACK (PT3)"), QString(),
                          QStringLiteral("SCRIPT COMMENTS"), QString()};
    for (int row = 1; row <= 9; ++row) {
        if (row <= 6)
            source.criteria[row][0] = QStringLiteral("L%1 ").arg(row);
        source.criteria[row][2] = QStringLiteral("R%1  ").arg(row);
    }
    return source;
}

// The lines from the criteria on, identical in every case below that leaves them alone.
const QStringList kCriteriaLines = {
    QStringLiteral("SUMMARY AND FEEDBACK (PT3)"),
    QString(),
    QString(),
    QStringLiteral("L1"),
    QStringLiteral("L2"),
    QStringLiteral("L3"),
    QStringLiteral("L4"),
    QStringLiteral("L5"),
    QStringLiteral("L6"),
    QString(),
    QString(),
    QStringLiteral("SCRIPT COMMENTS"),
    QString(),
    QStringLiteral("R1"),
    QStringLiteral("R2"),
    QStringLiteral("R3"),
    QStringLiteral("R4"),
    QStringLiteral("R5"),
    QStringLiteral("R6"),
    QStringLiteral("R7"),
    QStringLiteral("R8"),
    QStringLiteral("R9"),
    QString(),
    QString(),
};

} // namespace

TEST(PrintDocument, WholeFormLineByLine)
{
    PrintSource source = formWithCriteria();
    source.tutor = QStringLiteral(" Tutor: 00417263  Margaret Okonkwo (New)");
    source.region = QStringLiteral("  Appt Region: 07 ");
    source.course = QStringLiteral(" Course: M101-05B   TMA: 03   Level: 2  ");
    source.studentRows.append({QStringLiteral("Siobhan Ni Bhriain"), QStringLiteral("Appropriate"),
                               QStringLiteral("Excellent (E)"), QStringLiteral("Good (G)")});
    source.studentRows.append({QStringLiteral("Tomasz Wojcik"), QStringLiteral("Lenient"),
                               QStringLiteral("Scope For Improvement (I)"),
                               QStringLiteral("Good (G)")});
    source.criteria[1][1] = QStringLiteral("E");
    source.criteria[9][3] = QStringLiteral("I");
    source.comments = QStringLiteral("Clear summaries.\r\nThank you.");

    const QStringList expected =
        QStringList{
            QString(),
            QStringLiteral(" Tutor: 00417263  Margaret Okonkwo (New)"),
            QString(),
            QStringLiteral("Appt Region: 07    Course: M101-05B   TMA: 03   Level: 2"),
            QString(),
            QStringLiteral("Student Name                 Grade          Summary/feedback      "
                           "Script Comments "),
            QString(),
            QStringLiteral("Siobhan Ni Bhriain           Appropriate    Excellent (E)         "
                           "Good (G)"),
            QStringLiteral("Tomasz Wojcik                Lenient        Scope For Improvement (I)"),
            // Past column 67 already: the script comment goes down a line.
            QString(66, u' ') + QStringLiteral("Good (G)"),
            QString(),
            QStringLiteral("SUMMARY AND FEEDBACK (PT3)"),
            QString(),
            QString(),
            QStringLiteral("L1                                                              E"),
        } +
        kCriteriaLines.mid(4, 17) +
        QStringList{
            QStringLiteral("R9                                                              I"),
            QString(),
            QString(),
            QStringLiteral(" Clear summaries."),
            QStringLiteral(" Thank you."),
            QString(),
        };
    EXPECT_EQ(printed(source), expected);
}

TEST(PrintDocument, ItemsKeepTheirColumns)
{
    PrintSource source = formWithCriteria();
    source.region = QStringLiteral("Appt Region: 07");
    source.course = QStringLiteral("Course: M101");
    source.studentRows.append({QStringLiteral("A name of thirty characters..."),
                               QStringLiteral("G"), QStringLiteral("S"), QStringLiteral("C")});
    const QList<PrintLine> lines = layOutPrintDocument(source);
    ASSERT_GE(lines.size(), 10);
    EXPECT_EQ(lines[3], (PrintLine{{1, QStringLiteral("Appt Region: 07")},
                                   {20, QStringLiteral("Course: M101")}}));
    EXPECT_EQ(lines[7], (PrintLine{{1, QStringLiteral("A name of thirty characters...")}}));
    EXPECT_EQ(lines[8], (PrintLine{{30, QStringLiteral("G")},
                                   {45, QStringLiteral("S")},
                                   {67, QStringLiteral("C")}}));
    EXPECT_EQ(lines[9], PrintLine{});
}

TEST(PrintDocument, ALongTutorLineWrapsAsTheCommentsDo)
{
    PrintSource source = formWithCriteria();
    source.tutor = QStringLiteral("Tutor: 00417263  ") + lettersWithSpacesAt(100, {70}) +
                   QStringLiteral(" (New)");
    const QStringList lines = printed(source);
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[1], source.tutor.left(87));
    EXPECT_EQ(lines[2], source.tutor.mid(87));
    EXPECT_EQ(lines[3], QString());
}

struct StudentCase
{
    const char *name;
    QList<std::array<QString, 4>> rows; // after the heading
    QStringList expected;               // from the heading line up to the criteria
};

void PrintTo(const StudentCase &c, std::ostream *os)
{
    *os << c.name;
}

class StudentRows : public testing::TestWithParam<StudentCase>
{
};

TEST_P(StudentRows, PrintAsExpected)
{
    PrintSource source = formWithCriteria();
    source.studentRows += GetParam().rows;
    const QStringList lines = printed(source);
    ASSERT_GE(lines.size(), 6 + GetParam().expected.size());
    EXPECT_EQ(lines.mid(5, GetParam().expected.size()), GetParam().expected);
    EXPECT_EQ(lines.mid(5 + GetParam().expected.size(), kCriteriaLines.size()), kCriteriaLines);
}

const QString kHeading = QStringLiteral("Student Name                 Grade          "
                                        "Summary/feedback      Script Comments ");
const QString kName29 = QStringLiteral("Twenty-nine characters long..");
const QString kName30 = QStringLiteral("Exactly thirty characters long");

INSTANTIATE_TEST_SUITE_P(
    PrintDocument, StudentRows,
    testing::Values(
        StudentCase{"heading only: the heading line and three empty lines",
                    {},
                    {kHeading, QString(), QString(), QString()}},
        StudentCase{"a name of 29 characters keeps the grade on its line",
                    {{kName29, QStringLiteral("Severe"), QStringLiteral("Good (G)"),
                      QStringLiteral("Good (G)")}},
                    {kHeading, QString(),
                     kName29 + QStringLiteral("Severe         Good (G)              Good (G)"),
                     QString()}},
        StudentCase{"a longer name pushes the grade and what follows down",
                    {{kName30, QStringLiteral("Severe"), QStringLiteral("Good (G)"),
                      QStringLiteral("Good (G)")}},
                    {kHeading, QString(), kName30,
                     QStringLiteral("                             Severe         Good (G)       "
                                    "       Good (G)"),
                     QString()}},
        StudentCase{"a long rating pushes the next cell down",
                    {{QStringLiteral("Ann"), QStringLiteral("Inconsistent and then some"),
                      QStringLiteral("Good (G)"), QString()}},
                    {kHeading, QString(),
                     QStringLiteral("Ann                          Inconsistent and then some"),
                     QStringLiteral("                                            Good (G)"),
                     QString()}},
        StudentCase{
            "empty cells still hold the line to the last column",
            {{QStringLiteral("Ann"), QString(), QString(), QString()},
             {QStringLiteral("Bob"), QString(), QString(), QString()}},
            {kHeading, QString(), QStringLiteral("Ann"), QStringLiteral("Bob"), QString()}}));

TEST(PrintDocument, CriterionTextsTrimmedRatingsAsHeld)
{
    PrintSource source = formWithCriteria();
    source.criteria[2] = {QStringLiteral("  2) Uses a friendly/personal tone   "),
                          QStringLiteral(" G "), QString(), QString()};
    source.criteria[7][3] = QStringLiteral("Excellent (E)  ");
    const QList<PrintLine> lines = layOutPrintDocument(source);
    EXPECT_TRUE(lines.contains(PrintLine(
        {{1, QStringLiteral("2) Uses a friendly/personal tone")}, {65, QStringLiteral(" G ")}})));
    EXPECT_TRUE(lines.contains(
        PrintLine({{1, QStringLiteral("R7")}, {65, QStringLiteral("Excellent (E)  ")}})));
}

TEST(PrintDocument, CommentsAtColumnTwoThenAnEmptyLine)
{
    const struct
    {
        QString comments;
        PrintLine last;
    } cases[] = {
        {QString(), {{2, QString()}}},
        {QStringLiteral("One line"), {{2, QStringLiteral("One line")}}},
    };
    for (const auto &c : cases) {
        PrintSource source = formWithCriteria();
        source.comments = c.comments;
        const QList<PrintLine> lines = layOutPrintDocument(source);
        ASSERT_GE(lines.size(), 4);
        EXPECT_EQ(lines.mid(lines.size() - 4),
                  QList<PrintLine>({PrintLine{}, PrintLine{}, c.last, PrintLine{}}))
            << c.comments.toStdString();
    }
}

struct WrapCase
{
    const char *name;
    QString comments;
    QStringList expected;
};

void PrintTo(const WrapCase &c, std::ostream *os)
{
    *os << c.name;
}

class CommentWrapping : public testing::TestWithParam<WrapCase>
{
};

TEST_P(CommentWrapping, BreaksAsExpected)
{
    EXPECT_EQ(wrapComments(GetParam().comments), GetParam().expected);
}

const QString k96WithSpaceAt40 = lettersWithSpacesAt(96, {40});

INSTANTIATE_TEST_SUITE_P(
    PrintDocument, CommentWrapping,
    testing::Values(WrapCase{"empty box: one empty line", QString(), {QString()}},
                    WrapCase{"95 characters print whole", repeated(u'a', 95), {repeated(u'a', 95)}},
                    WrapCase{"96 characters with a space at 40: 40 and 56",
                             k96WithSpaceAt40,
                             {k96WithSpaceAt40.left(40), k96WithSpaceAt40.mid(40)}},
                    WrapCase{"200 characters without a space: 95, 95 and 10",
                             repeated(u'b', 200),
                             {repeated(u'b', 95), repeated(u'b', 95), repeated(u'b', 10)}},
                    WrapCase{"a space at 95 ends the first piece",
                             lettersWithSpacesAt(100, {95}),
                             {lettersWithSpacesAt(95, {95}), repeated(u'x', 5)}},
                    WrapCase{"a space first at 96 is past the break",
                             lettersWithSpacesAt(100, {96}),
                             {repeated(u'x', 95), lettersWithSpacesAt(5, {1})}},
                    WrapCase{
                        "the last space within 95 wins",
                        lettersWithSpacesAt(120, {10, 50, 90, 100}),
                        {lettersWithSpacesAt(90, {10, 50, 90}), lettersWithSpacesAt(30, {10})}},
                    WrapCase{"a trailing line break prints an empty line",
                             QStringLiteral("Last words.\r\n"),
                             {QStringLiteral("Last words."), QString()}},
                    WrapCase{"a blank line between paragraphs",
                             QStringLiteral("First.\r\n\r\nSecond."),
                             {QStringLiteral("First."), QString(), QStringLiteral("Second.")}},
                    WrapCase{"each typed line wraps on its own",
                             repeated(u'c', 100) + QStringLiteral("\r\nshort"),
                             {repeated(u'c', 95), repeated(u'c', 5), QStringLiteral("short")}},
                    WrapCase{"a lone line feed is no line break",
                             QStringLiteral("a\nb"),
                             {QStringLiteral("a\nb")}}));

struct LineEndCase
{
    const char *name;
    QString boxText;
    QString windowsText;
};

void PrintTo(const LineEndCase &c, std::ostream *os)
{
    *os << c.name;
}

class WindowsLineEnds : public testing::TestWithParam<LineEndCase>
{
};

TEST_P(WindowsLineEnds, Convert)
{
    EXPECT_EQ(toWindowsLineEnds(GetParam().boxText), GetParam().windowsText);
}

INSTANTIATE_TEST_SUITE_P(
    PrintDocument, WindowsLineEnds,
    testing::Values(LineEndCase{"empty", QString(), QString()},
                    LineEndCase{"no break", QStringLiteral("abc"), QStringLiteral("abc")},
                    LineEndCase{"breaks", QStringLiteral("\na\n\nb\n"),
                                QStringLiteral("\r\na\r\n\r\nb\r\n")},
                    LineEndCase{"pairs stay", QStringLiteral("a\r\nb"), QStringLiteral("a\r\nb")}));

TEST(PrintDocument, TypedLineBreaksStartPrintedLines)
{
    PrintSource source = formWithCriteria();
    source.comments = toWindowsLineEnds(QStringLiteral("First.\n\nSecond.\n"));
    const QStringList lines = printed(source);
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines.mid(lines.size() - 5),
              QStringList({QStringLiteral(" First."), QString(), QStringLiteral(" Second."),
                           QString(), QString()}));
}
