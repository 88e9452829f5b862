#pragma once

#include <QString>

#include <array>
#include <memory>
#include <stdexcept>

class QPlainTextEdit;

namespace spelling {

// Every failure of the component: engine or dictionary missing, an unknown word list name, an
// unknown option, no text control.
class SpellingError : public std::runtime_error
{
public:
    explicit SpellingError(const QString &what) : std::runtime_error(what.toStdString()) {}
};

// The component's options, by the names the suite stores them under.
inline constexpr int kOptionCount = 11;
inline constexpr std::array<const char *, kOptionCount> kOptionNames = {"AutoCorrect",
                                                                        "CaseSensitive",
                                                                        "CatchDoubledWords",
                                                                        "IgnoreAllCapsWords",
                                                                        "IgnoreCapitalizedWords",
                                                                        "IgnoreDomainNames",
                                                                        "IgnoreMixedCaseWords",
                                                                        "IgnoreWordsWithDigits",
                                                                        "PhoneticSuggestions",
                                                                        "TypographicalSuggestions",
                                                                        "SuggestSplitWords"};

// The spelling-check component the form carries: the program sets its word lists, its text
// control and its options, then starts a check that runs its own modal dialog on the control and
// returns when the check is over. Corrections are made in the control itself, as ordinary edits.
// Every call may throw SpellingError. The component does not own the control.
class SpellingComponent
{
public:
    virtual ~SpellingComponent() = default;

    // Comma-separated word list names.
    virtual void setMainWordLists(const QString &names) = 0;
    virtual void setUserWordLists(const QString &names) = 0;
    virtual void setTextControl(QPlainTextEdit *control) = 0;

    virtual void setOption(const QString &name, bool value) = 0;
    virtual bool option(const QString &name) const = 0;

    virtual void start() = 0;

    // Underlines the words the check would stop at while the monitor types in `control`, with
    // suggestions in its context menu. Underlining is not an edit of the text.
    virtual void underlineAsYouType(QPlainTextEdit *control) = 0;

    // True while the component still gets ready in the background (loads its dictionary after
    // the window's first paint); what it is asked meanwhile waits for it or goes without.
    virtual bool preparing() const { return false; }
};

// Index of an option by name, -1 when there is none.
int optionIndex(const QString &name);

// The component on Hunspell with the British English dictionary. Empty arguments choose the
// installed dictionary (or $MONITOR_SPELLING_DICTIONARY, a path without ".aff"/".dic") and the
// user's data folder for the user word lists.
std::unique_ptr<SpellingComponent> createSpellingComponent(const QString &dictionaryBase = {},
                                                           const QString &userFolder = {});

} // namespace spelling
