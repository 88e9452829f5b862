#pragma once

#include "commandline.h"
#include "designfont.h"
#include "editcommands.h"
#include "formlayout.h"
#include "platform.h"
#include "recoverykeeper.h"

#include "messages.h"
#include "preferences.h"
#include "spellingoptions.h"
#include "suitelink.h"
#include "tutordata.h"
#include "tutorfilereader.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

class FontSizeList;
class MonitorGrid;
class QAction;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QToolBar;
class frmViewPreviousMonitorForms;
struct PrintSource;

// The monitoring form: the tutor's header, the student grid, the criteria grid and the
// monitor's comments, with the suite's menus and toolbar.
class MonFormEntry : public QMainWindow, private suite::SuiteLink::Window
{
    Q_OBJECT

public:
    MonFormEntry(const MonitorPlatform &platform, QStringList arguments);

    // Runs the start-up sequence. False when the program must end instead of showing the form.
    bool load();

    // Toolbar buttons by their 1-based index; separators included.
    QAction *toolbarButton(int index) const;
    QAction *menuItem(const char *name) const;
    void clickToolbarButton(int index);

    void DisplayData();
    void EnableMenus();
    void SavePreferences();
    void SetWindowTopMost(bool topMost);
    bool SaveChanges() { return m_suiteLink.SaveChanges(); }
    monitorfile::MessageAnswer QuerySaveChanges() { return m_suiteLink.QuerySaveChanges(); }
    void ShowAboutBox();

    const monitorfile::TutorData &tutorData() const { return m_tutorData; }
    // The ratings of the fifteen criteria as the monitor left them (the file's flag1 to flag15).
    const std::array<QString, monitorfile::kFlagCount> &flags() const { return m_flags; }
    void MarkMonitorChanged();
    const CommandWords &commandWords() const { return m_words; }
    const QString &TutorFolderPath() const { return m_tutorFolderPath; }
    const settings::SpellingOptions &spellingOptions() const { return m_spellingOptions; }
    bool formLoaded() const { return m_formLoaded; }
    bool isTopMost() const;
    // The window's outer frame as the monitor sees it, in pixels.
    QRect outerFrame() const;
    int frameCorrections() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Layout
    void buildControls();
    void buildMenus();
    void buildToolbar();
    void describeControls();
    QAction *addMenuItem(QMenu *menu, const char *name, const QString &caption,
                         void (MonFormEntry::*handler)() = nullptr);

    // Start-up steps
    bool checkCommandLine();
    bool claimTutorFile();
    void writeTidiedFile(const monitorfile::ReadReport &read);
    void comeForward();
    void applySpellingOptions();
    void underlineMisspellings();
    void showMissingFile();

    // Editing
    void connectGrids();
    void storeRating();
    void connectCommentsBox();
    void connectEditCommands();

    // What the suite link asks of the window
    QString suiteTitle() const override { return windowTitle(); }
    bool holdsTutorFile() const override { return m_tutorData.fileFound; }
    bool saveIntoFile() override;
    void moveFocusToComments() override;
    void enableSaveControls(bool enabled) override { setSaveControlsEnabled(enabled); }
    void reloadSavedValues() override;
    void discardUnsavedCopy() override { m_recoveryKeeper.discard(); }
    void storePreferences() override { SavePreferences(); }
    bool closeWindow() override { return close(); }

    // Unsaved work kept outside the tutor folder until it is saved or thrown away
    monitorfile::MonitorFormValues shownValues() const;
    QString tutorFilePath() const;
    RecoveryKeeper::Form recoveryForm();
    void showRecoveredValues(monitorfile::MonitorFormValues values);
    void showRatings();

    // Commands
    void mnuAlwaysOnTop_Click();
    void mnuRestoreSettings_Click();
    void maximise();
    void save() { SaveChanges(); }
    void closeFromMenu();
    void exitFromMenu();
    void mnuPrint_Click();
    bool printForm();
    PrintSource printSource() const;
    QString printJobName() const;
    void checkSpelling();
    void showPreviousMonitorForms();
    void mnuViewMonitorCommentsWindow_Click();
    void setSaveControlsEnabled(bool enabled);

    MonitorPlatform m_platform;
    QStringList m_arguments;
    settings::Preferences m_preferences;
    settings::SpellingOptions m_spellingOptions;
    monitorfile::TutorData m_tutorData;
    std::array<QString, monitorfile::kFlagCount> m_flags;
    CommandWords m_words;
    QString m_monitorRootDirectory;
    QString m_tutorFolderPath;

    QString m_alwaysOnTopSetting;
    bool m_formLoaded = false;
    suite::SuiteLink m_suiteLink{*this,
                                 m_platform.settings,
                                 m_platform.processes,
                                 m_platform.messages,
                                 m_platform.windowMessages,
                                 m_platform.endpoint};
    RecoveryKeeper m_recoveryKeeper{m_platform.messages, recoveryForm()};

    QToolBar *m_toolbar = nullptr;
    std::array<QAction *, 14> m_toolbarButtons{};
    QFrame *m_headerFrame = nullptr;
    QLabel *m_tutorLabel = nullptr;
    QLabel *m_courseLabel = nullptr;
    QLabel *m_regionLabel = nullptr;
    MonitorGrid *m_studentGrid = nullptr;
    MonitorGrid *m_criteriaGrid = nullptr;
    FontSizeList *m_fontSizeList = nullptr;
    QPlainTextEdit *m_commentsBox = nullptr;
    std::unique_ptr<FormLayout> m_layout; // arranges the controls above, once they are built
    QPointer<frmViewPreviousMonitorForms> m_previousForms; // while it is open
    // Made with the controls it serves, and gone before them.
    std::unique_ptr<EditCommands> m_editCommands;
};

// The rules a value passes before it stands in a grid: a criterion's rating (no character the
// file's markup cannot take), a student's grade and ratings (an entry of the column's list).
bool isAcceptedRating(const QString &text);
bool isGradeListEntry(const QString &text);
bool isRatingListEntry(const QString &text);
