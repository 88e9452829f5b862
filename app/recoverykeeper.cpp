#include "recoverykeeper.h"

#include "messages.h"
#include "messagetexts.h"

#include <QLocale>

namespace {

// Long enough that typing does not write on every keystroke, short enough to lose little.
constexpr int kRecoveryDelayMilliseconds = 2000;

QString offerText(const QDateTime &keptAt)
{
    return QStringLiteral("Changes to this monitoring form that were not saved were kept when the "
                          "program last ended (%1).")
               .arg(QLocale::system().toString(keptAt.toLocalTime(), QLocale::ShortFormat)) +
           u'\r' + QStringLiteral("Do you want to bring them back? No throws them away.");
}

} // namespace

RecoveryKeeper::RecoveryKeeper(monitorfile::MessagePresenter &messages, Form form)
    : m_messages(messages), m_form(std::move(form))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kRecoveryDelayMilliseconds);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { keep(); });
}

void RecoveryKeeper::schedule()
{
    if (m_form.loaded() && m_form.fileFound())
        m_timer.start();
}

void RecoveryKeeper::keep()
{
    QString error;
    if (m_store.keep({m_form.tutorFile(), QDateTime::currentDateTimeUtc(), m_form.shownValues()},
                     error))
        return;
    // The monitor counts on the copy: told once, not on every pause in typing.
    if (!m_toldCopyNotKept) {
        m_toldCopyNotKept = true;
        m_messages.show(monitorfile::texts::recoveryCopyNotKept(error));
    }
}

void RecoveryKeeper::discard()
{
    m_timer.stop();
    if (m_form.fileFound())
        m_store.discard(m_form.tutorFile());
}

bool RecoveryKeeper::offerRecoveredWork()
{
    if (!m_form.fileFound())
        return false;
    while (const std::optional<monitorfile::RecoveryCopy> copy =
               m_store.takeOrphan(m_form.tutorFile())) {
        if (!monitorfile::sameEntries(copy->values, m_form.shownValues()) &&
            m_messages.show(offerText(copy->keptAt), monitorfile::MessageButtons::YesNo) ==
                monitorfile::MessageAnswer::Yes) {
            m_form.showRecovered(copy->values);
            return true;
        }
        // Thrown away, or nothing the file does not hold already.
        m_store.discard(m_form.tutorFile());
    }
    return false;
}
