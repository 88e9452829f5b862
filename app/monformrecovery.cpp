// What the recovery keeper reads from the form and puts back on it.
#include "monformentry.h"

#include "monitorgrid.h"

#include "suitepath.h"

#include <QPlainTextEdit>

#include <map>

RecoveryKeeper::Form MonFormEntry::recoveryForm()
{
    return {
        [this] { return m_formLoaded; }, [this] { return m_tutorData.fileFound; },
        [this] { return tutorFilePath(); }, [this] { return shownValues(); },
        [this](monitorfile::MonitorFormValues values) { showRecoveredValues(std::move(values)); }};
}

QString MonFormEntry::tutorFilePath() const
{
    return monitorfile::suiteFilePath(m_tutorData.record.file_path.trimmed(),
                                      m_tutorData.record.file_title.trimmed());
}

monitorfile::MonitorFormValues MonFormEntry::shownValues() const
{
    monitorfile::MonitorFormValues values;
    values.flags = m_flags;
    values.comments = m_commentsBox->toPlainText();
    for (int row = 1; row < m_studentGrid->rows(); ++row) {
        values.students.push_back(
            {m_studentGrid->textMatrix(row, 4), m_studentGrid->textMatrix(row, 1),
             m_studentGrid->textMatrix(row, 2), m_studentGrid->textMatrix(row, 3)});
    }
    return values;
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

    m_commentsBox->setPlainText(values.comments);
    m_flags = values.flags;
    {
        const QSignalBlocker blockCriteria(m_criteriaGrid);
        showRatings();
    }
    // Rows are matched by personal id, the k-th row with an id taking the k-th kept entry with
    // it, so that a student list changed meanwhile by another program gets nobody's grades.
    std::map<QString, std::vector<const monitorfile::StudentGrading *>> kept;
    for (const monitorfile::StudentGrading &s : values.students)
        kept[s.personalId].push_back(&s);
    std::map<QString, size_t> used;
    const QSignalBlocker blockStudents(m_studentGrid);
    for (int row = 1; row < m_studentGrid->rows(); ++row) {
        const QString id = m_studentGrid->textMatrix(row, 4);
        const auto entries = kept.find(id);
        if (entries == kept.end() || used[id] >= entries->second.size())
            continue;
        const monitorfile::StudentGrading *s = entries->second[used[id]++];
        if (isGradeListEntry(s->marking))
            m_studentGrid->setTextMatrix(row, 1, s->marking);
        if (isRatingListEntry(s->summaryFeedback))
            m_studentGrid->setTextMatrix(row, 2, s->summaryFeedback);
        if (isRatingListEntry(s->scriptComments))
            m_studentGrid->setTextMatrix(row, 3, s->scriptComments);
    }
}
