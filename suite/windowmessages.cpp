#include "windowmessages.h"

#ifdef MONITOR_WINDOWS_LAYER
#include "windowsmessages.h"
#else
#include "localsocketmessages.h"
#endif

namespace suite {

WindowMessages::~WindowMessages() = default;

std::unique_ptr<WindowMessages> createPlatformMessages(std::chrono::milliseconds sendBound)
{
#ifdef MONITOR_WINDOWS_LAYER
    return std::make_unique<WindowsMessages>(sendBound);
#else
    return std::make_unique<LocalSocketMessages>(sendBound);
#endif
}

} // namespace suite
