// Stands in for the spelling-check component the suite carries; not part of the form itself.
#include "hunspellcomponent.h"
#include "asyoutype.h"
#include "checkdialog.h"
#include "spellengine.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <functional>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace spelling {

namespace {

const char *const kMainLists[] = {"sscebr.tlx", "sscebr2.clx"};

// Runs `then` once `widget` has painted, after the paint.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget *widget, std::function<void()> then)
        : QObject(widget), m_then(std::move(then))
    {
        widget->installEventFilter(this);
        widget->update(); // a widget already on the screen paints once more
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            watched->removeEventFilter(this);
            QTimer::singleShot(0, watched, m_then);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_then;
    bool m_done = false;
};

QStringList listNames(const QString &names)
{
    QStringList list;
    for (const QString &name : names.split(u',')) {
        if (!name.trimmed().isEmpty())
            list.append(name.trimmed().toLower());
    }
    return list;
}

} // namespace

HunspellComponent::HunspellComponent(const QString &dictionaryBase, const QString &userFolder)
    : m_dictionaryBase(dictionaryBase.isEmpty() ? defaultDictionaryBase() : dictionaryBase),
      m_userFolder(userFolder.isEmpty() ? defaultUserFolder() : userFolder),
      m_mainLists{QLatin1String(kMainLists[0])}
{
}

HunspellComponent::~HunspellComponent()
{
    if (m_loader) {
        m_loader->wait();
        delete m_loader;
    }
    // The underlining lives in the box and asks for the engine: it must not outlive it.
    delete m_pendingAttach;
    delete m_asYouType;
}

QString HunspellComponent::defaultDictionaryBase()
{
    const QString fromEnvironment = qEnvironmentVariable("MONITOR_SPELLING_DICTIONARY");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
#ifdef Q_OS_WIN
    return QCoreApplication::applicationDirPath() + QStringLiteral("/dictionaries/en_GB");
#else
    return QStringLiteral("/usr/share/hunspell/en_GB");
#endif
}

QString HunspellComponent::defaultUserFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/NorvaleQuillet/spelling");
}

void HunspellComponent::setMainWordLists(const QString &names)
{
    const QStringList lists = listNames(names);
    for (const QString &name : lists) {
        if (name != QLatin1String(kMainLists[0]) && name != QLatin1String(kMainLists[1]))
            throw SpellingError(QStringLiteral("There is no main word list \"%1\"").arg(name));
    }
    m_mainLists = lists;
}

void HunspellComponent::setUserWordLists(const QString &names)
{
    QString words;
    QString corrections;
    for (const QString &name : listNames(names)) {
        if (name == QLatin1String("userdic.tlx"))
            words = name;
        else if (name == QLatin1String("correct.tlx"))
            corrections = name;
        else
            throw SpellingError(QStringLiteral("There is no user word list \"%1\"").arg(name));
    }
    m_userWordsFile = words;
    m_correctionsFile = corrections;
    if (m_engine) {
        useUserLists();
        refreshUnderlines();
    }
}

void HunspellComponent::setTextControl(QPlainTextEdit *control)
{
    m_control = control;
}

void HunspellComponent::setOption(const QString &name, bool value)
{
    const int index = optionIndex(name);
    if (index < 0)
        throw SpellingError(QStringLiteral("There is no spelling option \"%1\"").arg(name));
    m_options.set(static_cast<Option>(index), value);
    if (m_engine && m_engine->options() != m_options) {
        m_engine->setOptions(m_options);
        refreshUnderlines();
    }
}

bool HunspellComponent::option(const QString &name) const
{
    const int index = optionIndex(name);
    if (index < 0)
        throw SpellingError(QStringLiteral("There is no spelling option \"%1\"").arg(name));
    return m_options.on(static_cast<Option>(index));
}

void HunspellComponent::start()
{
    if (!m_control)
        throw SpellingError(QStringLiteral("No text control to check"));
    if (m_mainLists.isEmpty())
        throw SpellingError(QStringLiteral("No main word list"));
    m_engineFailed = false;
    SpellEngine &spelling = engine();
    // Another program of the suite may have added words since the last check.
    useUserLists();
    spelling.setOptions(m_options);
    CheckDialog dialog(spelling, m_control, m_control->window());
    if (dialog.findNext())
        dialog.exec();
    m_options = spelling.options();
    refreshUnderlines();
}

void HunspellComponent::underlineAsYouType(QPlainTextEdit *control)
{
    delete m_asYouType;
    // After the box has shown: loading the dictionary must not hold up the window's first paint.
    delete m_pendingAttach;
    m_pendingAttach = new AfterFirstPaint(control->viewport(), [this, control] {
        startLoading();
        delete m_asYouType;
        m_asYouType = new AsYouType(control, [this] { return engineIfAvailable(); });
    });
}

bool HunspellComponent::preparing() const
{
    return m_pendingAttach || m_loader;
}

SpellEngine &HunspellComponent::engine()
{
    finishLoading(); // a load under way is waited for, not reported missing
    if (!m_engine)
        useEngine(std::make_unique<SpellEngine>(m_dictionaryBase));
    return *m_engine;
}

// Nothing is underlined until the dictionary is there; typing goes on meanwhile.
SpellEngine *HunspellComponent::engineIfAvailable()
{
    if (!m_engine && !m_engineFailed)
        startLoading();
    return m_engine.get();
}

void HunspellComponent::startLoading()
{
    if (m_engine || m_engineFailed || m_loader)
        return;
    m_loader = QThread::create([this, base = m_dictionaryBase] {
        try {
            m_loaded = std::make_unique<SpellEngine>(base);
        } catch (const std::exception &) {
            // The check reports it when asked; underlining just stays off.
        }
    });
    // Queued to this thread, where the loader object lives.
    QObject::connect(m_loader, &QThread::finished, m_loader, [this] {
        finishLoading();
        refreshUnderlines();
    });
    m_loader->start(QThread::LowPriority);
}

void HunspellComponent::finishLoading()
{
    if (!m_loader)
        return;
    m_loader->wait();
    m_loader->deleteLater(); // this may run in its signal
    m_loader = nullptr;
    if (m_loaded)
        useEngine(std::move(m_loaded));
    else
        m_engineFailed = true;
}

void HunspellComponent::useEngine(std::unique_ptr<SpellEngine> engine)
{
    m_engine = std::move(engine);
    m_engine->setOptions(m_options);
    useUserLists();
#ifdef __GLIBC__
    // What the loading freed goes back to the system rather than staying in the loader's heap.
    malloc_trim(0);
#endif
}

void HunspellComponent::useUserLists()
{
    const auto path = [this](const QString &file) {
        return file.isEmpty() || m_userFolder.isEmpty() ? QString()
                                                        : QDir(m_userFolder).filePath(file);
    };
    m_engine->useUserWords(path(m_userWordsFile));
    m_engine->useCorrections(path(m_correctionsFile));
}

void HunspellComponent::refreshUnderlines()
{
    if (m_asYouType)
        m_asYouType->refresh();
}

std::unique_ptr<SpellingComponent> createSpellingComponent(const QString &dictionaryBase,
                                                           const QString &userFolder)
{
    return std::make_unique<HunspellComponent>(dictionaryBase, userFolder);
}

} // namespace spelling
