// The text tool's scripts (text.txt, text-rtl.txt, text-keys.txt) played through the built tessel_editor and
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

// The text baked and all of its ink in the photo's upper-left quarter.
void expectTextInTheUpperLeftQuarter(const Pixels& input, const Pixels& output)
{
    expectTextBaked(input, output);
    const Ink ink = inkOf(input, output, 48);
    EXPECT_GT(ink.area, 0u);
    EXPECT_LE(ink.right, 0.5 * double(input.width));
    EXPECT_LE(ink.bottom, 0.5 * double(input.height));
}

// Brighter everywhere, with white text across the middle that was not there (text is white, the
// palette's first colour).
void expectBrighterWithTextAcross(const Pixels& input, const Pixels& output)
{
    ASSERT_TRUE(sameSize(input, output));
    EXPECT_GT(meanLuma(output), meanLuma(input) + 5);
    std::size_t white = 0;
    for (std::size_t y = input.height * 2 / 5; y < input.height * 3 / 5; ++y)
        for (std::size_t x = input.width / 4; x < input.width * 3 / 4; ++x) {
            const auto& p = output.at(x, y);
            const auto& q = input.at(x, y);
            white += p[0] > 250 && p[1] > 250 && p[2] > 250 && std::min({q[0], q[1], q[2]}) < 200;
        }
    EXPECT_GT(double(white), 0.003 * double(input.width * input.height));
}

