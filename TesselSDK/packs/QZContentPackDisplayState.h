#pragma once
// How every pack screen shows a pack, read from its high-resolution provider: installed when it
// needs no download or its archive is on the device (state 3), "Download" while not downloaded
// (state 1), otherwise installing, with a progress bar (downloading, or not known yet).

#include "TesselSDK/remote/QZContentPack.h"

enum class QZContentPackDisplayState { Installed, NotDownloaded, Installing };

QZContentPackDisplayState QZContentPackDisplayStateOfPack(QZContentPack& pack);
// The pack's "requiresDownload"; NO when it has none.
bool QZContentPackRequiresDownload(QZContentPack& pack);
