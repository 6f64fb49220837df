#include "Foundation/PlatformSettings.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace {

struct Settings {
    int idiom = 0;
    float scale = 2.0f;
    float screenWidth = 0;  // 0: the idiom's own size
    float screenHeight = 0;
    std::vector<std::string> languages;
    std::string localeIdentifier;
    std::string machine;
    std::string model = "iPhone";
    std::string version = "6.1";
    std::string mainBundle;
    std::string bundleIdentifier = "com.tessel.TesselHost";
    std::string sandbox;
    double networkTimeoutScale = 1;
    bool canSendMail = false;
};

std::string envOr(const char* name, std::string fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

// "pt_BR.UTF-8" -> "pt_BR"; "C" and "POSIX" -> "en_US".
std::string localeFromEnvironment(std::string locale)
{
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale.empty() || locale == "C" || locale == "POSIX") return "en_US";
    return locale;
}

// "pt_BR.UTF-8" -> "pt-BR"; "C" and "POSIX" -> "en".
std::string languageFromLocale(std::string locale)
{
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale.empty() || locale == "C" || locale == "POSIX") return "en";
    for (auto& c : locale)
        if (c == '_') c = '-';
    return locale;
}

Settings defaults()
{
    Settings s;
    s.languages = {languageFromLocale(envOr("LANG", "en"))};
    s.localeIdentifier = localeFromEnvironment(envOr("LANG", "en_US"));
    utsname u{};
    s.machine = uname(&u) == 0 ? u.machine : "unknown";
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    s.mainBundle = envOr("TESSEL_MAIN_BUNDLE", ec ? std::string(".") : exe.parent_path().string());
    s.sandbox = envOr("TESSEL_SANDBOX_ROOT", envOr("HOME", "/tmp") + "/.local/share/Tessel");
    double scale = std::strtod(envOr("TESSEL_NETWORK_TIMEOUT_SCALE", "1").c_str(), nullptr);
    s.networkTimeoutScale = scale > 0 ? scale : 1;
    return s;
}

std::mutex& mutex()
{
    static std::mutex m;
    return m;
}

Settings& settings()
{
    static Settings s = defaults();
    return s;
}

template <class F>
auto locked(F f)
{
    std::lock_guard lock(mutex());
    return f(settings());
}

}  // namespace

int PlatformSettings::interfaceIdiom()
{
    return locked([](Settings& s) { return s.idiom; });
}
void PlatformSettings::setInterfaceIdiom(int idiom)
{
    locked([&](Settings& s) { s.idiom = idiom; });
}
float PlatformSettings::screenWidth()
{
    return locked([](Settings& s) { return s.screenWidth > 0 ? s.screenWidth : s.idiom == 1 ? 768.0f : 320.0f; });
}
float PlatformSettings::screenHeight()
{
    return locked([](Settings& s) { return s.screenHeight > 0 ? s.screenHeight : s.idiom == 1 ? 1024.0f : 480.0f; });
}
void PlatformSettings::setScreenSize(float width, float height)
{
    locked([&](Settings& s) {
        s.screenWidth = width;
        s.screenHeight = height;
    });
}
float PlatformSettings::screenScale()
{
    return locked([](Settings& s) { return s.scale; });
}
void PlatformSettings::setScreenScale(float scale)
{
    locked([&](Settings& s) { s.scale = scale; });
}
std::vector<std::string> PlatformSettings::preferredLanguages()
{
    return locked([](Settings& s) { return s.languages; });
}
void PlatformSettings::setPreferredLanguages(std::vector<std::string> languages)
{
    locked([&](Settings& s) { s.languages = std::move(languages); });
}
std::string PlatformSettings::localeIdentifier()
{
    return locked([](Settings& s) { return s.localeIdentifier; });
}
void PlatformSettings::setLocaleIdentifier(std::string identifier)
{
    locked([&](Settings& s) { s.localeIdentifier = std::move(identifier); });
}
std::string PlatformSettings::machineName()
{
    return locked([](Settings& s) { return s.machine; });
}
void PlatformSettings::setMachineName(std::string name)
{
    locked([&](Settings& s) { s.machine = std::move(name); });
}
std::string PlatformSettings::deviceModel()
{
    return locked([](Settings& s) { return s.model; });
}
void PlatformSettings::setDeviceModel(std::string model)
{
    locked([&](Settings& s) { s.model = std::move(model); });
}
std::string PlatformSettings::systemVersion()
{
    return locked([](Settings& s) { return s.version; });
}
void PlatformSettings::setSystemVersion(std::string version)
{
    locked([&](Settings& s) { s.version = std::move(version); });
}
std::string PlatformSettings::mainBundlePath()
{
    return locked([](Settings& s) { return s.mainBundle; });
}
void PlatformSettings::setMainBundlePath(std::string path)
{
    locked([&](Settings& s) { s.mainBundle = std::move(path); });
}
std::string PlatformSettings::bundleIdentifier()
{
    return locked([](Settings& s) { return s.bundleIdentifier; });
}
void PlatformSettings::setBundleIdentifier(std::string identifier)
{
    locked([&](Settings& s) { s.bundleIdentifier = std::move(identifier); });
}
std::string PlatformSettings::sandboxRoot()
{
    return locked([](Settings& s) { return s.sandbox; });
}
void PlatformSettings::setSandboxRoot(std::string path)
{
    locked([&](Settings& s) { s.sandbox = std::move(path); });
}
bool PlatformSettings::canSendMail()
{
    return locked([](Settings& s) { return s.canSendMail; });
}
void PlatformSettings::setCanSendMail(bool can)
{
    locked([&](Settings& s) { s.canSendMail = can; });
}
double PlatformSettings::networkTimeoutScale()
{
    return locked([](Settings& s) { return s.networkTimeoutScale; });
}
void PlatformSettings::setNetworkTimeoutScale(double scale)
{
    locked([&](Settings& s) { s.networkTimeoutScale = scale > 0 ? scale : 1; });
}
void PlatformSettings::reset()
{
    locked([](Settings& s) { s = defaults(); });
}
