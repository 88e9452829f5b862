#include "portalopenwith.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QGuiApplication>
#include <QWidget>

namespace {

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// The portal places its chooser over our window when it knows the window; only X11 ids can be
// given without exporting the window first.
QString parentWindowId(QWidget *owner)
{
    if (!owner || QGuiApplication::platformName() != QLatin1String("xcb"))
        return QString();
    return QStringLiteral("x11:%1").arg(quintptr(owner->window()->winId()), 0, 16);
}

} // namespace

PortalRequest::PortalRequest(std::function<void()> fallback)
    : QObject(QCoreApplication::instance()), m_fallback(std::move(fallback))
{
}

void PortalRequest::fail()
{
    if (m_fallback)
        m_fallback();
    m_fallback = nullptr;
    deleteLater();
}

void PortalRequest::onResponse(uint response, const QVariantMap &)
{
    // 0: a program was chosen and started; 1: the user cancelled; 2: the chooser did not work.
    if (response == 2) {
        fail();
        return;
    }
    m_fallback = nullptr;
    deleteLater();
}

void openWithPortal(const QString &path, QWidget *owner, std::function<void()> fallback)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    QFile file(path);
    if (!bus.isConnected() || !file.open(QIODevice::ReadOnly)) {
        fallback();
        return;
    }

    // The answer comes as a signal on a request object whose path follows from a token we pick;
    // listening before the call means an early answer is not missed.
    static int requests = 0;
    const QString token = QStringLiteral("monitorform%1").arg(++requests);
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    const QString requestPath = QStringLiteral("%1/request/%2/%3").arg(kPortalPath, sender, token);
    auto *request = new PortalRequest(std::move(fallback));
    bus.connect(kPortalService, requestPath, QStringLiteral("org.freedesktop.portal.Request"),
                QStringLiteral("Response"), request, SLOT(onResponse(uint, QVariantMap)));

    QDBusMessage call = QDBusMessage::createMethodCall(
        kPortalService, kPortalPath, QStringLiteral("org.freedesktop.portal.OpenURI"),
        QStringLiteral("OpenFile"));
    const QVariantMap options{{QStringLiteral("ask"), true},
                              {QStringLiteral("handle_token"), token}};
    // The descriptor is duplicated into the message, so the file may close on return.
    call << parentWindowId(owner) << QVariant::fromValue(QDBusUnixFileDescriptor(file.handle()))
         << options;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), request);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, request,
                     [request](QDBusPendingCallWatcher *finished) {
                         finished->deleteLater();
                         if (finished->isError())
                             request->fail();
                     });
}
