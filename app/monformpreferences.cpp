// The window's preferences: placement, always on top, font size and the spelling options.
#include "monformentry.h"
#include "formlayout.h"

#include "monitorgrid.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QPlainTextEdit>

using settings::Pref;

void MonFormEntry::SavePreferences()
{
    if (!(windowState() & Qt::WindowMinimized))
        m_layout->storePlacementAndFontSize();
    m_preferences.write(Pref::AlwaysOnTop, m_alwaysOnTopSetting);
}

void MonFormEntry::mnuAlwaysOnTop_Click()
{
    // The menu item toggles its own check mark before this runs.
    const bool onTop = menuItem("mnuAlwaysOnTop")->isChecked();
    m_alwaysOnTopSetting = onTop ? QStringLiteral("Y") : QStringLiteral("N");
    SetWindowTopMost(onTop);
}

void MonFormEntry::SetWindowTopMost(bool topMost)
{
    if (isTopMost() == topMost)
        return;
    const bool wasVisible = isVisible();
    const QRect placement = m_layout->placementToStore();
    // Changing a window flag recreates the native window and hides it: put it back where it was.
    setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
    m_layout->setOuterGeometryTwips(placement);
    if (wasVisible)
        show();
}

bool MonFormEntry::isTopMost() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void MonFormEntry::mnuRestoreSettings_Click()
{
    m_layout->restoreDesign();

    for (const settings::SpellingOptionDefinition &option : settings::kSpellingOptions)
        m_preferences.writeSpellingOption(option, option.restoredValue);
    applySpellingOptions();

    m_alwaysOnTopSetting = QStringLiteral("N");
    menuItem("mnuAlwaysOnTop")->setChecked(false);
    SetWindowTopMost(false);

    m_layout->restoreDefaultFontSize();
}
