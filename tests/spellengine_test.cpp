// The spelling stand-in's engine on the installed British English dictionary: what each option
// lets through or suggests, doubled words, and the user's word lists.
#include "testfolder.h"

#include "checkoptions.h"
#include "hunspellcomponent.h"
#include "spellengine.h"

#include <QDir>

#include <gtest/gtest.h>

using spelling::CheckOptions;
using spelling::Option;
using spelling::Problem;
using spelling::SpellEngine;

namespace {

QString dictionary()
{
    return spelling::HunspellComponent::defaultDictionaryBase();
}

struct OptionCase
{
    const char *text;
    Option option;
    QStringList flaggedWhenOn;
    QStringList flaggedWhenOff;
    bool caseSensitive = true;
};

QStringList flagged(const SpellEngine &engine, const QString &text)
{
    QStringList words;
    for (const Problem &problem : engine.problems(text))
        words.append(problem.word);
    return words;
}

std::string joined(const QStringList &list)
{
    return '[' + list.join(QStringLiteral(", ")).toStdString() + ']';
}

class SpellEngineTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_engine = new SpellEngine(dictionary()); }
    static void TearDownTestSuite()
    {
        delete s_engine;
        s_engine = nullptr;
    }
    void SetUp() override { s_engine->setOptions(CheckOptions()); }

    static SpellEngine &engine() { return *s_engine; }
    static void set(Option option, bool value)
    {
        CheckOptions options = s_engine->options();
        options.set(option, value);
        s_engine->setOptions(options);
    }

    static SpellEngine *s_engine;
};

SpellEngine *SpellEngineTest::s_engine = nullptr;

TEST_F(SpellEngineTest, EachIgnoreOptionDecidesBeforeTheDictionary)
{
    const OptionCase cases[] = {
        {"HELLO from the NHSX", Option::IgnoreAllCapsWords, {}, {QStringLiteral("NHSX")}},
        {"Zarquon wrote", Option::IgnoreCapitalizedWords, {}, {QStringLiteral("Zarquon")}},
        {"hElLo McZarquon",
         Option::IgnoreMixedCaseWords,
         {},
         {QStringLiteral("hElLo"), QStringLiteral("McZarquon")}},
        // Without case sensitivity "hElLo" is "hello"; the unknown name stays unknown.
        {"hElLo McZarquon", Option::IgnoreMixedCaseWords, {}, {QStringLiteral("McZarquon")}, false},
        {"abc123 on the 1st of 2026",
         Option::IgnoreWordsWithDigits,
         {},
         {QStringLiteral("abc123")}},
        {"Write to www.zqxexample.com or jo@zqxmail.org.",
         Option::IgnoreDomainNames,
         {},
         {QStringLiteral("zqxexample"), QStringLiteral("com"), QStringLiteral("jo"),
          QStringLiteral("zqxmail")}},
        {"see https://zqx.example/zqxpage today",
         Option::IgnoreDomainNames,
         {},
         {QStringLiteral("zqx"), QStringLiteral("zqxpage")}},
        {"I met him in london", Option::CaseSensitive, {QStringLiteral("london")}, {}},
        {"it is the the end", Option::CatchDoubledWords, {QStringLiteral("the")}, {}},
    };
    for (const OptionCase &c : cases) {
        SCOPED_TRACE(c.text);
        engine().setOptions(CheckOptions());
        set(Option::CaseSensitive, c.caseSensitive);
        set(c.option, true);
        EXPECT_EQ(joined(flagged(engine(), QString::fromUtf8(c.text))), joined(c.flaggedWhenOn));
        set(c.option, false);
        EXPECT_EQ(joined(flagged(engine(), QString::fromUtf8(c.text))), joined(c.flaggedWhenOff));
    }
}

TEST_F(SpellEngineTest, WordsKeepTheirInnerApostrophes)
{
    EXPECT_EQ(flagged(engine(), QStringLiteral("don't tutor's 'quoted' it’s")), QStringList());
    EXPECT_EQ(flagged(engine(), QStringLiteral("can'tt")), QStringList{QStringLiteral("can'tt")});
}

