#pragma once

#include "messages.h"

class QWidget;

// Message boxes with an OK button (or Yes, No and Cancel), no icon and the application's title.
class WidgetMessages : public monitorfile::MessagePresenter
{
public:
    explicit WidgetMessages(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    monitorfile::MessageAnswer show(const QString &text,
                                    monitorfile::MessageButtons buttons) override;

private:
    QWidget *m_parent;
};

// The caption of every message box.
QString applicationTitle();
