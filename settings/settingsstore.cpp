#include "settingsstore.h"

#include "inisettingsstore.h"
#include "registrysettingsstore.h"

namespace settings {

std::unique_ptr<SettingsStore> createPlatformSettingsStore()
{
#ifdef Q_OS_WIN
    return std::make_unique<RegistrySettingsStore>();
#else
    return std::make_unique<IniSettingsStore>(IniSettingsStore::defaultFolder());
#endif
}

} // namespace settings
