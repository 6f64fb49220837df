#pragma once
// What the tool-script suites share: measures of a picture, the scripts of examples/scripts, and
// two fixtures: one that plays a script through the built tessel_editor, one that plays it
// in-process through the host's script runner with the analytics recorded and replays the closed
// session. Each tool's suite sits in a file of its own (QZ<Tool>ScriptsTest.cpp) with its rows for
// the program run (INSTANTIATE_TEST_SUITE_P over QZToolScriptsProgramTest) and its in-process tests.
#include "TesselEditorHost.h"
#include "TesselEditorScript.h"
#include "support/RunProgram.h"

#include "TesselSDKFoundation/tests/QZTestMetricsSession.h"
#include "TesselSDK/shell/tests/QZPhotoEditorReplaySupport.h"
#include "TesselSDKImaging/QZOpenGLManager.h"
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "Foundation/PlatformSettings.h"
#include "ImageIO/ImageIOCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace tool_scripts {

namespace fs = std::filesystem;
using qz_test::Pixels;

// ---- Measures of a picture ----

inline double luma(const std::array<std::uint8_t, 4>& p)
{
    return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
}

inline double meanLuma(const Pixels& image)
{
    double sum = 0;
    for (const auto& p : image.rgba) sum += luma(p);
    return sum / double(image.rgba.size());
}

// Central differences of the luma over the interior pixels.
inline double meanGradient(const Pixels& image)
{
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t y = 1; y + 1 < image.height; ++y)
        for (std::size_t x = 1; x + 1 < image.width; ++x) {
            const double gx = (luma(image.at(x + 1, y)) - luma(image.at(x - 1, y))) / 2;
            const double gy = (luma(image.at(x, y + 1)) - luma(image.at(x, y - 1))) / 2;
            sum += std::sqrt(gx * gx + gy * gy);
            ++count;
        }
    return count ? sum / double(count) : 0;
}

// Per colour channel; -1 when the sizes differ.
inline double meanAbsoluteDifference(const Pixels& a, const Pixels& b)
{
    if (a.width != b.width || a.height != b.height) return -1;
    double sum = 0;
    for (std::size_t i = 0; i < a.rgba.size(); ++i)
        for (int c = 0; c < 3; ++c) sum += std::abs(int(a.rgba[i][c]) - int(b.rgba[i][c]));
    return sum / double(a.rgba.size() * 3);
}

// The 99.9th percentile of the channel differences; -1 when the sizes differ.
inline int percentileDifference(const Pixels& a, const Pixels& b)
{
    if (a.width != b.width || a.height != b.height) return -1;
    std::vector<int> differences;
    differences.reserve(a.rgba.size() * 4);
    for (std::size_t i = 0; i < a.rgba.size(); ++i)
        for (int c = 0; c < 4; ++c) differences.push_back(std::abs(int(a.rgba[i][c]) - int(b.rgba[i][c])));
    const std::size_t at = std::min(differences.size() - 1, std::size_t(double(differences.size()) * 0.999));
    std::nth_element(differences.begin(), differences.begin() + std::ptrdiff_t(at), differences.end());
    return differences[at];
}

inline ::testing::AssertionResult sameSize(const Pixels& a, const Pixels& b)
{
    if (a.width == b.width && a.height == b.height) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a.width << " x " << a.height << " against " << b.width << " x " << b.height;
}

inline std::optional<Pixels> readPNG(const fs::path& path)
{
    Pixels image;
    const bool read = ImageIODecodeFile(path.string(), [&](std::size_t width, std::size_t height) -> void* {
        image = Pixels{width, height, std::vector<std::array<std::uint8_t, 4>>(width * height)};
        return image.rgba.data();
    });
    if (!read) return std::nullopt;
    return image;
}

// The pixels where `image` differs from `base` by more than `levels` in some colour channel.
struct Ink {
    std::size_t area = 0;
    double left = 0, top = 0, right = 0, bottom = 0;  // the bounding box, pixel edges
    double cx = 0, cy = 0;                            // the centroid, pixel centres
};

