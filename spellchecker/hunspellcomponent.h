#pragma once

#include "checkoptions.h"
#include "spellingcomponent.h"

#include <QPointer>
#include <QStringList>

#include <memory>

class QThread;

namespace spelling {

class AsYouType;
class SpellEngine;

// The stand-in on Hunspell. Word list names map to files:
// - main lists "sscebr.tlx" and "sscebr2.clx": the British English dictionary;
// - user lists "userdic.tlx" (the words Add stores) and "correct.tlx" (the corrections Change
//   All stores), files of those names in the user folder.
// The dictionary (about 25 ms) is loaded on a thread of its own once the box has painted, or by
// the first check, which waits for a load under way.
class HunspellComponent : public SpellingComponent
{
public:
    HunspellComponent(const QString &dictionaryBase, const QString &userFolder);
    ~HunspellComponent() override;

    void setMainWordLists(const QString &names) override;
    void setUserWordLists(const QString &names) override;
    void setTextControl(QPlainTextEdit *control) override;
    void setOption(const QString &name, bool value) override;
    bool option(const QString &name) const override;
    void start() override;
    void underlineAsYouType(QPlainTextEdit *control) override;
    bool preparing() const override;

    static QString defaultDictionaryBase();
    static QString defaultUserFolder();

private:
    SpellEngine &engine();
    SpellEngine *engineIfAvailable();
    void startLoading();
    void finishLoading();
    void useEngine(std::unique_ptr<SpellEngine> engine);
    void useUserLists();
    void refreshUnderlines();

    QString m_dictionaryBase;
    QString m_userFolder;
    QStringList m_mainLists;
    QString m_userWordsFile = QStringLiteral("userdic.tlx");
    QString m_correctionsFile = QStringLiteral("correct.tlx");
    QPointer<QPlainTextEdit> m_control;
    CheckOptions m_options;
    std::unique_ptr<SpellEngine> m_engine;
    bool m_engineFailed = false;
    // The dictionary loading on a thread of its own, and what it gives.
    QThread *m_loader = nullptr;
    std::unique_ptr<SpellEngine> m_loaded;
    QPointer<AsYouType> m_asYouType;
    QPointer<QObject> m_pendingAttach; // until the box has painted
};

} // namespace spelling
