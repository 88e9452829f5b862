#pragma once

#include "preferences.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <array>

class FontSizeList;
class FramePlacement;
class MonitorGrid;
class QFrame;
class QLabel;
class QMainWindow;
class QPlainTextEdit;

// The form's layout: its place and size on the screen (in twips, outer frame included, as the
// suite stores them), the controls kept in reach as the window is resized, the texts fitted to
// the font in use, and the comments' font size. The window builds the controls and forwards its
// resize and move events here.
class FormLayout
{
public:
    // The controls it arranges; all belong to the window.
    struct Controls
    {
        QMainWindow *window;
        QFrame *formFrame; // everything below the toolbar
        QLabel *tutorLabel;
        QLabel *courseLabel;
        QLabel *regionLabel;
        MonitorGrid *studentGrid;
        MonitorGrid *criteriaGrid;
        FontSizeList *fontSizeList;
        QPlainTextEdit *commentsBox;
    };

    // Connects itself to the font size list: it stays where it was made.
    FormLayout(const Controls &controls, settings::Preferences &preferences);
    Q_DISABLE_COPY_MOVE(FormLayout)

    // Start-up, in this order: the design, the stored placement, room for grown text, the stored
    // font size read and later offered.
    void layOutAsDesigned();
    void applyPlacement();
    void makeRoomForGrownText();
    void readFontSizeSetting();
    void fillFontSizeList();
    // The header's labels once they show the tutor, whose `name` alone may be shortened.
    void fitHeaderLabels(const QString &name);
    // The tutor label's whole line, also while the label shows the name shortened.
    QString tutorLine() const;

    // The window's outer frame as the monitor sees it, in pixels.
    QRect outerFrame() const;
    int frameCorrections() const;
    // Window geometry in twips, outer frame included.
    QRect outerGeometryTwips() const;
    void setOuterGeometryTwips(const QRect &twips);
    // What closing stores: the numbers placed by, as far as the frame still stands by them.
    QRect placementToStore() const;

    // The window was resized or moved.
    void applyResizeRule();

    // Writes the placement and the font size into the preferences.
    void storePlacementAndFontSize();
    // Restore System Defaults: the designed size and columns, and then the default font size.
    void restoreDesign();
    void restoreDefaultFontSize();

private:
    void layOutGrids();
    void fitTextToFont();
    void fitCriteriaColumns();
    void keepEveryControlInReach();
    void keepOnAScreen(QRect &placement) const;
    void applyChosenFontSize();

    QMainWindow &m_window;
    QFrame *m_formFrame;
    QLabel *m_tutorLabel;
    QLabel *m_courseLabel;
    QLabel *m_regionLabel;
    MonitorGrid *m_studentGrid;
    MonitorGrid *m_criteriaGrid;
    FontSizeList *m_fontSizeList;
    QPlainTextEdit *m_commentsBox;
    settings::Preferences &m_preferences;
    FramePlacement *m_framePlacement; // owned by the window

    QString m_formTopText;
    QString m_formLeftText;
    QString m_formHeightText;
    QString m_formWidthText;
    int m_formWidthValue = 0;
    QString m_fontSizeSetting;
    QString m_currentFontSizeName;
    bool m_fontListReady = false;
    QRect m_placementTwips;
    QSize m_textRoom;                      // pixels the criteria grid grew by for its font
    std::array<QRect, 3> m_headerDesign{}; // the header labels' designed places
};
