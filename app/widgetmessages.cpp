#include "widgetmessages.h"

#include <QMessageBox>

using monitorfile::MessageAnswer;
using monitorfile::MessageButtons;

QString applicationTitle()
{
    return QStringLiteral("Monitor Entry Form");
}

MessageAnswer WidgetMessages::show(const QString &text, MessageButtons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::NoButton, m_parent);
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        return MessageAnswer::Ok;
    }
}
