// Showing the tutor monitoring file's data, and the commands' enabled state that goes with it.
#include "monformentry.h"
#include "twips.h"

#include "ansicodec.h"
#include "monitorgrid.h"
#include "suitepath.h"
#include "textvalues.h"

#include <QLabel>
#include <QPlainTextEdit>

using monitorfile::decodeAnsi;
using monitorfile::StudentRecord;
using monitorfile::TutorRecord;

void MonFormEntry::DisplayData()
{
    const TutorRecord &r = m_tutorData.record;
    QString tutor = QStringLiteral("Tutor: ") + decodeAnsi(r.staff_id) + QStringLiteral("  ") +
                    decodeAnsi(r.tutor_name);
    if (monitorfile::trimBlanks(r.new_tutor) == "Yes")
        tutor += QStringLiteral(" (New)");
    m_tutorLabel->setText(tutor);
    m_regionLabel->setText(QStringLiteral("Appt Region: ") + decodeAnsi(r.locn_code));
    m_courseLabel->setText(QStringLiteral("Course: ") + m_words.CmdArg2 + u'-' + m_words.CmdArg3 +
                           QStringLiteral("   TMA: ") + m_words.CmdArg4 +
                           QStringLiteral("   Level: ") + decodeAnsi(r.monitoring_level_code));

    for (int i = 0; i < monitorfile::kFlagCount; ++i)
        m_flags[i] = decodeAnsi(r.flags[i]);
    {
        // Filling the student grid is not an edit. The criteria grid's changes pass through the
        // rating rule as the monitor's do; its cursor on the half title keeps them out of the
        // flags.
        const QSignalBlocker blockStudents(m_studentGrid);
        m_studentGrid->setRows(1);
        m_studentGrid->setCols(5);
        m_studentGrid->setCurrentCell(0, 0);
        m_studentGrid->setColHidden(4, true);
        for (const StudentRecord &s : r.students) {
            m_studentGrid->addRow({decodeAnsi(s.student_name), decodeAnsi(s.marking),
                                   decodeAnsi(s.pt3_commenting), decodeAnsi(s.script_commenting),
                                   decodeAnsi(s.student_personal_id)});
        }
        if (m_studentGrid->rows() < 5) {
            m_studentGrid->setColWidthTwips(2, 2190);
            m_studentGrid->setColWidthTwips(3, 2190);
        }
        const int height = (m_studentGrid->rowHeightTwips(0) + 30) * m_studentGrid->rows() - 1;
        m_studentGrid->setHeightTwips(qMin(height, 1035));

        m_criteriaGrid->setCurrentCell(0, 1);
        showRatings();
        m_criteriaGrid->setVisible(true);
    }
    m_commentsBox->setPlainText(decodeAnsi(r.monitor_comments));

    EnableMenus();
    bool changes = false;
    settings::parseBooleanText(m_preferences.read(settings::Pref::MonitorChanges), changes);
    setSaveControlsEnabled(changes);
    if (m_alwaysOnTopSetting == QLatin1String("Y")) {
        menuItem("mnuAlwaysOnTop")->setChecked(true);
        SetWindowTopMost(true);
    }
    if (!m_tutorData.fileFound)
        showMissingFile();
    m_layout->fitHeaderLabels(m_tutorData.fileFound ? decodeAnsi(r.tutor_name) : QString());
}

void MonFormEntry::EnableMenus()
{
    menuItem("mnuViewMonitorFormWindow")->setEnabled(false);
    toolbarButton(12)->setEnabled(false);
    menuItem("mnuExit")->setEnabled(true);
    menuItem("mnuOpen")->setEnabled(false);
    menuItem("mnuSort")->setEnabled(false);
    menuItem("mnuClose")->setEnabled(true);
    menuItem("mnuAlwaysOnTop")->setEnabled(true);
    menuItem("mnuViewPreviousMonitorFormsWindow")->setEnabled(true);
    toolbarButton(14)->setEnabled(true);
    menuItem("mnuViewMonitorCommentsWindow")->setEnabled(true);
    toolbarButton(13)->setEnabled(true);
    menuItem("mnuCopy")->setEnabled(false);
    toolbarButton(4)->setEnabled(true);
    menuItem("mnuPrint")->setEnabled(true);
    toolbarButton(7)->setEnabled(true);
    menuItem("mnuViewZipWindow")->setEnabled(false);
    toolbarButton(11)->setEnabled(false);
    menuItem("mnuSpellCheck")->setEnabled(true);
    toolbarButton(9)->setEnabled(true);
    const QByteArray &previous = m_tutorData.record.previous_monitor_forms;
    const bool havePrevious = !previous.isEmpty() && previous != "No";
    menuItem("mnuViewPreviousMonitorFormsWindow")->setEnabled(havePrevious);
    toolbarButton(14)->setEnabled(havePrevious);
    menuItem("mnuViewStudentWindow")->setEnabled(false);
}

void MonFormEntry::setSaveControlsEnabled(bool enabled)
{
    toolbarButton(1)->setEnabled(enabled && m_tutorData.fileFound);
    menuItem("mnuSave")->setEnabled(enabled && m_tutorData.fileFound);
}

// Without a file there is nothing to review: the form says so instead of looking empty, and
// offers neither saving nor printing.
void MonFormEntry::showMissingFile()
{
    const QString path =
        monitorfile::suiteFilePath(m_tutorFolderPath, QStringLiteral("\\monitor.fhi"));
    m_tutorLabel->setText(QStringLiteral("No tutor monitoring file"));
    m_tutorLabel->setStyleSheet(QStringLiteral("color: #b00020; font-weight: bold;"));
    m_commentsBox->setReadOnly(true);
    m_commentsBox->setPlainText(
        QStringLiteral("There is no tutor monitoring file to review here:\n%1\n\nPlease open the "
                       "tutor again from the Monitor File Handler.")
            .arg(path));
    m_studentGrid->setEnabled(false);
    m_criteriaGrid->setEnabled(false);
    for (const char *name : {"mnuSave", "mnuPrint", "mnuSpellCheck"})
        menuItem(name)->setEnabled(false);
    for (const int button : {1, 7, 9})
        toolbarButton(button)->setEnabled(false);
}

// The fifteen ratings in their cells: flags 1 to 6 down the left half, 7 to 15 down the right.
void MonFormEntry::showRatings()
{
    for (int i = 0; i < 6; ++i)
        m_criteriaGrid->setTextMatrix(i + 1, 1, m_flags[i]);
    for (int i = 6; i < monitorfile::kFlagCount; ++i)
        m_criteriaGrid->setTextMatrix(i - 5, 3, m_flags[i]);
}
