#include "TesselSDK/tools/meme/QZMemeDefaultFont.h"

#include "TesselSDKImaging/Text/QZMemeFont.h"

CTFontRef createDefaultMemeFont()
{
    return QZMemeFontCreate(100);
}
