#include "CoreText/CTParagraphStyle.h"

#include "CTInternal.h"

CTParagraphStyleRef CTParagraphStyleCreate(const CTParagraphStyleSetting* settings, size_t settingCount)
{
    auto* style = new CTParagraphStyle;
    for (size_t i = 0; settings && i < settingCount; ++i) {
        const CTParagraphStyleSetting& s = settings[i];
        if (s.specifier == kCTParagraphStyleSpecifierLineBreakMode && s.valueSize == sizeof(CTLineBreakMode) && s.value) {
            auto mode = *static_cast<const CTLineBreakMode*>(s.value);
            if (mode <= kCTLineBreakByTruncatingMiddle) style->lineBreakMode = mode;
        }
    }
    return style;
}

CTParagraphStyleRef CFRetain(CTParagraphStyleRef style)
{
    if (style) const_cast<CTParagraphStyle*>(style)->retain();
    return style;
}

void CFRelease(CTParagraphStyleRef style)
{
    if (style) const_cast<CTParagraphStyle*>(style)->release();
}
