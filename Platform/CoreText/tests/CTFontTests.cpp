#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "CTTestSupport.h"
#include "Foundation/NSLogCapture.h"

namespace {

TEST(CTFont, NamesMapThroughTheTableOntoTheShippedFaces)
{
    struct Case {
        const char* name;
        const char* answersTo;
        const char* face;
    } cases[] = {
        {"Helvetica", "Helvetica", "Liberation Sans"},
        {"Helvetica-Bold", "Helvetica-Bold", "Liberation Sans Bold"},
        {"ArialMT", "ArialMT", "Liberation Sans"},
        {"Arial-BoldMT", "Arial-BoldMT", "Liberation Sans Bold"},
        {"Impact", "Impact", "DejaVu Sans Condensed Bold"},
        // Outside the table (case matters): Helvetica, as the platform falls back.
        {"Comic Sans MS", "Helvetica", "Liberation Sans"},
        {"arialmt", "Helvetica", "Liberation Sans"},
        {"", "Helvetica", "Liberation Sans"},
    };
    for (const Case& c : cases) {
        HeldFont f = font(c.name, 20);
        EXPECT_EQ(CTFontCopyPostScriptName(f.get()), c.answersTo) << c.name;
        EXPECT_EQ(CTFontCopyFullName(f.get()), c.face)
            << c.name << ": is the package of " << c.face << " installed (scripts/install-deps.sh)?";
        EXPECT_FLOAT_EQ(CTFontGetSize(f.get()), 20) << c.name;
    }
}

TEST(CTFont, MetricsAreTheFacesUnhintedTablesAtTheSize)
{
    // Liberation Sans: 2048 units to the em, ascender 1854, descender 434, line gap 67, capital
    // height 1409, x-height 1082. DejaVu Sans Condensed Bold has no capital height in its tables:
    // it is the top of its "H" (1493) and "x" (1120).
    struct Case {
        const char* name;
        CGFloat size, ascent, descent, leading, capHeight, xHeight;
    } cases[] = {
        {"ArialMT", 12, 12 * 1854 / 2048.f, 12 * 434 / 2048.f, 12 * 67 / 2048.f, 12 * 1409 / 2048.f,
         12 * 1082 / 2048.f},
        {"Helvetica-Bold", 31.5f, 31.5f * 1854 / 2048, 31.5f * 434 / 2048, 31.5f * 67 / 2048, 31.5f * 1409 / 2048,
         31.5f * 1082 / 2048},
        {"Impact", 100, 100 * 1901 / 2048.f, 100 * 483 / 2048.f, 0, 100 * 1493 / 2048.f, 100 * 1120 / 2048.f},
    };
    for (const Case& c : cases) {
        HeldFont f = font(c.name, c.size);
        EXPECT_NEAR(CTFontGetAscent(f.get()), c.ascent, 1e-3) << c.name;
        EXPECT_NEAR(CTFontGetDescent(f.get()), c.descent, 1e-3) << c.name;
        EXPECT_NEAR(CTFontGetLeading(f.get()), c.leading, 1e-3) << c.name;
        EXPECT_NEAR(CTFontGetCapHeight(f.get()), c.capHeight, 1e-3) << c.name;
        EXPECT_NEAR(CTFontGetXHeight(f.get()), c.xHeight, 1e-3) << c.name;
    }
}

TEST(CTFont, SizesThatAreNoSizeGiveTwelvePoints)
{
    for (CGFloat size :
         {0.f, -3.f, std::numeric_limits<CGFloat>::quiet_NaN(), std::numeric_limits<CGFloat>::infinity()}) {
        HeldFont f = font("ArialMT", size);
        EXPECT_EQ(CTFontGetSize(f.get()), 12) << size;
        EXPECT_NEAR(CTFontGetAscent(f.get()), 12 * 1854 / 2048.f, 1e-3) << size;
    }
}

TEST(CTFont, CharactersTheFaceLacksFallBackToDejaVuSans)
{
    HeldFont arial = font("ArialMT", 20);
    HeldLine line = lineOf("Hi \u0645\u0631\u062D\u0628\u0627", arial.get());
    std::vector<CTGlyphRunInfo> runs = CTLineGetGlyphRuns(line.get());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].fontFullName, "Liberation Sans");
    EXPECT_FALSE(runs[0].rightToLeft);
    EXPECT_EQ(runs[1].fontFullName, "DejaVu Sans") << "is fonts-dejavu-core installed?";
    EXPECT_TRUE(runs[1].rightToLeft);
    EXPECT_EQ(runs[1].range.location, 3);
    EXPECT_EQ(runs[1].range.length, 5);
}

