#pragma once
// The environment the editor reads from the device, set by hosts and tests: interface idiom,
// screen scale, preferred languages, machine name, device model, system version, the main
// bundle's directory, the region format (locale identifier), the bundle identifier and the sandbox root under which the app's
// directories (Documents, Library/..., tmp) and defaults live. Thread-safe; getters answer copies.
//
// Defaults: the phone idiom at scale 2; the sandbox root is $TESSEL_SANDBOX_ROOT, else
// ~/.local/share/Tessel; the main bundle is $TESSEL_MAIN_BUNDLE, else the executable's directory;
// languages and the locale identifier come from $LANG ("pt_BR.UTF-8": "pt-BR" and "pt_BR";
// "C", "POSIX" or none: "en" and "en_US"); the network timeout scale is $TESSEL_NETWORK_TIMEOUT_SCALE, else 1.

#include <string>
#include <vector>

class PlatformSettings {
public:
    // The interface idiom as the platform numbers it: 0 phone, 1 tablet (UIKit names them).
    static int interfaceIdiom();
    static void setInterfaceIdiom(int idiom);
    static float screenScale();
    static void setScreenScale(float scale);
    // The screen's size in points: 320 x 480 for the phone idiom and 768 x 1024 for the tablet,
    // unless set.
    static float screenWidth();
    static float screenHeight();
    static void setScreenSize(float width, float height);
    static std::vector<std::string> preferredLanguages();
    static void setPreferredLanguages(std::vector<std::string> languages);
    // The region format, as the platform names it ("en_US", "pt_BR").
    static std::string localeIdentifier();
    static void setLocaleIdentifier(std::string identifier);
    static std::string machineName();  // what uname(2) reports as the machine, e.g. "iPhone5,2"
    static void setMachineName(std::string name);
    static std::string deviceModel();
    static void setDeviceModel(std::string model);
    static std::string systemVersion();
    static void setSystemVersion(std::string version);
    static std::string mainBundlePath();
    static void setMainBundlePath(std::string path);
    static std::string bundleIdentifier();
    static void setBundleIdentifier(std::string identifier);
    static std::string sandboxRoot();
    static void setSandboxRoot(std::string path);
    // Whether a mail account is set up, so that mail can be composed and sent: NO by default.
    static bool canSendMail();
    static void setCanSendMail(bool can);
    // Multiplies every network timeout, so that tests run long timeouts in fractions of a second.
    static double networkTimeoutScale();
    static void setNetworkTimeoutScale(double scale);

    // Back to the defaults above (tests).
    static void reset();
};
