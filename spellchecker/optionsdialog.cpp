#include "optionsdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace spelling {

namespace {

const char *const kCaptions[kOptionCount] = {
    "&Correct automatically from the list of corrections",
    "Case &sensitive",
    "Catch &doubled words",
    "Ignore words in &UPPER CASE",
    "Ignore words with an initial &capital",
    "Ignore domain &names, web and e-mail addresses",
    "Ignore words in &MiXeD case",
    "Ignore words with di&gits",
    "&Phonetic suggestions (words that sound alike)",
    "&Typographical suggestions (words typed wrongly)",
    "Suggest &splitting words run together",
};

} // namespace

OptionsDialog::OptionsDialog(const CheckOptions &options, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Spelling Options"));
    auto *layout = new QVBoxLayout(this);
    for (int i = 0; i < kOptionCount; ++i) {
        m_boxes[i] = new QCheckBox(QString::fromLatin1(kCaptions[i]), this);
        m_boxes[i]->setObjectName(QLatin1String(kOptionNames[i]));
        m_boxes[i]->setChecked(options.on(static_cast<Option>(i)));
        layout->addWidget(m_boxes[i]);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

CheckOptions OptionsDialog::options() const
{
    CheckOptions options;
    for (int i = 0; i < kOptionCount; ++i)
        options.set(static_cast<Option>(i), m_boxes[i]->isChecked());
    return options;
}

} // namespace spelling
