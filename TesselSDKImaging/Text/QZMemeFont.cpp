#include "TesselSDKImaging/Text/QZMemeFont.h"

#include "TesselSDKFoundation/QZSDKResources.h"

#include "Foundation/NSBundle.h"
#include "Foundation/NSStringNumericCompare.h"
#include "Foundation/PlatformSettings.h"

QZMemeFontSource QZMemeFontSourceCurrent()
{
    QZMemeFontSource source;
    source.fromBundle = NSStringCompareNumeric(PlatformSettings::systemVersion(), "4.1") == NSOrderedAscending;
    if (source.fromBundle) {
        std::shared_ptr<NSBundle> bundle = QZSDKResources::resourceBundle();
        if (std::optional<std::string> path = bundle ? bundle->pathForResource("Impact", "ttf") : std::nullopt)
            source.file = *path;
    }
    return source;
}

CTFontRef QZMemeFontCreateWithSource(const QZMemeFontSource& source, CGFloat size)
{
    CTFontDescriptorRef descriptor = CTFontDescriptorCreateWithNameAndSize("Impact", size);
    CTFontRef font = nullptr;
    if (!source.fromBundle) {
        font = CTFontCreateWithFontDescriptor(descriptor, size, nullptr);
    } else if (!source.file.empty()) {
        CGDataProviderRef provider = CGDataProviderCreateWithFilename(source.file);
        CGFontRef graphicsFont = CGFontCreateWithDataProvider(provider);
        if (graphicsFont) font = CTFontCreateWithGraphicsFont(graphicsFont, size, nullptr, descriptor);
        CGFontRelease(graphicsFont);
        CGDataProviderRelease(provider);
    }
    CFRelease(descriptor);
    return font;
}

CTFontRef QZMemeFontCreate(CGFloat size)
{
    return QZMemeFontCreateWithSource(QZMemeFontSourceCurrent(), size);
}