inline Ink inkOf(const Pixels& base, const Pixels& image, int levels)
{
    Ink ink;
    double sx = 0, sy = 0;
    ink.left = ink.top = 1e9;
    for (std::size_t y = 0; y < image.height; ++y)
        for (std::size_t x = 0; x < image.width; ++x) {
            const auto& a = base.at(x, y);
            const auto& b = image.at(x, y);
            bool differs = false;
            for (int c = 0; c < 3; ++c) differs = differs || std::abs(int(a[c]) - int(b[c])) > levels;
            if (!differs) continue;
            ++ink.area;
            sx += double(x) + 0.5;
            sy += double(y) + 0.5;
            ink.left = std::min(ink.left, double(x));
            ink.top = std::min(ink.top, double(y));
            ink.right = std::max(ink.right, double(x) + 1);
            ink.bottom = std::max(ink.bottom, double(y) + 1);
        }
    if (ink.area) {
        ink.cx = sx / double(ink.area);
        ink.cy = sy / double(ink.area);
    }
    return ink;
}

// The two pictures put their ink (more than 48 levels off the base) in the same place at the same
// size: bounding boxes within 2 pixels, centroids within 1.5, areas within 5 %. What a tool baked
// into the preview and what its processor draws differ at the glyphs' edges by design, but not in
// the ink's place and size.
inline void expectSameInk(const Pixels& base, const Pixels& seen, const Pixels& replayed)
{
    ASSERT_TRUE(sameSize(base, seen));
    ASSERT_TRUE(sameSize(base, replayed));
    const Ink a = inkOf(base, seen, 48), b = inkOf(base, replayed, 48);
    ASSERT_GT(a.area, 0u) << "no ink in what the person saw";
    ASSERT_GT(b.area, 0u) << "no ink in the replay";
    EXPECT_NEAR(a.left, b.left, 2);
    EXPECT_NEAR(a.top, b.top, 2);
    EXPECT_NEAR(a.right, b.right, 2);
    EXPECT_NEAR(a.bottom, b.bottom, 2);
    EXPECT_NEAR(a.cx, b.cx, 1.5);
    EXPECT_NEAR(a.cy, b.cy, 1.5);
    EXPECT_NEAR(double(a.area), double(b.area), 0.05 * double(b.area));
}

// 1600 x 1200, larger than the editing size, with texture everywhere for the sharpening to show.
inline Pixels texturedFixture()
{
    return qz_test::makePixels(1600, 1200, [](std::size_t x, std::size_t y) {
        const bool check = ((x / 5) + (y / 7)) % 2 == 0;
        return std::array<std::uint8_t, 4>{std::uint8_t(50 + x * 120 / 1600 + (check ? 50 : 0)),
                                           std::uint8_t(70 + y * 100 / 1200), std::uint8_t(check ? 160 : 100), 255};
    });
}

// TESSEL_FULL_SIZE set (or, for null, unset) for the scope, and put back after it.
class ScopedFullSizeChoice {
public:
    explicit ScopedFullSizeChoice(const char* value)
    {
        if (const char* before = std::getenv(kName)) before_ = before;
        set(value);
    }
    ~ScopedFullSizeChoice() { set(before_ ? before_->c_str() : nullptr); }
    ScopedFullSizeChoice(const ScopedFullSizeChoice&) = delete;
    ScopedFullSizeChoice& operator=(const ScopedFullSizeChoice&) = delete;

private:
    static constexpr const char* kName = "TESSEL_FULL_SIZE";
    static void set(const char* value)
    {
        if (value)
            setenv(kName, value, 1);
        else
            unsetenv(kName);
    }
    std::optional<std::string> before_;
};

// ---- The scripts ----

// A script of examples/scripts (its name without ".txt"), the photo of the cache it runs on, and
// what its edit must do to that photo (input, output).
struct ToolScript {
    const char* name;
    const char* photo;
    void (*check)(const Pixels& input, const Pixels& output);
};

inline void PrintTo(const ToolScript& script, std::ostream* out)
{
    *out << script.name;
}

