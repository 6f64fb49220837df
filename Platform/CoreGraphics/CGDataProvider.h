#pragma once
// Data providers: the bytes of a file read once, for the font loader. The provider remembers the
// file it came from, so text layout can hand the same file to fontconfig.

#include <string>
#include <string_view>
#include <vector>

#include "CoreGraphics/CGBase.h"

struct CGDataProvider;
typedef CGDataProvider* CGDataProviderRef;

// Null, logged, when the file cannot be read.
CGDataProviderRef CGDataProviderCreateWithFilename(std::string_view filename);
CGDataProviderRef CGDataProviderRetain(CGDataProviderRef provider);
void CGDataProviderRelease(CGDataProviderRef provider);

// Valid while the provider lives; empty for null.
const std::vector<unsigned char>& CGDataProviderGetBytes(CGDataProviderRef provider);
// Empty for null.
const std::string& CGDataProviderGetFilename(CGDataProviderRef provider);
