#include "globsettings.h"

unsigned char m_GlobSettings[GlobSettingsCount] = {1, 0, 0, 1, 1, 0};

void resetGlobSettings()
{
    static const unsigned char defaults[GlobSettingsCount] = {1, 0, 0, 1, 1, 0};
    for (int i = 0; i < GlobSettingsCount; ++i)
        m_GlobSettings[i] = defaults[i];
}
