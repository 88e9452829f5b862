#include "suitewindows.h"

#include "suitetitles.h"

namespace suite {

QString windowTitle(SuiteWindow window)
{
    switch (window) {
    case SuiteWindow::TutorSummary:
        return QString::fromLatin1(titles::kTutorSummary);
    case SuiteWindow::StudentSummary:
        return QString::fromLatin1(titles::kStudentSummary);
    case SuiteWindow::Zip:
        return QString::fromLatin1(titles::kZip);
    case SuiteWindow::MonitorForm:
        return QString::fromLatin1(titles::kMonitorForm);
    }
    return QString();
}

} // namespace suite
