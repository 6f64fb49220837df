#include "CoreGraphics/CGDataProvider.h"

#include <fstream>
#include <iterator>

#include "Foundation/NSLog.h"

struct CGDataProvider : CGObject {
    std::string filename;
    std::vector<unsigned char> bytes;
};

CGDataProviderRef CGDataProviderCreateWithFilename(std::string_view filename)
{
    std::ifstream in{std::string(filename), std::ios::binary};
    if (!in) {
        NSLog("CGDataProviderCreateWithFilename: cannot open %s", std::string(filename));
        return nullptr;
    }
    auto* provider = new CGDataProvider;
    provider->filename = std::string(filename);
    provider->bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        NSLog("CGDataProviderCreateWithFilename: cannot read %s", provider->filename);
        provider->release();
        return nullptr;
    }
    return provider;
}

CGDataProviderRef CGDataProviderRetain(CGDataProviderRef provider)
{
    if (provider) provider->retain();
    return provider;
}

void CGDataProviderRelease(CGDataProviderRef provider)
{
    if (provider) provider->release();
}

const std::vector<unsigned char>& CGDataProviderGetBytes(CGDataProviderRef provider)
{
    static const std::vector<unsigned char> none;
    return provider ? provider->bytes : none;
}

const std::string& CGDataProviderGetFilename(CGDataProviderRef provider)
{
    static const std::string none;
    return provider ? provider->filename : none;
}
