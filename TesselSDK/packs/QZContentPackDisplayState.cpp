#include "TesselSDK/packs/QZContentPackDisplayState.h"

bool QZContentPackRequiresDownload(QZContentPack& pack)
{
    return pack.valueForKey("requiresDownload").boolValue();
}

QZContentPackDisplayState QZContentPackDisplayStateOfPack(QZContentPack& pack)
{
    if (!QZContentPackRequiresDownload(pack)) return QZContentPackDisplayState::Installed;
    switch (pack.highResolutionResourceProvider()->state()) {
    case QZContentPackResourceProviderStateDownloaded: return QZContentPackDisplayState::Installed;
    case QZContentPackResourceProviderStateNotDownloaded: return QZContentPackDisplayState::NotDownloaded;
    default: return QZContentPackDisplayState::Installing;
    }
}
