// The stickers tool's scripts (stickers.txt, stickers-drag.txt) played through the built
// tessel_editor and in-process through the host's script runner, each on a fresh content root with
// no content service: the shipped Doodles pack needs no download. In-process the session must hold
// one sticker processor per placed sticker where the person put it, the result must equal a replay
// of the closed session, and what the person saw (the stickers drawn into a buffer and blended)
// must agree with a replay at the editing size within the sticker's own rectangle.
#include "QZToolScriptsSupport.h"

#include "TesselSDK/packs/QZContentAppliedNotification.h"
#include "TesselSDK/packs/QZContentPackIAPSelectionViewController.h"
#include "TesselSDK/packs/QZStickerContentPackListSelectionViewController.h"
#include "TesselSDK/remote/QZStickerContentPackItem.h"
#include "TesselSDK/remote/QZTesselContentManager.h"
#include "TesselSDK/remote/QZTranslationManager.h"

#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/Processors/QZStickerProcessor.h"

#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSUserDefaults.h"
#include "UIKit/UIAlertView.h"
#include "UIKit/testing/UITestDriver.h"

#include <cmath>
#include <cstdio>

namespace tool_scripts {
namespace {

// ---- Measures ----

// Where `output` differs from `input` by more than `levels` in some colour channel.
struct Changed {
    std::size_t count = 0;
    std::size_t left = SIZE_MAX, top = SIZE_MAX, right = 0, bottom = 0;  // pixel edges
};

Changed changedPixels(const Pixels& input, const Pixels& output, int levels)
{
    Changed changed;
    for (std::size_t y = 0; y < input.height; ++y)
        for (std::size_t x = 0; x < input.width; ++x) {
            bool differs = false;
            for (int c = 0; c < 3; ++c)
                differs = differs || std::abs(int(input.at(x, y)[c]) - int(output.at(x, y)[c])) > levels;
            if (!differs) continue;
            ++changed.count;
            changed.left = std::min(changed.left, x);
            changed.top = std::min(changed.top, y);
            changed.right = std::max(changed.right, x + 1);
            changed.bottom = std::max(changed.bottom, y + 1);
        }
    return changed;
}

// stickers.txt: one box around the photo's centre holds every change, smaller than half the photo,
// and at least 0.5 % of the pixels changed.
void expectStickerInTheMiddle(const Pixels& input, const Pixels& output)
{
    ASSERT_TRUE(sameSize(input, output));
    const Changed changed = changedPixels(input, output, 1);
    const double W = double(input.width), H = double(input.height);
    EXPECT_GE(double(changed.count), 0.005 * W * H);
    ASSERT_GT(changed.count, 0u);
    EXPECT_LT(double(changed.left), W / 2);
    EXPECT_GT(double(changed.right), W / 2);
    EXPECT_LT(double(changed.top), H / 2);
    EXPECT_GT(double(changed.bottom), H / 2);
    EXPECT_LT(double(changed.right - changed.left) * double(changed.bottom - changed.top), 0.5 * W * H);
}

// stickers-drag.txt: at least 0.5 % changed, every change in the upper-left quadrant, and the
// central box of a tenth of each side as it was.
void expectStickerUpperLeft(const Pixels& input, const Pixels& output)
{
    ASSERT_TRUE(sameSize(input, output));
    const Changed changed = changedPixels(input, output, 1);
    const double W = double(input.width), H = double(input.height);
    EXPECT_GE(double(changed.count), 0.005 * W * H);
    EXPECT_LE(double(changed.right), W / 2);
    EXPECT_LE(double(changed.bottom), H / 2);
    int centre = 0;
    for (std::size_t y = std::size_t(0.45 * H); y < std::size_t(0.55 * H); ++y)
        for (std::size_t x = std::size_t(0.45 * W); x < std::size_t(0.55 * W); ++x)
            for (int c = 0; c < 3; ++c)
                centre = std::max(centre, std::abs(int(input.at(x, y)[c]) - int(output.at(x, y)[c])));
    EXPECT_LE(centre, 1) << "the middle of the photo changed";
}

const ToolScript kRows[] = {
    {"stickers", "astronaut.png", expectStickerInTheMiddle},
    {"stickers-drag", "astronaut.png", expectStickerUpperLeft},
};

// ---- Through the program, on a fresh content root ----

class QZStickerScriptsProgramTest : public QZToolScriptsProgramTest {};

TEST_P(QZStickerScriptsProgramTest, WritesTheEditedPhotoAndAScreenshotAfterEachStep)
{
    const ToolScript& script = GetParam();
    const auto input = readPNG(photoPath(script.photo));
    if (!input) GTEST_SKIP() << photoPath(script.photo) << " is missing (run scripts/fetch-photos.sh)";
    const fs::path output = dir_ / (std::string(script.name) + ".png");
    const fs::path screenshots = dir_ / script.name / "shots";
    const example_test::ProgramRun run = example_test::runProgram(
        TESSEL_EDITOR_PATH,
        {"--headless", "--script", scriptPath(script.name).string(), "--output", output.string(), "--screenshots",
         screenshots.string(), "--content-root", (dir_ / "root").string(), photoPath(script.photo)});
    ASSERT_EQ(run.status, 0) << run.output;
    const auto written = readPNG(output);
    ASSERT_TRUE(written) << "no " << output;
    script.check(*input, *written);
    const auto shots = std::distance(fs::directory_iterator(screenshots), fs::directory_iterator());
    EXPECT_EQ(shots, screenshotLines(scriptText(script.name)));
}

INSTANTIATE_TEST_SUITE_P(Stickers, QZStickerScriptsProgramTest, ::testing::ValuesIn(kRows), scriptTestName);

// ---- In-process ----

using StickersTool = QZStickerContentPackListSelectionViewController;

class QZStickerScriptsTest : public QZToolScriptsInProcessTest {
protected:
    void SetUp() override
    {
        QZToolScriptsInProcessTest::SetUp();
        if (IsSkipped()) return;
        std::string error;
        ASSERT_TRUE(tessel_editor::applyContentOptions({(dir_ / "root").string(), std::nullopt}, &error)) << error;
        observer_ = NSNotificationCenter::defaultCenter()->addObserverForName(
            QZContentAppliedNotification, nullptr,
            [this](const std::shared_ptr<NSNotification>& notification) { applied_.push_back(notification); });
    }
    void TearDown() override
    {
        if (observer_) NSNotificationCenter::defaultCenter()->removeObserver(observer_);
        if (played_.host) played_.host->close();
        played_ = {};
        // Nothing may keep the content root open once it is removed.
        QZTesselContentManager::resetSharedManagerForTesting();
        QZTranslationManager::resetSharedManagerForTesting();
        NSUserDefaults::resetStandardUserDefaults();
        QZToolScriptsInProcessTest::TearDown();
    }

