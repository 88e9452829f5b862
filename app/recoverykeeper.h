#pragma once

#include "recoverycopy.h"

#include <QTimer>

#include <functional>

namespace monitorfile {
class MessagePresenter;
}

// What the monitor typed and chose is kept outside the tutor folder a moment after each edit,
// so that a crash, a power cut or a killed program does not take the unsaved work with it; a
// later start-up on the same file offers it back.
class RecoveryKeeper
{
public:
    // What the keeper asks of the form, which outlives it.
    struct Form
    {
        std::function<bool()> loaded;    // edits before the form is loaded are its own filling
        std::function<bool()> fileFound; // the tutor monitoring file was there to read
        std::function<QString()> tutorFile;
        std::function<monitorfile::MonitorFormValues()> shownValues;
        // Puts recovered values on screen; they have not passed the form's rules yet.
        std::function<void(monitorfile::MonitorFormValues)> showRecovered;
    };

    RecoveryKeeper(monitorfile::MessagePresenter &messages, Form form);

    // Keeps a copy once the form has been left alone for a moment.
    void schedule();
    // Asks whether to bring back entries kept by a form on this file that ended without saving
    // them (the newest first; copies of forms still running are theirs). True when entries are
    // now on screen, to be marked as unsaved changes.
    bool offerRecoveredWork();
    // The changes were saved or thrown away.
    void discard();

private:
    void keep();

    monitorfile::MessagePresenter &m_messages;
    Form m_form;
    monitorfile::RecoveryStore m_store{monitorfile::RecoveryStore::defaultFolder()};
    QTimer m_timer;
    // Told once per session rather than on every attempt.
    bool m_toldCopyNotKept = false;
};
