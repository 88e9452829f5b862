#include "messageendpoint.h"

#ifdef MONITOR_WINDOWS_LAYER
#include "windowsmessages.h"
#else
#include "localsocketendpoint.h"
#endif

namespace suite {

MessageEndpoint::~MessageEndpoint() = default;

std::unique_ptr<MessageEndpoint> createPlatformEndpoint(WindowHandle nativeWindow)
{
#ifdef MONITOR_WINDOWS_LAYER
    return std::make_unique<WindowsMessageEndpoint>(nativeWindow);
#else
    Q_UNUSED(nativeWindow);
    return std::make_unique<LocalSocketEndpoint>();
#endif
}

} // namespace suite
