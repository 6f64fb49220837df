// The text tool's scripts (text.txt, text-rtl.txt) played through the built tessel_editor and
// in-process through the host's script runner. In-process the result must equal a replay of the
// closed session, the session must hold the one text processor with the values the screen took at
// Apply, and what the person saw at Done must put its ink where a replay at the editing size puts
// it: the preview is baked by the text field and the replay drawn by the text processor through a
// padded GPU texture, so their edge pixels differ by design, but not the ink's place and size.
#include "QZToolScriptsSupport.h"

#include "TesselSDK/tools/text/QZTextViewController.h"

#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/Processors/QZTextProcessor.h"

#include <cmath>

namespace tool_scripts {
namespace {

// ---- Measures ----

// The pixels where `image` differs from `base` by more than `levels` in some colour channel.
struct Ink {
    std::size_t area = 0;
    double left = 0, top = 0, right = 0, bottom = 0;  // the bounding box, pixel edges
    double cx = 0, cy = 0;                            // the centroid, pixel centres
};

Ink inkOf(const Pixels& base, const Pixels& image, int levels)
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
// size: bounding boxes within 2 pixels, centroids within 1.5, areas within 5 %.
void expectSameInk(const Pixels& base, const Pixels& seen, const Pixels& replayed)
{
    ASSERT_TRUE(sameSize(base, seen));
    ASSERT_TRUE(sameSize(base, replayed));
    const Ink a = inkOf(base, seen, 48), b = inkOf(base, replayed, 48);
    ASSERT_GT(a.area, 0u) << "no text in what the person saw";
    ASSERT_GT(b.area, 0u) << "no text in the replay";
    EXPECT_NEAR(a.left, b.left, 2);
    EXPECT_NEAR(a.top, b.top, 2);
    EXPECT_NEAR(a.right, b.right, 2);
    EXPECT_NEAR(a.bottom, b.bottom, 2);
    EXPECT_NEAR(a.cx, b.cx, 1.5);
    EXPECT_NEAR(a.cy, b.cy, 1.5);
    EXPECT_NEAR(double(a.area), double(b.area), 0.05 * double(b.area));
}

// The photo changed only inside one box smaller than half its area, and in at least 0.2 % of its
// pixels (some channel by more than 2 levels).
void expectTextBaked(const Pixels& input, const Pixels& output)
{
    ASSERT_TRUE(sameSize(input, output));
    const Ink changed = inkOf(input, output, 2);
    const double pixels = double(input.width * input.height);
    EXPECT_GE(double(changed.area), 0.002 * pixels);
    EXPECT_LT((changed.right - changed.left) * (changed.bottom - changed.top), 0.5 * pixels);
}

const ToolScript kRows[] = {
    {"text", "astronaut.png", expectTextBaked},
    {"text-rtl", "astronaut.png", expectTextBaked},
};

INSTANTIATE_TEST_SUITE_P(Text, QZToolScriptsProgramTest, ::testing::ValuesIn(kRows), scriptTestName);

// ---- In-process ----

class QZTextScriptsTest : public QZToolScriptsInProcessTest {
protected:
    // What the screen shows as Apply is tapped.
    struct AtApply {
        CGFloat boxScale = 0;
        CGFloat zoomScale = 0;  // the canvas's own
    };

    // As play(), running `beforeApply` just before the script's "tap Apply" and noting the box and
    // the canvas then.
    bool playNotingApply(const std::string& name, std::vector<std::string> lines, const Pixels& photo,
                         const std::function<void(QZTextViewController&)>& beforeApply = nullptr)
    {
        const auto apply = std::find(lines.begin(), lines.end(), "tap Apply");
        if (apply == lines.end()) {
            ADD_FAILURE() << name << " has no \"tap Apply\"";
            return false;
        }
        const std::vector<std::string> opening(lines.begin(), apply), closing(apply, lines.end());
        analytics_->events.clear();
        played_ = {};
        played_.photo = qz_test::imageOf(photo);
        std::string error;
        played_.host = tessel_editor::EditorHost::open(played_.photo, &error);
        if (!played_.host) {
            ADD_FAILURE() << error;
            return false;
        }
        auto recorder = std::make_shared<DoneRecorder>();
        recorder->host = played_.host;
        recorder_ = recorder;
        played_.host->editor()->setDelegate(recorder);
        fs::create_directories(dir_ / name);
        tessel_editor::ScriptRunner runner(*played_.host, (dir_ / name).string());
        tessel_editor::ScriptResult result = runner.run(opening);
        auto tool = std::dynamic_pointer_cast<QZTextViewController>(played_.host->editor()->toolViewController());
        if (result.status != tessel_editor::ScriptResult::Status::Ended || !tool) {
            ADD_FAILURE() << "line " << result.line << ": " << result.message << " (no text tool open before Apply)";
            return false;
        }
        if (beforeApply) beforeApply(*tool);
        atApply_ = {tool->textOverlayView()->textView()->scale(),
                    played_.host->editor()->scrollableImageView()->zoomScale()};
        tool.reset();
        result = runner.run(closing);
        tessel_editor::EditorHost::settle();
        if (result.status != tessel_editor::ScriptResult::Status::Finished || !played_.host->result() ||
            !recorder->seen) {
            ADD_FAILURE() << "line " << result.line << ": " << result.message;
            return false;
        }
        played_.result = qz_test::pixelsOf(played_.host->result());
        played_.seen = qz_test::pixelsOf(recorder->seen);
        return true;
    }

