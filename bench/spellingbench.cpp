// What a keystroke in the comments box costs while unknown words are underlined as the monitor
// types, on a comment of 5,000 words (one word in twenty misspelt), beside the same box without
// underlining. A keystroke is the key's press and release sent to the box and the repaint that
// follows; iterations alternate a letter and Backspace so that the text keeps its length.
// Also: the check alone of the paragraph a keystroke edits, attaching the underlining to that
// comment with a fresh component (the dictionary loaded and every word looked at once), and the
// suggestions for one word, which typing never asks for.
#include "asyoutype.h"
#include "spellengine.h"
#include "spellingcomponent.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kWords = 5000;

QString g_userFolder;

// Words of a monitor's comment, and misspellings of them.
const char *const kKnown[] = {
    "the",     "tutor",    "student",   "marks",     "comments", "clear",      "helpful",
    "script",  "question", "answer",    "should",    "would",    "explain",    "feedback",
    "summary", "good",     "encourage", "improve",   "work",     "assignment", "consistent",
    "with",    "and",      "a",         "of",        "to",       "in",         "their",
    "please",  "relate",   "criteria",  "carefully", "because",  "although",   "their",
    "British", "colour",   "organise",  "behaviour", "analysis", "whole",      "points"};
const char *const kMisspelt[] = {"recieve", "teh",       "wierd",  "definately", "seperate",
                                 "occured", "tommorrow", "untill", "acheive",    "beleive"};

// `paragraphs` paragraphs of kWords words in all.
QString comment(int paragraphs)
{
    QString text;
    const int perParagraph = kWords / paragraphs;
    for (int i = 0; i < kWords; ++i) {
        if (i > 0)
            text += i % perParagraph == 0 ? QStringLiteral(".\n") : QStringLiteral(" ");
        text += QLatin1String(i % 20 == 19 ? kMisspelt[(i / 20) % std::size(kMisspelt)]
                                           : kKnown[(i * 7) % std::size(kKnown)]);
    }
    return text + u'.';
}

void waitForUnderlining(QPlainTextEdit &box)
{
    while (!box.findChild<spelling::AsYouType *>())
        QCoreApplication::processEvents();
}

void press(QPlainTextEdit &box, int key, const QString &text)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&box, &down);
    QCoreApplication::sendEvent(&box, &up);
    QCoreApplication::processEvents(); // the repaint
}

void Keystroke(benchmark::State &state)
{
    const int paragraphs = int(state.range(0));
    const bool underlining = state.range(1) != 0;
    QPlainTextEdit box;
    box.resize(640, 300);
    box.setPlainText(comment(paragraphs));
    box.show();
    const auto component = spelling::createSpellingComponent(QString(), g_userFolder);
    if (underlining) {
        component->underlineAsYouType(&box);
        waitForUnderlining(box);
    }
    // In the middle of the middle paragraph.
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(int(box.toPlainText().size() / 2));
    box.setTextCursor(cursor);
    box.setFocus();
    QCoreApplication::processEvents();
    const qsizetype length = box.toPlainText().size();
    bool letter = true;
    for (auto _ : state) {
        if (letter)
            press(box, Qt::Key_X, QStringLiteral("x"));
        else
            press(box, Qt::Key_Backspace, QString());
        letter = !letter;
    }
    if (letter && box.toPlainText().size() != length)
        state.SkipWithError("the keystrokes did not reach the box");
}
BENCHMARK(Keystroke)
    ->ArgNames({"paragraphs", "underlining"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({50, 0})
    ->Args({50, 1})
    ->Iterations(2000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void AttachToComment(benchmark::State &state)
{
    QPlainTextEdit box;
    box.resize(640, 300);
    box.setPlainText(comment(int(state.range(0))));
    box.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        const auto component = spelling::createSpellingComponent(QString(), g_userFolder);
        component->underlineAsYouType(&box);
        waitForUnderlining(box);
    }
}
BENCHMARK(AttachToComment)
    ->ArgNames({"paragraphs"})
    ->Arg(1)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The check alone of the paragraph a keystroke edits, with the dictionary's answers remembered.
void CheckParagraph(benchmark::State &state)
{
    const int paragraphs = int(state.range(0));
    const QString paragraph = comment(paragraphs).section(u'\n', 0, 0);
    spelling::SpellEngine engine(QStringLiteral("/usr/share/hunspell/en_GB"));
    benchmark::DoNotOptimize(engine.problems(paragraph));
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.problems(paragraph));
    state.counters["words"] = double(kWords / paragraphs);
}
BENCHMARK(CheckParagraph)
    ->ArgNames({"paragraphs"})
    ->Arg(1)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void Suggestions(benchmark::State &state)
{
    spelling::SpellEngine engine(QStringLiteral("/usr/share/hunspell/en_GB"));
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.suggestions(QStringLiteral("recieve")));
}
BENCHMARK(Suggestions)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    // Added words would change what is underlined: the user's own lists stay out of it.
    QTemporaryDir userFolder;
    if (!userFolder.isValid()) {
        std::fprintf(stderr, "spelling_keystroke_bench: no temporary folder\n");
        return 1;
    }
    g_userFolder = userFolder.path();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
