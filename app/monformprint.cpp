// Printing the form as fixed-pitch text on the default printer.
#include "monformentry.h"

#include "ansicodec.h"
#include "monitorgrid.h"
#include "printdocument.h"
#include "textprinter.h"
#include "textvalues.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace {

const QString kSaveBeforePrinting = QStringLiteral("Please save changes before printing.");
// The two lines are joined by a carriage return alone, as the suite's other programs do it.
const QString kPrinterProblem =
    QStringLiteral("A problem was encountered communicating with your default printer\r"
                   "Please check the setup of your printer");

// A stopped printer takes the job and holds it: nothing comes out until someone resumes it.
QString printerPaused(const QString &printer)
{
    return QStringLiteral("The printer \"%1\" is paused. The monitoring form waits in its queue "
                          "and prints when the printer is resumed.")
        .arg(printer);
}

} // namespace

void MonFormEntry::mnuPrint_Click()
{
    // A value that reads as neither true nor false may hide unsaved changes: refuse then too.
    if (m_suiteLink.changesPending()) {
        m_platform.messages.show(kSaveBeforePrinting, monitorfile::MessageButtons::Ok);
        return;
    }
    if (!printForm())
        m_platform.messages.show(kPrinterProblem, monitorfile::MessageButtons::Ok);
    else if (const QString paused = m_platform.printer.pausedPrinter(); !paused.isEmpty())
        m_platform.messages.show(printerPaused(paused), monitorfile::MessageButtons::Ok);
}

// False when a step failed; a cancel in the dialog is no failure and prints nothing.
bool MonFormEntry::printForm()
{
    TextPrinter &printer = m_platform.printer;
    printer.setDocumentName(printJobName());
    PrintChoices choices;
    switch (printer.chooseInDialog(this, choices)) {
    case DialogOutcome::Cancelled:
        return true;
    case DialogOutcome::Failed:
        return false;
    case DialogOutcome::Accepted:
        break;
    }
    return printer.setCopies(choices.copies) && printer.setOrientation(choices.orientation) &&
           printer.setFont(QStringLiteral("Courier New"), 10) &&
           printer.printLines(layOutPrintDocument(printSource())) && printer.endDocument();
}

// What a person sees in the print queue: whose form, for which assignment.
QString MonFormEntry::printJobName() const
{
    const monitorfile::TutorRecord &record = m_tutorData.record;
    const QString name = monitorfile::decodeAnsi(monitorfile::trimBlanks(record.tutor_name));
    const QString id = monitorfile::decodeAnsi(monitorfile::trimBlanks(record.staff_id));
    QString tutor = name;
    if (!id.isEmpty())
        tutor += name.isEmpty() ? id : QStringLiteral(" (") + id + u')';
    return QStringLiteral("Monitor form - ") +
           (tutor.isEmpty() ? QString() : tutor + QStringLiteral(" - ")) + m_words.CmdArg2 + u'-' +
           m_words.CmdArg3 + QStringLiteral(" TMA ") + m_words.CmdArg4;
}

PrintSource MonFormEntry::printSource() const
{
    PrintSource source;
    source.tutor = m_layout->tutorLine();
    source.region = m_regionLabel->text();
    source.course = m_courseLabel->text();
    for (int row = 0; row < m_studentGrid->rows(); ++row) {
        source.studentRows.append(
            {m_studentGrid->textMatrix(row, 0), m_studentGrid->textMatrix(row, 1),
             m_studentGrid->textMatrix(row, 2), m_studentGrid->textMatrix(row, 3)});
    }
    for (int row = 0; row < int(source.criteria.size()) && row < m_criteriaGrid->rows(); ++row) {
        for (int col = 0; col < 4; ++col)
            source.criteria[row][col] = m_criteriaGrid->textMatrix(row, col);
    }
    // The box ends its lines with "\n"; typed line breaks are "\r\n" in the form's own terms.
    source.comments = toWindowsLineEnds(m_commentsBox->toPlainText());
    return source;
}
