#include "commandline.h"

#include <gtest/gtest.h>

TEST(GetCommandLine, SplitsAtBlanksAndTabsWithoutQuoting)
{
    EXPECT_EQ(GetCommandLine(QStringLiteral("a  b\tc d e"), 6),
              (QStringList{QString(), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                           QStringLiteral("d"), QStringLiteral("e")}));
    EXPECT_EQ(GetCommandLine(QStringLiteral("  \"x y\" "), 6),
              (QStringList{QString(), QStringLiteral("\"x"), QStringLiteral("y\"")}));
    EXPECT_EQ(GetCommandLine(QStringLiteral("   "), 6), QStringList{QString()});
}

TEST(GetCommandLine, StopsAtMaxArgs)
{
    const QStringList words = GetCommandLine(QStringLiteral("A B C D E F G"), 6);
    EXPECT_EQ(words.size(), 7);
    EXPECT_EQ(words.last(), QStringLiteral("F"));
    CommandWords out;
    QString bad;
    ASSERT_EQ(takeCommandWords(words, out, bad), CommandLineProblem::None);
    EXPECT_EQ(out.CmdArg1, QStringLiteral("A"));
    EXPECT_EQ(out.CmdArg5, QStringLiteral("E"));
}

TEST(TakeCommandWords, RefusesShortLinesAndWordsLeavingTheRoot)
{
    CommandWords out;
    QString bad;
    EXPECT_EQ(takeCommandWords(GetCommandLine(QStringLiteral("a b c d"), 6), out, bad),
              CommandLineProblem::Empty);
    EXPECT_EQ(takeCommandWords(GetCommandLine(QString(), 6), out, bad), CommandLineProblem::Empty);
    for (const char *line : {"a .. c d e", "a b . d e", "a b/x c d e", "a b c d e\\f"}) {
        EXPECT_EQ(takeCommandWords(GetCommandLine(QString::fromLatin1(line), 6), out, bad),
                  CommandLineProblem::UnsafeWord)
            << line;
    }
}

TEST(TutorFolderPath, JoinsTheWordsUnderTheRoot)
{
    const CommandWords words{QStringLiteral("T1"), QStringLiteral("M101"), QStringLiteral("05B"),
                             QStringLiteral("02"), QStringLiteral("X")};
    EXPECT_EQ(tutorFolderPath(QStringLiteral("/mon/"), words),
              QStringLiteral("/mon/M101-05B/02/T1/X"));
}