TEST_F(SpellEngineTest, DoubledWordsAreTheSecondOfTwoSeparatedOnlyByBlanks)
{
    struct Case
    {
        const char *text;
        int start; // of the flagged word, -1 for none
        int deleteFrom;
    };
    const Case cases[] = {
        {"it is the the end", 10, 9}, {"The the end", 4, 3},    {"the\nthe end", 4, 3},
        {"that, that is", -1, 0},     {"page 10 10 of", -1, 0}, {"the  the the", 5, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const Problem problem = engine().findProblem(QString::fromUtf8(c.text), 0);
        if (c.start < 0) {
            EXPECT_EQ(problem.kind, Problem::None);
            continue;
        }
        EXPECT_EQ(problem.kind, Problem::Doubled);
        EXPECT_EQ(problem.start, c.start);
        EXPECT_EQ(problem.deleteFrom, c.deleteFrom);
    }
    // The check goes on after the first of them.
    EXPECT_EQ(engine().findProblem(QStringLiteral("the  the the"), 6).start, 9);
}

TEST_F(SpellEngineTest, SuggestionsFollowTheirOptions)
{
    struct Case
    {
        const char *word;
        bool typographical;
        bool phonetic;
        bool split;
        const char *first; // null: no suggestions at all
        QStringList present;
        QStringList absent;
    };
    const Case cases[] = {
        {"teh", true, false, true, "the", {}, {}},
        {"fone", true, false, false, "phone", {QStringLiteral("done")}, {}},
        // Sound-alike only: "done" does not sound like "fone".
        {"fone", false, true, false, "phone", {QStringLiteral("fine")}, {QStringLiteral("done")}},
        {"fone", true, true, false, "phone", {QStringLiteral("done")}, {}},
        {"fone", false, false, false, nullptr, {}, {}},
        {"thecat", true, false, true, nullptr, {QStringLiteral("the cat")}, {}},
        {"thecat",
         true,
         false,
         false,
         nullptr,
         {},
         {QStringLiteral("the cat"), QStringLiteral("the-cat")}},
        // Split words even without other suggestions.
        {"tutorsnotes", false, false, true, "tutors notes", {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.word) + (c.typographical ? " typographical" : "") +
                     (c.phonetic ? " phonetic" : "") + (c.split ? " split" : ""));
        set(Option::TypographicalSuggestions, c.typographical);
        set(Option::PhoneticSuggestions, c.phonetic);
        set(Option::SuggestSplitWords, c.split);
        const QStringList suggestions = engine().suggestions(QString::fromLatin1(c.word));
        if (c.first) {
            EXPECT_EQ(suggestions.value(0), QString::fromLatin1(c.first)) << joined(suggestions);
        } else if (c.present.isEmpty() && c.absent.isEmpty()) {
            EXPECT_TRUE(suggestions.isEmpty()) << joined(suggestions);
        }
        for (const QString &word : c.present)
            EXPECT_TRUE(suggestions.contains(word)) << joined(suggestions);
        for (const QString &word : c.absent)
            EXPECT_FALSE(suggestions.contains(word)) << joined(suggestions);
        if (!c.split) {
            for (const QString &s : suggestions)
                EXPECT_FALSE(s.contains(u' ') || s.contains(u'-')) << joined(suggestions);
        }
    }
}

TEST(SoundKeyTest, SpellingsOfOneSoundShareAKey)
{
    EXPECT_EQ(spelling::soundKey(QStringLiteral("fone")),
              spelling::soundKey(QStringLiteral("phone")));
    EXPECT_EQ(spelling::soundKey(QStringLiteral("teh")), spelling::soundKey(QStringLiteral("the")));
    EXPECT_NE(spelling::soundKey(QStringLiteral("fone")),
              spelling::soundKey(QStringLiteral("done")));
    EXPECT_NE(spelling::soundKey(QStringLiteral("one")),
              spelling::soundKey(QStringLiteral("none")));
}

TEST(UserWordListTest, AddedWordsAndCorrectionsSurviveANewEngine)
{
    TestFolder folder;
    const QString words = folder.path(QStringLiteral("lists/userdic.tlx"));
    const QString corrections = folder.path(QStringLiteral("lists/correct.tlx"));
    {
        SpellEngine engine(dictionary());
        engine.useUserWords(words);
        engine.useCorrections(corrections);
        EXPECT_FALSE(engine.accepts(QStringLiteral("Zarquon")));
        QString error;
        ASSERT_TRUE(engine.addUserWord(QStringLiteral("Zarquon"), error)) << error.toStdString();
        ASSERT_TRUE(engine.addUserWord(QStringLiteral("Zarquon"), error));
        ASSERT_TRUE(engine.setCorrection(QStringLiteral("teh"), QStringLiteral("the"), error));
        ASSERT_TRUE(engine.setCorrection(QStringLiteral("wierd"), QStringLiteral("weird"), error));
        EXPECT_TRUE(engine.accepts(QStringLiteral("Zarquon")));
    }
    EXPECT_EQ(folder.read(QStringLiteral("lists/userdic.tlx")), QByteArray("Zarquon\n"));
    EXPECT_EQ(folder.read(QStringLiteral("lists/correct.tlx")),
              QByteArray("teh\tthe\nwierd\tweird\n"));

    SpellEngine later(dictionary());
    EXPECT_FALSE(later.accepts(QStringLiteral("Zarquon")));
    later.useUserWords(words);
    later.useCorrections(corrections);
    EXPECT_TRUE(later.accepts(QStringLiteral("Zarquon")));
    EXPECT_EQ(later.correctionFor(QStringLiteral("teh")), QStringLiteral("the"));
    EXPECT_EQ(later.correctionFor(QStringLiteral("Teh")), QStringLiteral("The"));
    EXPECT_EQ(later.correctionFor(QStringLiteral("zqx")), QString());
    // Removing a correction rewrites the list without it.
    QString error;
    ASSERT_TRUE(later.setCorrection(QStringLiteral("teh"), QString(), error));
    EXPECT_EQ(folder.read(QStringLiteral("lists/correct.tlx")), QByteArray("wierd\tweird\n"));
}

TEST(UserWordListTest, AWordThatCannotBeStoredIsKnownAndTheFailureSaid)
{
    TestFolder folder;
    folder.write(QStringLiteral("blocker"), "a file where the folder should be");
    SpellEngine engine(dictionary());
    engine.useUserWords(folder.path(QStringLiteral("blocker/userdic.tlx")));
    QString error;
    EXPECT_FALSE(engine.addUserWord(QStringLiteral("Zarquon"), error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(engine.accepts(QStringLiteral("Zarquon")));
}

// The engine loads a dictionary with its flags turned into aliases: they must mean what they did,
// after a REP table (Hunspell then stops reading options at the first affix rule), beside a
// morphological field.
TEST(SpellEngineAliasTest, FlagsKeepTheirMeaning)
{
    TestFolder folder;
    folder.write(QStringLiteral("xx.aff"), "SET UTF-8\nREP 1\nREP k c\nPFX U Y 1\nPFX U 0 un .\n"
                                           "SFX S Y 1\nSFX S 0 s .\n");
    folder.write(QStringLiteral("xx.dic"), "3\nbook/SU\nread/US\nnote/S\tpo:noun\n");
    const SpellEngine engine(folder.path(QStringLiteral("xx")));
    for (const char *word : {"books", "unbook", "unbooks", "reads", "unread", "notes"})
        EXPECT_TRUE(engine.accepts(QString::fromLatin1(word))) << word;
    for (const char *word : {"booked", "renote", "unnote"})
        EXPECT_FALSE(engine.accepts(QString::fromLatin1(word))) << word;
}

TEST(SpellingComponentTest, RefusesWhatItCannotWorkWith)
{
    TestFolder folder;
    const auto throws = [](const std::function<void()> &call) {
        try {
            call();
        } catch (const spelling::SpellingError &) {
            return true;
        }
        return false;
    };
    EXPECT_TRUE(throws([&] { SpellEngine engine(folder.path(QStringLiteral("en_XX"))); }));
    const auto component = spelling::createSpellingComponent(QString(), folder.path());
    EXPECT_TRUE(
        throws([&] { component->setMainWordLists(QStringLiteral("sscebr.tlx,other.clx")); }));
    EXPECT_TRUE(throws([&] { component->setUserWordLists(QStringLiteral("userdic.tlx,x.tlx")); }));
    EXPECT_TRUE(throws([&] { component->setOption(QStringLiteral("IgnoreEverything"), true); }));
    EXPECT_TRUE(throws([&] { component->option(QStringLiteral("IgnoreEverything")); }));
    EXPECT_TRUE(throws([&] { component->start(); })); // no text control
    EXPECT_FALSE(throws([&] {
        component->setMainWordLists(QStringLiteral("sscebr.tlx,sscebr2.clx"));
        component->setUserWordLists(QStringLiteral("userdic.tlx,correct.tlx"));
        component->setOption(QStringLiteral("PhoneticSuggestions"), true);
    }));
    EXPECT_TRUE(component->option(QStringLiteral("PhoneticSuggestions")));
}

} // namespace