// A test name of the script's name ("enhance-deselect" -> "enhance_deselect").
inline std::string scriptTestName(const ::testing::TestParamInfo<ToolScript>& script)
{
    std::string name = script.param.name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

inline fs::path scriptPath(const std::string& name)
{
    return fs::path(TESSEL_SOURCE_DIR) / "examples/scripts" / (name + ".txt");
}

inline std::string scriptText(const std::string& name)
{
    std::ifstream in(scriptPath(name));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline int screenshotLines(const std::string& text)
{
    int count = 0;
    for (const std::string& line : tessel_editor::splitLines(text)) count += line.rfind("screenshot ", 0) == 0;
    return count;
}

// A photo of the cache that scripts/fetch-photos.sh fills (TESSEL_PHOTO_DIR when set).
inline std::string photoPath(const std::string& file = "astronaut.png")
{
    const char* dir = std::getenv("TESSEL_PHOTO_DIR");
    return ((dir && *dir ? fs::path(dir) : fs::path(TESSEL_SOURCE_DIR) / ".cache/photos") / file).string();
}

class QZToolScriptsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto photo = readPNG(photoPath());
        if (!photo) GTEST_SKIP() << photoPath() << " is missing (run scripts/fetch-photos.sh)";
        PlatformSettings::setMainBundlePath(fs::path(TESSEL_SDK_RESOURCES_BUNDLE_DIR).parent_path().string());
        manager_ = QZOpenGLManager::sharedOpenGLManager();
        if (manager_->setupFailed()) GTEST_SKIP() << "no EGL display";
        photo_ = *photo;
        char pattern[] = "/tmp/tool_scripts_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override
    {
        if (!dir_.empty()) fs::remove_all(dir_);
        // Nothing of the GL queue may run into the process's exit.
        if (manager_) {
            EXPECT_TRUE(qz_test::drainGPUQueue());
        }
        PlatformSettings::reset();
    }

    std::shared_ptr<QZOpenGLManager> manager_;
    Pixels photo_;
    fs::path dir_;
};

// Plays one script through the built program on its photo. Each tool's suite instantiates it
// with its rows.
class QZToolScriptsProgramTest : public QZToolScriptsTest, public ::testing::WithParamInterface<ToolScript> {};

// ---- In-process, through the host's script runner ----

// Hears what the person saw at Done, then lets the host hear it.
struct DoneRecorder : QZPhotoEditorControllerDelegate {
    std::shared_ptr<tessel_editor::EditorHost> host;
    std::shared_ptr<UIImage> seen;
    void photoEditorFinishedWithImage(QZSDKViewController* editor, std::shared_ptr<UIImage> image) override
    {
        seen = image;
        host->photoEditorFinishedWithImage(editor, std::move(image));
    }
    void photoEditorCanceled(QZSDKViewController* editor) override { host->photoEditorCanceled(editor); }
};

struct Played {
    std::shared_ptr<tessel_editor::EditorHost> host;
    std::shared_ptr<UIImage> photo;
    Pixels result;
    Pixels seen;
};

class QZToolScriptsInProcessTest : public QZToolScriptsTest {
protected:
    void SetUp() override
    {
        QZToolScriptsTest::SetUp();
        if (IsSkipped()) return;
        tessel_editor::configureDevice(tessel_editor::Device::Phone);
        QZTestMetricsSession::registerClass(analytics_);
    }
    void TearDown() override
    {
        if (played_.host) played_.host->close();
        played_ = {};
        QZTestMetricsSession::unregisterClass();
        QZToolScriptsTest::TearDown();
    }

    // A fresh host on the photo, its Done recorded, and a runner whose screenshots go to a folder of
    // the script's name; null (with a failure) when no host opens.
    std::unique_ptr<tessel_editor::ScriptRunner> openForScript(const std::string& name, const Pixels& photo,
                                                               const tessel_editor::QuickLaunch& launch = {})
    {
        analytics_->events.clear();
        if (played_.host) played_.host->close();
        played_ = {};
        played_.photo = qz_test::imageOf(photo);
        std::string error;
        played_.host = tessel_editor::EditorHost::open(played_.photo, &error, tessel_editor::EditorHost::Clock::Real, launch);
        if (!played_.host) {
            ADD_FAILURE() << error;
            return nullptr;
        }
        auto recorder = std::make_shared<DoneRecorder>();
        recorder->host = played_.host;
        recorder_ = recorder;
        played_.host->editor()->setDelegate(recorder);
        fs::create_directories(dir_ / name);
        return std::make_unique<tessel_editor::ScriptRunner>(*played_.host, (dir_ / name).string());
    }

    // Plays the script on the photo to Done; false (with a failure) when it did not get there.
    bool play(const ToolScript& script, const Pixels& photo)
    {
        return play(script.name, tessel_editor::splitLines(scriptText(script.name)), photo);
    }
    bool play(const std::string& name, const std::vector<std::string>& lines, const Pixels& photo,
              const tessel_editor::QuickLaunch& launch = {})
    {
        auto opened = openForScript(name, photo, launch);
        if (!opened) return false;
        tessel_editor::ScriptRunner& runner = *opened;
        const tessel_editor::ScriptResult result = runner.run(lines);
        tessel_editor::EditorHost::settle();
        if (result.status != tessel_editor::ScriptResult::Status::Finished || !played_.host->result() ||
            !recorder_->seen) {
            ADD_FAILURE() << "line " << result.line << ": " << result.message;
            return false;
        }
        played_.result = qz_test::pixelsOf(played_.host->result());
        played_.seen = qz_test::pixelsOf(recorder_->seen);
        return true;
    }

    // The closed session replayed by a context of our own, at full size or fitting maxSize.
    std::optional<Pixels> replay(std::optional<CGSize> maxSize)
    {
        const auto& session = played_.host->editor()->session();
        auto context = maxSize ? session->createContextWithImage(played_.photo, *maxSize)
                               : session->createContextWithImage(played_.photo);
        if (!context) return std::nullopt;
        std::shared_ptr<UIImage> image;
        bool delivered = false;
        context->render([&](std::shared_ptr<UIImage> rendered) {
            image = std::move(rendered);
            delivered = true;
        });
        tessel_editor::EditorHost::settle();
        if (!qz_test::pumpUntil([&] { return delivered; }) || !image) return std::nullopt;
        return qz_test::pixelsOf(image);
    }

    // The full-size result and what the person saw equal replays of the closed session: the
    // full-size one on the server the host's took, the one at the editing size on the preview's
    // GPU (a photo no larger than the editing size is at full size there too).
    void expectReplaysAgree()
    {
        const auto full = replay(std::nullopt);
        ASSERT_TRUE(full) << "no full-size replay";
        ASSERT_TRUE(sameSize(played_.result, *full));
        EXPECT_LE(qz_test::maxDifference(played_.result, *full), 1);
        const ScopedFullSizeChoice previewsPath("gpu");
        const auto editing = replay(played_.host->editor()->session()->editingSize());
        ASSERT_TRUE(editing) << "no replay at the editing size";
        ASSERT_TRUE(sameSize(played_.seen, *editing));
        EXPECT_LE(percentileDifference(played_.seen, *editing), 2);
        EXPECT_LE(qz_test::maxDifference(played_.seen, *editing), 4);
    }

    std::shared_ptr<QZProcessor> onlyProcessor()
    {
        const auto& modules = played_.host->editor()->session()->modules();
        if (modules.size() != 1) return nullptr;
        QZProcessorList processors;
        modules[0]->createProcessors(processors);
        return processors.size() == 1 ? processors[0] : nullptr;
    }
    const Value* event(const std::string& name) const
    {
        for (const auto& [eventName, attributes] : analytics_->events)
            if (eventName == name) return &attributes;
        return nullptr;
    }

    std::shared_ptr<QZTestMetricsSession> analytics_ = NSObject::create<QZTestMetricsSession>();
    std::shared_ptr<DoneRecorder> recorder_;
    Played played_;
};

}  // namespace tool_scripts
