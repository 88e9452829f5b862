#include "settingsstore.h"

#ifdef MONITOR_WINDOWS_LAYER
#include "registrysettingsstore.h"
#else
#include "inisettingsstore.h"
#endif

namespace settings {

std::unique_ptr<SettingsStore> createPlatformSettingsStore()
{
#ifdef MONITOR_WINDOWS_LAYER
    return std::make_unique<RegistrySettingsStore>();
#else
    return std::make_unique<IniSettingsStore>(IniSettingsStore::defaultFolder());
#endif
}

} // namespace settings