    std::shared_ptr<QZTextProcessor> onlyTextProcessor()
    {
        const auto& modules = played_.host->editor()->session()->modules();
        if (modules.size() != 1 || !std::dynamic_pointer_cast<QZBlockModule>(modules[0])) return nullptr;
        return std::dynamic_pointer_cast<QZTextProcessor>(onlyProcessor());
    }

    // The checks both scripts share: the one processor as the screen took it, the events, and the
    // result and what the person saw against replays.
    void expectTextApplied(const std::string& text)
    {
        auto processor = onlyTextProcessor();
        ASSERT_NE(processor, nullptr) << "one block module adding one text processor";
        EXPECT_EQ(processor->text(), text);
        for (const auto& color : {processor->foregroundColor(), processor->backgroundColor()}) {
            CGFloat r = 0, g = 0, b = 0, a = 0;
            ASSERT_TRUE(color && color->getRed(&r, &g, &b, &a));
            EXPECT_EQ(r + g + b + a, 4) << "white, the palette's first colour";
        }
        EXPECT_EQ(processor->fontName(), "ArialMT");
        EXPECT_EQ(processor->rotation(), 0);
        const CGRect rect = processor->rect();
        EXPECT_GE(rect.origin.x, 0);
        EXPECT_GE(rect.origin.y, 0);
        EXPECT_LE(CGRectGetMaxX(rect), 1);
        EXPECT_LE(CGRectGetMaxY(rect), 1);
        EXPECT_GT(rect.size.width * rect.size.height, 0);
        EXPECT_LT(rect.size.width * rect.size.height, 0.5f);
        const CGSize editing = played_.host->editor()->session()->editingSize();
        EXPECT_NEAR(processor->scale() * std::max(editing.width, editing.height),
                    atApply_.boxScale / atApply_.zoomScale, 1e-4);

        std::vector<std::string> toolEvents;
        for (const auto& [name, attributes] : analytics_->events)
            if (name.rfind("text: ", 0) == 0) toolEvents.push_back(name);
        EXPECT_EQ(toolEvents, (std::vector<std::string>{"text: opened", "text: applied"}));
        EXPECT_EQ(std::count(analytics_->calls.begin(), analytics_->calls.end(), "tagScreen: Text"), 1);

        const auto full = replay(std::nullopt);
        ASSERT_TRUE(full) << "no full-size replay";
        ASSERT_TRUE(sameSize(played_.result, *full));
        EXPECT_LE(qz_test::maxDifference(played_.result, *full), 1);
        const auto atEditingSize = replay(editing);
        ASSERT_TRUE(atEditingSize) << "no replay at the editing size";
        expectSameInk(qz_test::pixelsOf(played_.host->editor()->resizedImage()), played_.seen, *atEditingSize);
    }

    AtApply atApply_;
};

TEST_F(QZTextScriptsTest, TextBakesTheTypedWordWhereThePersonSawIt)
{
    ASSERT_TRUE(playNotingApply("text", tessel_editor::splitLines(scriptText("text")), photo_));
    expectTextBaked(photo_, played_.result);
    expectTextApplied("Tessel");
}

TEST_F(QZTextScriptsTest, RightToLeftTextKeepsItsTwoLinesWithoutTheDeletedEmoji)
{
    ASSERT_TRUE(playNotingApply("text-rtl", tessel_editor::splitLines(scriptText("text-rtl")), photo_));
    expectTextBaked(photo_, played_.result);
    expectTextApplied("\u0645\u0631\u062d\u0628\u0627\n\u0633\u0644\u0627\u0645");
}

}  // namespace
}  // namespace tool_scripts
