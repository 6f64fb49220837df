#include "testing/TestSandbox.h"

#include "Foundation/NSUserDefaults.h"
#include "Foundation/PlatformSettings.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

TestSandbox::TestSandbox()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tessel-sandbox-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a sandbox directory");
    root_ = pattern;
    std::filesystem::create_directories(sandboxRoot());
    std::filesystem::create_directories(mainBundlePath());
    PlatformSettings::setSandboxRoot(sandboxRoot());
    PlatformSettings::setMainBundlePath(mainBundlePath());
    writeInfoPlist(Value::dictionary({{"CFBundleIdentifier", PlatformSettings::bundleIdentifier()}}));
    NSUserDefaults::resetStandardUserDefaults();
}

TestSandbox::~TestSandbox()
{
    NSUserDefaults::resetStandardUserDefaults();
    PlatformSettings::reset();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

void TestSandbox::writeInfoPlist(const Value& dictionary) const
{
    if (!dictionary.writePropertyListToFile(mainBundlePath() + "/Info.plist", NSPropertyListFormat::XML))
        throw std::runtime_error("cannot write the sandbox's Info.plist");
}
