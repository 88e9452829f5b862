#include "aboutwindow.h"

#include "centerform.h"
#include "twipsconvert.h"
#include "version.h"

#include <QLabel>
#include <QPushButton>

namespace {

const char *const kCaption = "About Norvale Quillet Monitor File Handler";
const char *const kProductVersion = "Norvale Quillet Monitor File Handler Version ";
const char *const kSpellingCredit = "Spell checking by Hunspell, with the British English "
                                    "dictionary of the hunspell-en-gb package.";

} // namespace

AboutWindow::AboutWindow(QWidget *parent)
    : QDialog(parent), m_cmdOK(new QPushButton(tr("&OK"), this))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);

    // Laid out in twips like the suite's other windows, converted at this screen's DPI.
    const auto place = [this](QWidget *control, int left, int top, int width, int height) {
        control->setGeometry(twipsToPixels(left, logicalDpiX()), twipsToPixels(top, logicalDpiY()),
                             twipsToPixels(width, logicalDpiX()),
                             twipsToPixels(height, logicalDpiY()));
    };
    setFixedSize(twipsToPixels(4500, logicalDpiX()), twipsToPixels(1635, logicalDpiY()));

    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    place(m_cmdOK, 3495, 210, 870, 345);
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *lblInfo0 = new QLabel(this);
    lblInfo0->setObjectName(QStringLiteral("lblInfo0"));
    lblInfo0->setText(QString::fromLatin1(kProductVersion) +
                      versionText(kVersionMajor, kVersionMinor, kVersionRevision));
    lblInfo0->setWordWrap(true);
    place(lblInfo0, 180, 255, 3195, 495);

    auto *lblInfo1 = new QLabel(this);
    lblInfo1->setObjectName(QStringLiteral("lblInfo1"));
    lblInfo1->setText(QString::fromLatin1(kSpellingCredit));
    lblInfo1->setWordWrap(true);
    place(lblInfo1, 165, 795, 3195, 705);

    // The button is the only control that takes the focus, so it is first in the tab order.
    m_cmdOK->setFocus();
}

void ShowAboutBox(QWidget *parent)
{
    AboutWindow about(parent);
    CenterForm(about);
    about.exec();
}
