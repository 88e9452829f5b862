#pragma once

#include "checkoptions.h"

#include <QDialog>

#include <array>

class QCheckBox;

namespace spelling {

// The eleven options as check boxes, each named after its option.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    OptionsDialog(const CheckOptions &options, QWidget *parent);

    CheckOptions options() const;

private:
    std::array<QCheckBox *, kOptionCount> m_boxes{};
};

} // namespace spelling
