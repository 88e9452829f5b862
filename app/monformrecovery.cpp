// What the monitor typed and chose is kept outside the tutor folder a moment after each edit,
// so that a crash, a power cut or a killed program does not take the unsaved work with it.
#include "monformentry.h"

#include "monitorgrid.h"

#include "messagetexts.h"
#include "suitepath.h"

#include <QPlainTextEdit>

#include <map>

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

QString MonFormEntry::tutorFilePath() const
{
    return monitorfile::suiteFilePath(m_tutorData.record.file_path.trimmed(),
                                      m_tutorData.record.file_title.trimmed());
}

monitorfile::MonitorFormValues MonFormEntry::shownValues() const
{
    monitorfile::MonitorFormValues values;
    values.flags = m_flags;
    values.comments = m_txtMonitorComments->toPlainText();
    for (int row = 1; row < m_monFlex1->rows(); ++row) {
        values.students.push_back({m_monFlex1->textMatrix(row, 4), m_monFlex1->textMatrix(row, 1),
                                   m_monFlex1->textMatrix(row, 2), m_monFlex1->textMatrix(row, 3)});
    }
    return values;
}

void MonFormEntry::scheduleRecoveryCopy()
{
    if (!m_formLoaded || !m_tutorData.fileFound)
        return;
    if (!m_recoveryTimer.isSingleShot()) {
        m_recoveryTimer.setSingleShot(true);
        m_recoveryTimer.setInterval(kRecoveryDelayMilliseconds);
        connect(&m_recoveryTimer, &QTimer::timeout, this, &MonFormEntry::keepRecoveryCopy);
    }
    m_recoveryTimer.start();
}

void MonFormEntry::keepRecoveryCopy()
{
    QString error;
    if (m_recovery.keep({tutorFilePath(), QDateTime::currentDateTimeUtc(), shownValues()}, error))
        return;
    // The monitor counts on the copy: told once, not on every pause in typing.
    if (!m_toldCopyNotKept) {
        m_toldCopyNotKept = true;
        m_platform.messages.show(monitorfile::texts::recoveryCopyNotKept(error));
    }
}

void MonFormEntry::discardRecoveryCopy()
{
    m_recoveryTimer.stop();
    if (m_tutorData.fileFound)
        m_recovery.discard(tutorFilePath());
}

// Asks whether to bring back entries kept by a form on this file that ended without saving
// them (the newest first; copies of forms still running are theirs). True when entries are now
// on screen, to be marked as unsaved changes.
bool MonFormEntry::offerRecoveredWork()
{
    if (!m_tutorData.fileFound)
        return false;
    while (const std::optional<monitorfile::RecoveryCopy> copy =
               m_recovery.takeOrphan(tutorFilePath())) {
        if (!monitorfile::sameEntries(copy->values, shownValues()) &&
            m_platform.messages.show(offerText(copy->keptAt), monitorfile::MessageButtons::YesNo) ==
                monitorfile::MessageAnswer::Yes) {
            showRecoveredValues(copy->values);
            return true;
        }
        // Thrown away, or nothing the file does not hold already.
        m_recovery.discard(tutorFilePath());
    }
    return false;
}

// A copy is a file on disk that anything may have changed: its values pass the rules typed values
// pass, and a value that fails them is dropped, its cell keeping what the file holds. Students
// are known by their ids.
void MonFormEntry::showRecoveredValues(monitorfile::MonitorFormValues values)
{
    for (QString &flag : values.flags) {
        if (!isAcceptedRating(flag))
            flag = m_flags[size_t(&flag - values.flags.data())];
    }

    m_txtMonitorComments->setPlainText(values.comments);
    m_flags = values.flags;
    {
        const QSignalBlocker blockCriteria(m_monFlex2);
        showRatings();
    }
    // Rows are matched by personal id, the k-th row with an id taking the k-th kept entry with
    // it, so that a student list changed meanwhile by another program gets nobody's grades.
    std::map<QString, std::vector<const monitorfile::StudentGrading *>> kept;
    for (const monitorfile::StudentGrading &s : values.students)
        kept[s.personalId].push_back(&s);
    std::map<QString, size_t> used;
    const QSignalBlocker blockStudents(m_monFlex1);
    for (int row = 1; row < m_monFlex1->rows(); ++row) {
        const QString id = m_monFlex1->textMatrix(row, 4);
        const auto entries = kept.find(id);
        if (entries == kept.end() || used[id] >= entries->second.size())
            continue;
        const monitorfile::StudentGrading *s = entries->second[used[id]++];
        if (isGradeListEntry(s->marking))
            m_monFlex1->setTextMatrix(row, 1, s->marking);
        if (isRatingListEntry(s->summaryFeedback))
            m_monFlex1->setTextMatrix(row, 2, s->summaryFeedback);
        if (isRatingListEntry(s->scriptComments))
            m_monFlex1->setTextMatrix(row, 3, s->scriptComments);
    }
}