TEST(CTFont, DescriptorsAndFontFilesGiveTheSameFaces)
{
    CTFontDescriptorRef descriptor = CTFontDescriptorCreateWithNameAndSize("Impact", 40);
    HeldFont sized(CTFontCreateWithFontDescriptor(descriptor, 25, nullptr));
    HeldFont own(CTFontCreateWithFontDescriptor(descriptor, 0, nullptr));
    EXPECT_EQ(CTFontCopyFullName(sized.get()), "DejaVu Sans Condensed Bold");
    EXPECT_EQ(CTFontGetSize(sized.get()), 25);
    EXPECT_EQ(CTFontGetSize(own.get()), 40);

    CGDataProviderRef provider =
        CGDataProviderCreateWithFilename("/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf");
    ASSERT_NE(provider, nullptr) << "is fonts-dejavu-extra installed?";
    CGFontRef file = CGFontCreateWithDataProvider(provider);
    CGDataProviderRelease(provider);
    HeldFont fromFile(CTFontCreateWithGraphicsFont(file, 25, nullptr, descriptor));
    CGFontRelease(file);
    CFRelease(descriptor);
    EXPECT_EQ(CTFontCopyFullName(fromFile.get()), "DejaVu Sans Condensed Bold");
    EXPECT_EQ(CTFontGetSize(fromFile.get()), 25);
    EXPECT_EQ(CTFontGetAscent(fromFile.get()), CTFontGetAscent(sized.get()));
    // The same text is as wide in either.
    EXPECT_DOUBLE_EQ(CTLineGetTypographicBounds(lineOf("MEME", fromFile.get()).get(), nullptr, nullptr, nullptr),
                     CTLineGetTypographicBounds(lineOf("MEME", sized.get()).get(), nullptr, nullptr, nullptr));
}

// The same face at other sizes: by name, from a file, and the font's own size for no size.
TEST(CTFont, CopiesKeepTheFaceAtAnotherSize)
{
    HeldFont impact = font("Impact", 100);
    CGDataProviderRef provider =
        CGDataProviderCreateWithFilename("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf");
    ASSERT_NE(provider, nullptr) << "is fonts-dejavu-core installed?";
    CGFontRef file = CGFontCreateWithDataProvider(provider);
    CGDataProviderRelease(provider);
    HeldFont mono(CTFontCreateWithGraphicsFont(file, 30, nullptr, nullptr));
    CGFontRelease(file);
    struct Case {
        CTFontRef from;
        CGFloat size, expected;
    } cases[] = {{impact.get(), 37, 37}, {impact.get(), 0, 100}, {impact.get(), -5, 100}, {mono.get(), 64, 64}};
    for (const Case& c : cases) {
        HeldFont copy(CTFontCreateCopyWithAttributes(c.from, c.size, nullptr, nullptr));
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(CTFontCopyFullName(copy.get()), CTFontCopyFullName(c.from)) << c.size;
        EXPECT_EQ(CTFontCopyPostScriptName(copy.get()), CTFontCopyPostScriptName(c.from));
        EXPECT_EQ(CTFontGetSize(copy.get()), c.expected);
        EXPECT_NEAR(CTFontGetAscent(copy.get()), CTFontGetAscent(c.from) * c.expected / CTFontGetSize(c.from), 1e-3);
        EXPECT_NEAR(CTLineGetTypographicBounds(lineOf("MEME", copy.get()).get(), nullptr, nullptr, nullptr),
                    CTLineGetTypographicBounds(lineOf("MEME", c.from).get(), nullptr, nullptr, nullptr) * c.expected /
                        CTFontGetSize(c.from),
                    1e-2);
    }
    EXPECT_EQ(CTFontCreateCopyWithAttributes(nullptr, 20, nullptr, nullptr), nullptr);
}

