#include "Foundation/NSBundle.h"
#include "Foundation/NSLocale.h"
#include "Foundation/PlatformSettings.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// A bundle with a development region of "en", localisations en, pt and fr-CA, and a
// non-localised image.
class NSBundleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("NSBundleTest." + std::to_string(getpid())) / "Resources.bundle";
        fs::remove_all(root_.parent_path());
        for (const char* l : {"en", "pt", "fr-CA"})
            write(std::string(l) + ".lproj/Localizable.strings", std::string("\"lang\" = \"") + l + "\";");
        write("pt.lproj/icons/flag.png", "pt flag");
        write("icons/flag.png", "neutral flag");
        write("Only.txt", "x");
        ASSERT_TRUE(
            Value::dictionary({{"CFBundleIdentifier", "com.tessel.resources"}, {"CFBundleDevelopmentRegion", "en"}})
                .writePropertyListToFile((root_ / "Info.plist").string(), NSPropertyListFormat::XML));
        bundle_ = NSBundle::bundleWithPath(root_.string());
        ASSERT_TRUE(bundle_);
    }
    void TearDown() override
    {
        PlatformSettings::reset();
        fs::remove_all(root_.parent_path());
    }
    void write(const std::string& relative, const std::string& contents)
    {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative) << contents;
    }
    std::string langOf(const std::optional<std::string>& path)
    {
        return path ? Value::fromPropertyListFile(*path)["lang"].stringValue() : "(none)";
    }
    fs::path root_;
    std::shared_ptr<NSBundle> bundle_;
};

TEST_F(NSBundleTest, LocalisedLookupFallsBackFromRegionToLanguageToDevelopmentRegion)
{
    struct Case {
        std::vector<std::string> languages;
        const char* expected;
    };
    const Case cases[] = {
        {{"pt-BR"}, "pt"}, {{"pt"}, "pt"},          {{"fr-CA"}, "fr-CA"},
        {{"fr-FR"}, "en"}, {{"de", "pt-PT"}, "pt"}, {{"ja"}, "en"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.languages.front());
        PlatformSettings::setPreferredLanguages(c.languages);
        EXPECT_EQ(langOf(bundle_->pathForResource("Localizable", "strings")), c.expected);
    }
    // An explicit localisation looks in that one ".lproj" only.
    EXPECT_EQ(langOf(bundle_->pathForResource("Localizable", "strings", "", "pt")), "pt");
    EXPECT_FALSE(bundle_->pathForResource("Localizable", "strings", "", "pt-BR"));
}

TEST_F(NSBundleTest, NonLocalisedResourcesWinAndSubdirectoriesAndInfoAreRead)
{
    PlatformSettings::setPreferredLanguages({"pt-BR"});
    auto flag = bundle_->pathForResource("flag.png", "", "icons");
    ASSERT_TRUE(flag);
    EXPECT_EQ(*flag, (root_ / "icons" / "flag.png").string());
    EXPECT_TRUE(bundle_->pathForResource("Only", "txt"));
    EXPECT_FALSE(bundle_->pathForResource("Missing", "txt"));
    EXPECT_EQ(bundle_->bundleIdentifier(), "com.tessel.resources");
    EXPECT_EQ(bundle_->localizations(), (std::vector<std::string>{"en", "fr-CA", "pt"}));
    EXPECT_FALSE(NSBundle::bundleWithPath((root_ / "Only.txt").string()));

    PlatformSettings::setMainBundlePath(root_.string());
    EXPECT_EQ(NSBundle::mainBundle()->bundlePath(), root_.string());
}

TEST(NSLocaleTest, CanonicalLanguageIdentifiers)
{
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {{"pt_BR", "pt-BR"},   {"EN", "en"}, {"zh_hans_cn", "zh-Hans-CN"},
                          {"es-419", "es-419"}, {"", ""},     {"e", ""},
                          {"en US", ""}};
    for (const auto& c : cases) EXPECT_EQ(NSLocale::canonicalLanguageIdentifierFromString(c.in), c.out) << c.in;
}

}  // namespace

// The region format follows $LANG until a host sets it.
TEST(NSLocaleTest, CurrentLocaleIdentifier)
{
    struct Case {
        const char* lang;
        const char* identifier;
    };
    const Case cases[] = {{"pt_BR.UTF-8", "pt_BR"}, {"de_DE@euro", "de_DE"}, {"C", "en_US"}, {"POSIX", "en_US"}};
    for (const auto& c : cases) {
        setenv("LANG", c.lang, 1);
        PlatformSettings::reset();
        EXPECT_EQ(NSLocale::currentLocale()->localeIdentifier(), c.identifier) << c.lang;
    }
    PlatformSettings::setLocaleIdentifier("fr_CA");
    EXPECT_EQ(NSLocale::currentLocale()->localeIdentifier(), "fr_CA");
    unsetenv("LANG");
    PlatformSettings::reset();
}
