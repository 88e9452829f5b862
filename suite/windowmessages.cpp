#include "windowmessages.h"

#ifdef Q_OS_WIN
#include "windowsmessages.h"
#else
#include "localsocketmessages.h"
#endif

namespace suite {

WindowMessages::~WindowMessages() = default;

std::unique_ptr<WindowMessages> createPlatformMessages(std::chrono::milliseconds sendBound)
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsMessages>(sendBound);
#else
    return std::make_unique<LocalSocketMessages>(sendBound);
#endif
}

} // namespace suite