const ToolScript kRows[] = {
    {"text", "astronaut.png", expectTextBaked},
    {"text-rtl", "astronaut.png", expectTextBaked},
    {"text-after-adjust", "astronaut.png", expectBrighterWithTextAcross},
    {"text-moved", "astronaut.png", expectTextInTheUpperLeftQuarter},
    {"text-keys", "astronaut.png", expectTextBaked},
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

    // As play(), running the lines `beforeApply` gives (from the open screen) just before the
    // script's "tap Apply", and noting the box and the canvas then.
    using BeforeApply = std::function<std::vector<std::string>(QZTextViewController&)>;
    bool playNotingApply(const std::string& name, std::vector<std::string> lines, const Pixels& photo,
                         const BeforeApply& beforeApply = nullptr)
    {
        const auto apply = std::find(lines.begin(), lines.end(), "tap Apply");
        if (apply == lines.end()) {
            ADD_FAILURE() << name << " has no \"tap Apply\"";
            return false;
        }
        const std::vector<std::string> opening(lines.begin(), apply), closing(apply, lines.end());
        auto opened = openForScript(name, photo);
        if (!opened) return false;
        tessel_editor::ScriptRunner& runner = *opened;
        tessel_editor::ScriptResult result = runner.run(opening);
        auto tool = std::dynamic_pointer_cast<QZTextViewController>(played_.host->editor()->toolViewController());
        if (result.status != tessel_editor::ScriptResult::Status::Ended || !tool) {
            ADD_FAILURE() << "line " << result.line << ": " << result.message << " (no text tool open before Apply)";
            return false;
        }
        if (beforeApply) {
            result = runner.run(beforeApply(*tool));
            if (result.status != tessel_editor::ScriptResult::Status::Ended) {
                ADD_FAILURE() << "line " << result.line << " before Apply: " << result.message;
                return false;
            }
        }
        atApply_ = {};
        atApply_ = {tool->textOverlayView()->textView()->scale(),
                    played_.host->editor()->scrollableImageView()->zoomScale()};
        tool.reset();
        result = runner.run(closing);
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

    // text.txt with `replace` for its "type Tessel" line (nothing for none).
    static std::vector<std::string> textScript(const std::vector<std::string>& replace)
    {
        std::vector<std::string> lines;
        for (const std::string& line : tessel_editor::splitLines(scriptText("text"))) {
            if (line == "type Tessel")
                lines.insert(lines.end(), replace.begin(), replace.end());
            else
                lines.push_back(line);
        }
        return lines;
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

TEST_F(QZTextScriptsTest, TextTypedOnTheOnScreenKeysIsBaked)
{
    ASSERT_TRUE(playNotingApply("text-keys", tessel_editor::splitLines(scriptText("text-keys")), photo_));
    expectTextBaked(photo_, played_.result);
    expectTextApplied("Tap 42");
}

// The placeholder is never baked: Apply hands over an empty text and the photo as it was.
TEST_F(QZTextScriptsTest, ApplyingThePlaceholderLeavesThePhotoAsItWas)
{
    ASSERT_TRUE(playNotingApply("placeholder", textScript({}), photo_));
    auto processor = onlyTextProcessor();
    ASSERT_NE(processor, nullptr);
    EXPECT_EQ(processor->text(), "");
    ASSERT_TRUE(sameSize(played_.result, photo_));
    EXPECT_LE(qz_test::maxDifference(played_.result, photo_), 1);
    ASSERT_TRUE(sameSize(played_.seen, photo_));
    EXPECT_LE(qz_test::maxDifference(played_.seen, photo_), 1);
}

// Back while Apply's blend and present wait on a held GL queue: the tool is cancelled, once, and
// nothing of it reaches the session or the preview when the queue runs again.
TEST_F(QZTextScriptsTest, BackWhileTheBlendIsQueuedCancelsAndKeepsNothing)
{
    std::vector<std::string> lines = textScript({"type Tessel"});
    const auto apply = std::find(lines.begin(), lines.end(), "tap Apply");
    ASSERT_NE(apply, lines.end());
    const auto runner = openForScript("back", photo_);
    ASSERT_NE(runner, nullptr);
    ASSERT_EQ(runner->run(std::vector<std::string>(lines.begin(), apply)).status,
              tessel_editor::ScriptResult::Status::Ended);
    const auto gl = played_.host->editor()->glInstance();
    ASSERT_NE(gl, nullptr);
    gl->pauseRendering();
    const auto back = runner->run({"tap Apply", "wait 0.2", "tap Editor", "wait 1"});
    gl->resumeRendering();
    ASSERT_EQ(back.status, tessel_editor::ScriptResult::Status::Ended) << back.line << ": " << back.message;
    tessel_editor::EditorHost::settle();
    EXPECT_EQ(played_.host->editor()->toolViewController(), nullptr);
    EXPECT_TRUE(played_.host->editor()->session()->modules().empty());
    EXPECT_NE(event("text: cancelled"), nullptr);
    EXPECT_EQ(event("text: applied"), nullptr);

    ASSERT_EQ(runner->run({"tap Done"}).status, tessel_editor::ScriptResult::Status::Finished);
    tessel_editor::EditorHost::settle();
    ASSERT_TRUE(played_.host->result() && recorder_->seen);
    EXPECT_LE(qz_test::maxDifference(qz_test::pixelsOf(played_.host->result()), photo_), 1);
    EXPECT_LE(qz_test::maxDifference(qz_test::pixelsOf(recorder_->seen), photo_), 1) << "the blend reached the preview";
}

// On a photo larger than the editing size, with the box turned and scaled by its handle: the
// replays at both sizes put the text in the same part of the image, and what the person saw agrees
// with the editing-size one.
TEST_F(QZTextScriptsTest, TurnedAndScaledTextAgreesAtBothSizes)
{
    const Pixels fixture = texturedFixture();
    const auto turnAndScale = [&](QZTextViewController& tool) -> std::vector<std::string> {
        auto box = tool.textOverlayView()->textView();
        EXPECT_TRUE(box->isScalingEnabled()) << "scaling on once the keyboard has gone";
        const CGPoint c = box->superview()->convertPointToView(box->center(), nullptr);
        const CGPoint h = UITestDriver::windowPoint(*box->handle());
        // The handle carried 30 degrees round the centre and 1.4 times as far out.
        const double a = 30 * 3.14159265358979 / 180, dx = (h.x - c.x) * 1.4, dy = (h.y - c.y) * 1.4;
        char drag[128];
        std::snprintf(drag, sizeof drag, "drag %.2f,%.2f %.2f,%.2f 1.0", double(h.x), double(h.y),
                      c.x + dx * std::cos(a) - dy * std::sin(a), c.y + dx * std::sin(a) + dy * std::cos(a));
        return {drag, "wait 0.5", "screenshot 05-turned"};
    };
    ASSERT_TRUE(playNotingApply("turned", textScript({"type Tessel", "tap Done", "wait 1"}), fixture, turnAndScale));
    auto processor = onlyTextProcessor();
    ASSERT_NE(processor, nullptr);
    EXPECT_NEAR(processor->rotation(), 30 * 3.14159265358979 / 180, 0.06);
    EXPECT_GT(atApply_.boxScale, 1.2f);

    const CGSize editing = played_.host->editor()->session()->editingSize();
    const auto full = replay(std::nullopt);
    const auto small = replay(editing);
    ASSERT_TRUE(full && small);
    EXPECT_LE(qz_test::maxDifference(played_.result, *full), 1);
    const Ink big = inkOf(fixture, *full, 48);
    const Ink little = inkOf(qz_test::pixelsOf(played_.host->editor()->resizedImage()), *small, 48);
    ASSERT_GT(big.area, 0u);
    ASSERT_GT(little.area, 0u);
    const double W = double(fixture.width), H = double(fixture.height), w = double(editing.width),
                 h = double(editing.height);
    EXPECT_NEAR(big.left / W, little.left / w, 0.004);
    EXPECT_NEAR(big.right / W, little.right / w, 0.004);
    EXPECT_NEAR(big.top / H, little.top / h, 0.004);
    EXPECT_NEAR(big.bottom / H, little.bottom / h, 0.004);
    EXPECT_NEAR(big.cx / W, little.cx / w, 0.003);
    EXPECT_NEAR(big.cy / H, little.cy / h, 0.003);
    expectSameInk(qz_test::pixelsOf(played_.host->editor()->resizedImage()), played_.seen, *small);
}

// The photo stretched (nearest neighbour) to another size.
Pixels resized(const Pixels& photo, std::size_t width, std::size_t height)
{
    return qz_test::makePixels(width, height, [&](std::size_t x, std::size_t y) {
        return photo.at(x * photo.width / width, y * photo.height / height);
    });
}

// The lines of a text session on either device: `before` (from the home screen), the strip
// brought to Text, TEXT typed (none: the placeholder left) and applied, Done. The strip lies at
// y 510 on the phone and 960 on the tablet; it stays where an earlier tool was tapped.
std::vector<std::string> textSessionLines(tessel_editor::Device device, bool afterAdjust, const std::string& text)
{
    const bool phone = device == tessel_editor::Device::Phone;
    std::vector<std::string> lines = {"wait 1"};
    const std::string swipe = phone ? "drag 310,510 10,510 1.0" : "drag 700,960 100,960 1.0";
    if (afterAdjust) {
        // Brightness raised about halfway and applied.
        if (phone) lines.insert(lines.end(), {swipe, "wait 1"});
        lines.insert(lines.end(), {"tap Adjust", "wait 0.5", phone ? "drag 160,485 220,485 0.5" : "drag 384,941 534,941 0.5",
                                   "wait 0.5", "tap Apply", "wait 1", swipe, "wait 1"});
    } else {
        lines.insert(lines.end(), {swipe, "wait 1"});
        if (phone) lines.insert(lines.end(), {swipe, "wait 1"});
    }
    lines.insert(lines.end(), {"tap Text", "wait 1"});
    if (!text.empty()) lines.push_back("type " + text);
    lines.insert(lines.end(), {"wait 1", "tap Apply", "wait 1", "tap Done"});
    return lines;
}

// Text applied after Adjust is the text applied first: whole, and as wide on the photo, on both
// devices and on a photo smaller than the tablet's canvas (which Adjust may enlarge to fit) as on a
// larger one. The text's ink is what the text adds to the photo as the session left it without
// text (the placeholder applied).
TEST_F(QZTextScriptsTest, TextAfterAnotherToolIsAsWideAsWhenItIsTheFirst)
{
    const std::pair<std::size_t, std::size_t> sizes[] = {{512, 512}, {1200, 900}};
    for (const tessel_editor::Device device : {tessel_editor::Device::Phone, tessel_editor::Device::Tablet}) {
        tessel_editor::configureDevice(device);
        for (const auto& [width, height] : sizes) {
            const bool phone = device == tessel_editor::Device::Phone;
            SCOPED_TRACE(std::string(phone ? "phone " : "tablet ") + std::to_string(width) + " x " +
                         std::to_string(height));
            const Pixels photo = resized(photo_, width, height);
            double widths[2] = {0, 0};
            for (const bool afterAdjust : {false, true}) {
                Pixels base = photo;
                if (afterAdjust) {
                    ASSERT_TRUE(play("adjusted", textSessionLines(device, true, ""), photo));
                    base = played_.result;
                    EXPECT_GT(meanLuma(base), meanLuma(photo) + 5) << "Adjust left the photo as it was";
                }
                ASSERT_TRUE(play("text", textSessionLines(device, afterAdjust, "Phone text"), photo));
                const Ink ink = inkOf(base, played_.result, 48);
                EXPECT_GT(ink.area, 0.001 * double(width * height)) << (afterAdjust ? "after Adjust" : "first");
                widths[afterAdjust] = ink.right - ink.left;
                EXPECT_NEAR(ink.cx / double(width), 0.5, 0.05);
            }
            EXPECT_NEAR(widths[1], widths[0], 0.03 * widths[0]);
        }
    }
}

// A line of a thousand W with no place to break, far wider than the photo: it is laid out at its
// own size however far the full-size texture had to shrink to the GL limit (past about 575
// characters the text was wrapped into lines its box had no room for, and nothing was drawn), and
// written clipped to the photo, right across it, where the preview shows it.
TEST_F(QZTextScriptsTest, AnUnbrokenLineWiderThanThePhotoIsWrittenAcrossIt)
{
    ASSERT_TRUE(playNotingApply("long-line", textScript({"type " + std::string(1000, 'W')}), photo_));
    auto processor = onlyTextProcessor();
    ASSERT_NE(processor, nullptr);
    EXPECT_EQ(processor->text(), std::string(1000, 'W'));
    for (const Pixels* image : {&played_.result, &played_.seen}) {
        const Ink ink = inkOf(photo_, *image, 48);
        EXPECT_GT(ink.area, 0.02 * double(photo_.width * photo_.height));
        EXPECT_LT(ink.left, 0.02 * double(photo_.width));
        EXPECT_GT(ink.right, 0.98 * double(photo_.width));
        EXPECT_LT(ink.bottom - ink.top, 0.2 * double(photo_.height)) << "one line, not a wrapped block";
    }
    const Ink full = inkOf(photo_, played_.result, 48), seen = inkOf(photo_, played_.seen, 48);
    EXPECT_NEAR(full.cy, seen.cy, 0.02 * double(photo_.height));
}

// The box dragged to the upper left and turned with the keyboard down, then tapped to edit again
// and applied with the keyboard up (which holds the box straight, in the middle, above it): the
// text is baked where the person put it, turned as they turned it.
TEST_F(QZTextScriptsTest, ApplyWhileEditingBakesTheBoxWhereThePersonPutIt)
{
    ASSERT_TRUE(playNotingApply("text-moved", tessel_editor::splitLines(scriptText("text-moved")), photo_));
    auto processor = onlyTextProcessor();
    ASSERT_NE(processor, nullptr);
    EXPECT_EQ(processor->text(), "Tessel");
    EXPECT_GT(std::abs(processor->rotation()), 0.2) << "the turn before editing was lost";
    const CGRect rect = processor->rect();
    EXPECT_LT(CGRectGetMidX(rect), 0.5f);
    EXPECT_LT(CGRectGetMidY(rect), 0.5f);
    const Ink ink = inkOf(photo_, played_.result, 48);
    ASSERT_GT(ink.area, 0u);
    EXPECT_LE(ink.right, 0.5 * double(photo_.width));
    EXPECT_LE(ink.bottom, 0.5 * double(photo_.height));
    expectSameInk(qz_test::pixelsOf(played_.host->editor()->resizedImage()), played_.seen, *replay(
        played_.host->editor()->session()->editingSize()));
}

}  // namespace
}  // namespace tool_scripts
