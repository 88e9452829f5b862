#pragma once

#include <QDialog>

class QPushButton;

// The About box: the program's name and version and the credit for the spelling engine.
// Modal, fixed size; OK closes it.
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    explicit AboutWindow(QWidget *parent = nullptr);

    QPushButton *okButton() const { return m_cmdOK; }

private:
    QPushButton *m_cmdOK;
};

// Builds a new About window over parent, centres it on the screen, shows it modal and
// discards it once closed.
void ShowAboutBox(QWidget *parent);