TEST(CTFontManager, RegistersFilesFontconfigReadsAndRefusesOthersWithAnError)
{
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("ct-font-manager-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path copy = dir / "Impact.ttf", broken = dir / "Broken.ttf";
    std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf", copy);
    // A TrueType signature, then nothing a font holds.
    std::ofstream(broken, std::ios::binary) << std::string("\x00\x01\x00\x00", 4) << std::string(64, 'x');
    auto graphicsFont = [](const std::filesystem::path& path) {
        CGDataProviderRef provider = CGDataProviderCreateWithFilename(path.string());
        CGFontRef made = CGFontCreateWithDataProvider(provider);
        CGDataProviderRelease(provider);
        return made;
    };
    CGFontRef good = graphicsFont(copy), bad = graphicsFont(broken);
    ASSERT_NE(good, nullptr);
    ASSERT_NE(bad, nullptr) << "the signature passes the graphics font's check";

    std::shared_ptr<NSError> error;
    EXPECT_TRUE(CTFontManagerRegisterGraphicsFont(good, &error));
    EXPECT_EQ(error, nullptr);
    EXPECT_TRUE(CTFontManagerRegisterGraphicsFont(good, nullptr)) << "again";

    for (CGFontRef refused : {bad, static_cast<CGFontRef>(nullptr)}) {
        error = nullptr;
        EXPECT_FALSE(CTFontManagerRegisterGraphicsFont(refused, &error));
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->domain(), kCTFontManagerErrorDomain);
        EXPECT_EQ(error->code(), kCTFontManagerErrorInvalidFontData);
        if (refused) {
            EXPECT_NE(error->localizedDescription().find("Broken.ttf"), std::string::npos);
        }
    }
    EXPECT_FALSE(CTFontManagerRegisterGraphicsFont(bad, nullptr));
    CGFontRelease(good);
    CGFontRelease(bad);
    std::filesystem::remove_all(dir);

    // Names resolve through the table as before, and layout goes on.
    HeldFont impact = font("Impact", 40), helvetica = font("Helvetica", 40);
    EXPECT_EQ(CTFontCopyFullName(impact.get()), "DejaVu Sans Condensed Bold");
    EXPECT_EQ(CTFontCopyFullName(helvetica.get()), "Liberation Sans");
    EXPECT_GT(CTLineGetTypographicBounds(lineOf("MEME", impact.get()).get(), nullptr, nullptr, nullptr), 0);
}

TEST(CTFont, FilesThatHoldNoFontMakeNone)
{
    NSLogCapture log;
    EXPECT_EQ(CGDataProviderCreateWithFilename("/nonexistent/Impact.ttf"), nullptr);
    std::filesystem::path path = std::filesystem::temp_directory_path() / ("ct-not-a-font-" + std::to_string(getpid()));
    std::ofstream(path) << "<html>not a font at all</html>";
    CGDataProviderRef notAFont = CGDataProviderCreateWithFilename(path.string());
    std::filesystem::remove(path);
    ASSERT_NE(notAFont, nullptr);
    EXPECT_EQ(CGFontCreateWithDataProvider(notAFont), nullptr);
    CGDataProviderRelease(notAFont);
    EXPECT_EQ(CTFontCreateWithGraphicsFont(nullptr, 12, nullptr, nullptr), nullptr);
    EXPECT_TRUE(log.contains("holds no TrueType or OpenType font"));
}

}  // namespace
