// The suite's shared unsaved state: the setting, the Save controls and the notice to the
// Tutor Summary window move together here.
#include "monformentry.h"

void MonFormEntry::MarkMonitorChanged()
{
    m_preferences.write(settings::Pref::MonitorChanges, QStringLiteral("True"));
    toolbarButton(1)->setEnabled(m_tutorData.fileFound);
    menuItem("mnuSave")->setEnabled(m_tutorData.fileFound);
    NotifyChangesPending();
}

void MonFormEntry::NotifyChangesPending()
{
    // The notice to the Tutor Summary window arrives with the suite's message layer.
}