    // As play(), but with the stickers tool's page open before the script's "tap Apply": there
    // `beforeApply` (when given) may check the tool and answer lines to run first.
    using BeforeApply = std::function<std::vector<std::string>(StickersTool&)>;
    bool playStickers(const std::string& name, const std::vector<std::string>& lines, const Pixels& photo,
                      const BeforeApply& beforeApply = nullptr)
    {
        const auto apply = std::find(lines.begin(), lines.end(), "tap Apply");
        if (apply == lines.end()) {
            ADD_FAILURE() << name << " has no \"tap Apply\"";
            return false;
        }
        applied_.clear();
        auto opened = openForScript(name, photo);
        if (!opened) return false;
        tessel_editor::ScriptRunner& runner = *opened;
        tessel_editor::ScriptResult result = runner.run(std::vector<std::string>(lines.begin(), apply));
        auto tool = std::dynamic_pointer_cast<StickersTool>(played_.host->editor()->toolViewController());
        if (result.status != tessel_editor::ScriptResult::Status::Ended || !tool) {
            ADD_FAILURE() << "line " << result.line << ": " << result.message << " (no stickers tool before Apply)";
            return false;
        }
        EXPECT_EQ(UIAlertView::visibleAlert(), nullptr) << "the shipped pack needs no welcome prompt";
        if (beforeApply) {
            result = runner.run(beforeApply(*tool));
            if (result.status != tessel_editor::ScriptResult::Status::Ended) {
                ADD_FAILURE() << "line " << result.line << " before Apply: " << result.message;
                return false;
            }
        }
        tool.reset();
        result = runner.run(std::vector<std::string>(apply, lines.end()));
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

    // The session's one module, a block module, and its sticker processors.
    std::vector<std::shared_ptr<QZStickerProcessor>> stickerProcessors()
    {
        std::vector<std::shared_ptr<QZStickerProcessor>> stickers;
        const auto& modules = played_.host->editor()->session()->modules();
        EXPECT_EQ(modules.size(), 1u);
        if (modules.size() != 1 || !std::dynamic_pointer_cast<QZBlockModule>(modules[0])) return stickers;
        QZProcessorList processors;
        modules[0]->createProcessors(processors);
        for (const auto& processor : processors) {
            auto sticker = std::dynamic_pointer_cast<QZStickerProcessor>(processor);
            EXPECT_NE(sticker, nullptr) << "only sticker processors";
            if (sticker) stickers.push_back(sticker);
        }
        return stickers;
    }

    // The tool's events (those of its analytics keys and its items), in order.
    std::vector<std::string> stickerEvents() const
    {
        std::vector<std::string> names;
        for (const auto& [name, attributes] : analytics_->events)
            if (name.rfind("stickers:", 0) == 0 || name.rfind("doodle_stickers", 0) == 0 ||
                name.find(" : applied") != std::string::npos)
                names.push_back(name);
        return names;
    }

    // An event's attributes without the facade's standard ones.
    Value ownAttributes(const std::string& name) const
    {
        const Value* found = event(name);
        if (!found || !found->isDictionary()) return Value();
        Value own = *found;
        const Value standard = QZAnalytics::standardAttributes();
        if (const Value::Dictionary* keys = standard.asDictionary())
            for (const auto& [key, value] : *keys) own.removeObjectForKey(key);
        return own;
    }

    // What the person saw against a replay at the editing size: as good as equal outside the
    // stickers' rectangles, close inside them (one is drawn by the view, the other by the processor).
    // A turned sticker's edges are resampled once by the view and twice on the GPU (its raster,
    // then the turn): for it only the means are held.
    void expectSeenAgreesWithReplay(const std::vector<CGRect>& relativeRects, bool turned = false)
    {
        const CGSize editing = played_.host->editor()->session()->editingSize();
        const auto replayed = replay(editing);
        ASSERT_TRUE(replayed) << "no replay at the editing size";
        ASSERT_TRUE(sameSize(played_.seen, *replayed));
        const Pixels& seen = played_.seen;
        auto inside = [&](std::size_t x, std::size_t y) {
            for (const CGRect& r : relativeRects) {
                const double l = std::floor(r.origin.x * editing.width) - 1,
                             t = std::floor(r.origin.y * editing.height) - 1,
                             rr = std::ceil((r.origin.x + r.size.width) * editing.width) + 1,
                             b = std::ceil((r.origin.y + r.size.height) * editing.height) + 1;
                if (double(x) >= l && double(x) < rr && double(y) >= t && double(y) < b) return true;
            }
            return false;
        };
        int outsideMax = 0;
        double insideSum = 0, wholeSum = 0;
        std::vector<int> insideDifferences;
        for (std::size_t y = 0; y < seen.height; ++y)
            for (std::size_t x = 0; x < seen.width; ++x)
                for (int c = 0; c < 3; ++c) {
                    const int d = std::abs(int(seen.at(x, y)[c]) - int(replayed->at(x, y)[c]));
                    wholeSum += d;
                    if (inside(x, y)) {
                        insideSum += d;
                        insideDifferences.push_back(d);
                    } else {
                        outsideMax = std::max(outsideMax, d);
                    }
                }
        EXPECT_LE(outsideMax, 1) << "outside the stickers";
        ASSERT_FALSE(insideDifferences.empty());
        EXPECT_LE(insideSum / double(insideDifferences.size()), 2) << "inside the stickers, on average";
        const std::size_t at =
            std::min(insideDifferences.size() - 1, std::size_t(double(insideDifferences.size()) * 0.999));
        std::nth_element(insideDifferences.begin(), insideDifferences.begin() + std::ptrdiff_t(at),
                         insideDifferences.end());
        if (!turned) {
            EXPECT_LE(insideDifferences[at], 24) << "inside the stickers, at the 99.9th percentile";
        }
        EXPECT_LE(wholeSum / double(seen.width * seen.height * 3), 1.0) << "over the whole picture";
    }

    void expectResultEqualsFullSizeReplay()
    {
        const auto full = replay(std::nullopt);
        ASSERT_TRUE(full) << "no full-size replay";
        ASSERT_TRUE(sameSize(played_.result, *full));
        EXPECT_LE(qz_test::maxDifference(played_.result, *full), 1);
    }

    static std::vector<std::string> scriptWith(const std::string& name, const std::string& before,
                                               const std::vector<std::string>& inserted)
    {
        std::vector<std::string> lines = tessel_editor::splitLines(scriptText(name));
        const auto at = std::find(lines.begin(), lines.end(), before);
        EXPECT_NE(at, lines.end()) << name << " has no \"" << before << "\"";
        lines.insert(at, inserted.begin(), inserted.end());
        return lines;
    }

    std::shared_ptr<NSObject> observer_;
    std::vector<std::shared_ptr<NSNotification>> applied_;
};

// A sticker's rectangle in the picture (relative), its centre and its size.
void expectRect(CGRect rect, CGFloat cx, CGFloat cy, CGFloat width, CGFloat height, CGFloat tolerance)
{
    EXPECT_NEAR(CGRectGetMidX(rect), cx, tolerance);
    EXPECT_NEAR(CGRectGetMidY(rect), cy, tolerance);
    EXPECT_NEAR(rect.size.width, width, tolerance);
    EXPECT_NEAR(rect.size.height, height, tolerance);
}

TEST_F(QZStickerScriptsTest, ATappedStickerIsBakedInTheMiddleAndRecordedForTheReplay)
{
    std::shared_ptr<QZStickerContentPackItem> star;
    const auto atApply = [&](StickersTool& tool) -> std::vector<std::string> {
        auto overlay = tool.stickersOverlayView();
        EXPECT_EQ(overlay->stickerViews().size(), 1u);
        if (!overlay->stickerViews().empty()) star = overlay->stickerViews()[0]->stickerPackItem();
        return {};
    };
    ASSERT_TRUE(playStickers("stickers", tessel_editor::splitLines(scriptText("stickers")), photo_, atApply));
    expectStickerInTheMiddle(photo_, played_.result);
    ASSERT_NE(star, nullptr);
    EXPECT_EQ(star->identifier(), "star");

    // One processor: the first item's large image, unturned, a sticker and not a frame piece, one tile,
    // centred, 0.2 m - 14.4 points of the 320 the photo shows across.
    const auto stickers = stickerProcessors();
    ASSERT_EQ(stickers.size(), 1u);
    const auto& processor = stickers[0];
    EXPECT_EQ(processor->stickerImage(), star->largeImage());
    EXPECT_EQ(processor->rotation(), 0);
    EXPECT_FALSE(processor->isFrameType());
    EXPECT_EQ(processor->tileX(), 1);
    EXPECT_EQ(processor->tileY(), 1);
    const CGFloat side = (0.2f * 512 - 14.4f) / 320;
    expectRect(processor->relativeStickerRect(), 0.5f, 0.5f, side, side, 0.005f);

    // The events after the strip's tap, in order; the screens; the announcement; the welcome record.
    EXPECT_EQ(stickerEvents(), (std::vector<std::string>{"stickers: opened", "doodle_stickers : opened",
                                                         "doodle_stickers: star : selected", "star : applied",
                                                         "doodle_stickers :applied", "stickers: applied"}));
    EXPECT_EQ(ownAttributes("stickers: applied"),
              Value::dictionary({{"stickerPack", "doodle_stickers"}, {"stickerCount", 1}}));
    EXPECT_EQ(ownAttributes("stickers: applied")["stickerCount"].intValue(), 1);
    for (const char* screen : {"tagScreen: Sticker Pack Selection", "tagScreen: Stickers"})
        EXPECT_NE(std::find(analytics_->calls.begin(), analytics_->calls.end(), screen), analytics_->calls.end())
            << screen;
    ASSERT_EQ(applied_.size(), 1u);
    EXPECT_EQ(applied_[0]->object(), nullptr);
    EXPECT_EQ(applied_[0]->userInfo(), Value::dictionary({{kQZContentPackIdentifier, "doodle_stickers"},
                                                          {kQZContentPackType, "sticker"},
                                                          {kQZContentItemIdentifier, "star"}}));
    const Value launched = NSUserDefaults::standardUserDefaults()->objectForKey(kQZToolControllerHasLaunchedDictionary);
    EXPECT_TRUE(launched["Stickers"].boolValue());

    expectResultEqualsFullSizeReplay();
    expectSeenAgreesWithReplay({processor->relativeStickerRect()});
}

// On a photo larger than the editing size the sticker keeps its place and points size on the
// picture, and the full-size result is the session's replay.
TEST_F(QZStickerScriptsTest, OnALargePhotoTheStickerKeepsItsPlaceAndTheReplayAgrees)
{
    const Pixels fixture = texturedFixture();
    ASSERT_TRUE(playStickers("stickers-large", tessel_editor::splitLines(scriptText("stickers")), fixture));
    const auto stickers = stickerProcessors();
    ASSERT_EQ(stickers.size(), 1u);
    const CGRect rect = stickers[0]->relativeStickerRect();
    EXPECT_NEAR(CGRectGetMidX(rect), 0.5, 0.005);
    EXPECT_NEAR(CGRectGetMidY(rect), 0.5, 0.005);
    EXPECT_NEAR(rect.size.width, 88.0 / 320, 0.005);
    EXPECT_NEAR(rect.size.height, 88.0 / 240, 0.005);
    ASSERT_TRUE(sameSize(played_.result, fixture));
    expectResultEqualsFullSizeReplay();
}

TEST_F(QZStickerScriptsTest, ADraggedStickerLandsWhereTheFingerLifted)
{
    ASSERT_TRUE(playStickers("stickers-drag", tessel_editor::splitLines(scriptText("stickers-drag")), photo_));
    expectStickerUpperLeft(photo_, played_.result);
    const auto stickers = stickerProcessors();
    ASSERT_EQ(stickers.size(), 1u);
    const CGRect rect = stickers[0]->relativeStickerRect();
    EXPECT_NEAR(CGRectGetMidX(rect), 0.25, 0.01);
    EXPECT_NEAR(CGRectGetMidY(rect), 0.25, 0.01);
    EXPECT_EQ(stickers[0]->rotation(), 0);
    ASSERT_EQ(applied_.size(), 1u);
    expectResultEqualsFullSizeReplay();
    expectSeenAgreesWithReplay({rect});
}

// Two stickers, the second turned and scaled by its knob: one processor each in the layer's order,
// the rectangles and turns the views had, one announcement each naming the first sticker's pack.
TEST_F(QZStickerScriptsTest, TwoStickersTheSecondTurnedAndScaledAreBakedInLayerOrder)
{
    const auto turnSecond = [&](StickersTool& tool) -> std::vector<std::string> {
        auto second = tool.stickersOverlayView()->stickerViews().back();
        const CGPoint c = UITestDriver::windowPoint(*second->contentView());
        const CGPoint h = UITestDriver::windowPoint(*second->handle());
        // The knob carried 0.3 rad round the centre and 1.3 times as far out.
        const double a = 0.3, dx = (h.x - c.x) * 1.3, dy = (h.y - c.y) * 1.3;
        char drag[128];
        std::snprintf(drag, sizeof drag, "drag %.2f,%.2f %.2f,%.2f 1.0", double(h.x), double(h.y),
                      c.x + dx * std::cos(a) - dy * std::sin(a), c.y + dx * std::sin(a) + dy * std::cos(a));
        return {drag, "wait 0.5", "screenshot 05-turned"};
    };
    // The second sticker (Heart) placed by a tap over the first, then turned before Apply.
    std::vector<std::string> lines = scriptWith("stickers", "tap Apply", {"expect Heart", "tap Heart", "wait 1"});
    ASSERT_TRUE(playStickers("two", lines, photo_, turnSecond));
    const auto stickers = stickerProcessors();
    ASSERT_EQ(stickers.size(), 2u);
    EXPECT_EQ(stickers[0]->rotation(), 0);
    EXPECT_NEAR(stickers[1]->rotation(), 0.3, 0.05);
    const CGFloat side = (0.2f * 512 - 14.4f) / 320;
    expectRect(stickers[0]->relativeStickerRect(), 0.5f, 0.5f, side, side, 0.005f);
    EXPECT_GT(stickers[1]->relativeStickerRect().size.width, 1.2 * side);
    EXPECT_EQ(ownAttributes("stickers: applied")["stickerCount"].intValue(), 2);
    ASSERT_EQ(applied_.size(), 2u);
    for (const auto& notification : applied_)
        EXPECT_EQ(notification->userInfo()[kQZContentPackIdentifier].stringValue(), "doodle_stickers");
    EXPECT_EQ(applied_[0]->userInfo()[kQZContentItemIdentifier].stringValue(), "star");
    EXPECT_EQ(applied_[1]->userInfo()[kQZContentItemIdentifier].stringValue(), "heart");
    expectResultEqualsFullSizeReplay();
    expectSeenAgreesWithReplay({stickers[0]->relativeStickerRect(), stickers[1]->relativeStickerRect()}, true);
}

// Apply with nothing placed: a module of no processors, no announcement, the photo as it was.
TEST_F(QZStickerScriptsTest, ApplyingNoStickerLeavesThePhotoAsItWas)
{
    std::vector<std::string> lines;
    for (const std::string& line : tessel_editor::splitLines(scriptText("stickers")))
        if (line != "expect Star" && line != "tap Star") lines.push_back(line);
    ASSERT_TRUE(playStickers("none", lines, photo_));
    EXPECT_TRUE(stickerProcessors().empty());
    EXPECT_TRUE(applied_.empty());
    EXPECT_EQ(ownAttributes("stickers: applied")["stickerCount"].intValue(), 0);
    EXPECT_LE(qz_test::maxDifference(played_.result, photo_), 1);
    EXPECT_LE(qz_test::maxDifference(played_.seen, photo_), 1);
}

// A sticker closed just before Apply (its 0.1 s fade still running) is deleted: it is neither
// drawn, recorded, counted nor announced.
TEST_F(QZStickerScriptsTest, AStickerClosedJustBeforeApplyIsNotBaked)
{
    const auto closeIt = [&](StickersTool& tool) -> std::vector<std::string> {
        auto sticker = tool.stickersOverlayView()->stickerViews().back();
        const CGPoint close = UITestDriver::windowPoint(*sticker->closeButton());
        char tap[64];
        std::snprintf(tap, sizeof tap, "tap %.2f,%.2f", double(close.x), double(close.y));
        return {tap};
    };
    ASSERT_TRUE(playStickers("closed", tessel_editor::splitLines(scriptText("stickers")), photo_, closeIt));
    EXPECT_NE(event("star :deleted"), nullptr);
    EXPECT_TRUE(stickerProcessors().empty());
    EXPECT_TRUE(applied_.empty());
    EXPECT_EQ(event("star : applied"), nullptr);
    EXPECT_EQ(ownAttributes("stickers: applied")["stickerCount"].intValue(), 0);
    EXPECT_LE(qz_test::maxDifference(played_.result, photo_), 1);
    EXPECT_LE(qz_test::maxDifference(played_.seen, photo_), 1);
}

}  // namespace
}  // namespace tool_scripts
