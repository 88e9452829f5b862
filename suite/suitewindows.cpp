#include "suitewindows.h"

namespace suite {

QString windowTitle(SuiteWindow window)
{
    switch (window) {
    case SuiteWindow::TutorSummary:
        return QStringLiteral("Norvale Quillet Monitor File Handler - Tutor Summary");
    case SuiteWindow::StudentSummary:
        return QStringLiteral("Norvale Quillet Monitor File Handler - Student Summary");
    case SuiteWindow::Zip: // two blanks before "Zip", as the suite names it
        return QStringLiteral("Norvale Quillet File Handler -  Zip");
    case SuiteWindow::MonitorForm:
        return QStringLiteral("Monitor Entry Form - Norvale Quillet Monitor File Handler");
    }
    return QString();
}

} // namespace suite
