#pragma once

#include <QObject>
#include <QVariantMap>

#include <functional>

class QWidget;

// Asks the desktop portal (org.freedesktop.portal.OpenURI.OpenFile with "ask") to let the user
// choose the program for a file. The portal takes the file as an open descriptor, since it
// refuses file:// addresses. When there is no session bus, no portal, or the portal could not
// show its chooser, fallback runs instead; a user who cancels the chooser gets nothing more.
// Returns at once; the request object deletes itself once the portal has answered.
void openWithPortal(const QString &path, QWidget *owner, std::function<void()> fallback);

// One request to the portal, alive until the portal answers it.
class PortalRequest : public QObject
{
    Q_OBJECT

public:
    explicit PortalRequest(std::function<void()> fallback);

    void fail();

public slots:
    void onResponse(uint response, const QVariantMap &results);

private:
    std::function<void()> m_fallback;
};
