// The meme tool's script (meme.txt) played through the built tessel_editor and in-process through
// the host's script runner. In-process the result must equal a replay of the closed session, the
// session must hold one block module adding a new meme processor per run with the captions as
// typed, what the person saw at Done must put each caption's ink where a replay at the editing
// size puts it, and the canvas must be back at its frame with the keyboard gone.
#include "QZToolScriptsSupport.h"

#include "TesselSDK/tools/meme/QZMemeViewController.h"

#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/Processors/QZMemeProcessor.h"

#include "UIKit/UIKeyboard.h"

#include <functional>
#include <map>

namespace tool_scripts {
namespace {

// ---- Measures ----

// Rows [from, to) of the picture.
Pixels rowsOf(const Pixels& image, std::size_t from, std::size_t to)
{
    Pixels rows{image.width, to - from, {}};
    rows.rgba.assign(image.rgba.begin() + std::ptrdiff_t(from * image.width),
                     image.rgba.begin() + std::ptrdiff_t(to * image.width));
    return rows;
}

// The picture's thirds from the top: [0, h/3), [h/3, 2h/3), [2h/3, h).
std::array<Pixels, 3> thirdsOf(const Pixels& image)
{
    const std::size_t h = image.height;
    return {rowsOf(image, 0, h / 3), rowsOf(image, h / 3, 2 * h / 3), rowsOf(image, 2 * h / 3, h)};
}

// A caption in the top third and one in the bottom third (each changing at least 0.5 % of the
// photo's pixels by more than a level), and at least 98 % of the middle third as it was.
void expectCaptionsInThirds(const Pixels& input, const Pixels& output)
{
    ASSERT_TRUE(sameSize(input, output));
    const auto before = thirdsOf(input), after = thirdsOf(output);
    const double pixels = double(input.width * input.height);
    EXPECT_GE(double(inkOf(before[0], after[0], 1).area), 0.005 * pixels) << "top caption";
    EXPECT_GE(double(inkOf(before[2], after[2], 1).area), 0.005 * pixels) << "bottom caption";
    const double middle = double(before[1].width * before[1].height);
    EXPECT_LE(double(inkOf(before[1], after[1], 1).area), 0.02 * middle) << "middle third";
}

const ToolScript kRows[] = {
    {"meme", "astronaut.png", expectCaptionsInThirds},
};

INSTANTIATE_TEST_SUITE_P(Meme, QZToolScriptsProgramTest, ::testing::ValuesIn(kRows), scriptTestName);

// ---- In-process ----

class QZMemeScriptsTest : public QZToolScriptsInProcessTest {
protected:
    // Plays the lines to Done, stopping before the first line equal to `pause` to run `atPause`
    // (what it answers is run there too). False (with a failure) when the script did not get to
    // Done.
    bool playPausing(const std::string& name, std::vector<std::string> lines, const Pixels& photo,
                     const std::string& pause, const std::function<std::vector<std::string>()>& atPause)
    {
        const auto at = std::find(lines.begin(), lines.end(), pause);
        if (at == lines.end()) {
            ADD_FAILURE() << name << " has no \"" << pause << "\"";
            return false;
        }
        auto opened = openForScript(name, photo);
        if (!opened) return false;
        tessel_editor::ScriptRunner& runner = *opened;
        for (const auto& part :
             {std::vector<std::string>(lines.begin(), at), atPause(), std::vector<std::string>(at, lines.end())}) {
            const tessel_editor::ScriptResult result = runner.run(part);
            if (result.status == tessel_editor::ScriptResult::Status::Ended) continue;
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
        ADD_FAILURE() << name << " ended before Done";
        return false;
    }

    // meme.txt with each line of `replace` put in place of its lines.
    static std::vector<std::string> memeScript(const std::map<std::string, std::vector<std::string>>& replace)
    {
        std::vector<std::string> lines;
        for (const std::string& line : tessel_editor::splitLines(scriptText("meme"))) {
            const auto found = replace.find(line);
            if (found == replace.end())
                lines.push_back(line);
            else
                lines.insert(lines.end(), found->second.begin(), found->second.end());
        }
        return lines;
    }

    // The one processor the session's one block module adds, made afresh on each run.
    std::shared_ptr<QZMemeProcessor> onlyMemeProcessor()
    {
        const auto& modules = played_.host->editor()->session()->modules();
        if (modules.size() != 1 || !std::dynamic_pointer_cast<QZBlockModule>(modules[0])) return nullptr;
        QZProcessorList first, second;
        modules[0]->createProcessors(first);
        modules[0]->createProcessors(second);
        if (first.size() != 1 || second.size() != 1 || first[0] == second[0]) return nullptr;
        return std::dynamic_pointer_cast<QZMemeProcessor>(first[0]);
    }

    std::shared_ptr<QZScrollingImageView> canvas() const { return played_.host->editor()->scrollableImageView(); }
    Pixels editingPhoto() const { return qz_test::pixelsOf(played_.host->editor()->resizedImage()); }

    long toolEvents(const std::string& name) const
    {
        return std::count_if(analytics_->events.begin(), analytics_->events.end(),
                             [&](const auto& event) { return event.first == name; });
    }
};

TEST_F(QZMemeScriptsTest, MemeBakesBothCaptionsWhereThePersonSawThem)
{
    CGRect canvasBefore = CGRectNull;
    ASSERT_TRUE(playPausing("meme", tessel_editor::splitLines(scriptText("meme")), photo_, "tap Meme", [&] {
        canvasBefore = canvas()->frame();
        return std::vector<std::string>{};
    }));
    expectCaptionsInThirds(photo_, played_.result);

    auto processor = onlyMemeProcessor();
    ASSERT_NE(processor, nullptr) << "one block module adding one new meme processor per run";
    EXPECT_EQ(processor->topText(), "HELLO");
    EXPECT_EQ(processor->bottomText(), "WORLD");
    const CGRect top = processor->topRect(), bottom = processor->bottomRect();
    for (const auto& [actual, expected] : {std::pair{top.origin.x, 0.0},
                                           {top.origin.y, 0.0},
                                           {top.size.width, 1.0},
                                           {top.size.height, 1 / 3.0},
                                           {bottom.origin.x, 0.0},
                                           {bottom.origin.y, 2 / 3.0},
                                           {bottom.size.width, 1.0},
                                           {bottom.size.height, 1 / 3.0}})
        EXPECT_NEAR(actual, expected, 1e-6);
    const CGSize editing = played_.host->editor()->session()->editingSize();
    EXPECT_FLOAT_EQ(processor->scale(), 1 / std::max(editing.width, editing.height));
    // Each word fits its 512-pixel caption at full size ("WORLD" is about 377 pixels wide at 100).
    EXPECT_EQ(processor->topFontSize(), 100);
    EXPECT_EQ(processor->bottomFontSize(), 100);

    EXPECT_EQ(toolEvents("meme: opened"), 1);
    EXPECT_EQ(toolEvents("meme: applied"), 1);
    EXPECT_EQ(std::count(analytics_->calls.begin(), analytics_->calls.end(), "tagScreen: Meme"), 1);

    const auto full = replay(std::nullopt);
    ASSERT_TRUE(full) << "no full-size replay";
    ASSERT_TRUE(sameSize(played_.result, *full));
    EXPECT_LE(qz_test::maxDifference(played_.result, *full), 1);
    const auto atEditingSize = replay(editing);
    ASSERT_TRUE(atEditingSize) << "no replay at the editing size";
    const auto base = thirdsOf(editingPhoto()), seen = thirdsOf(played_.seen), replayed = thirdsOf(*atEditingSize);
    for (int third : {0, 2}) {
        SCOPED_TRACE(third == 0 ? "top third" : "bottom third");
        expectSameInk(base[third], seen[third], replayed[third]);
    }

    EXPECT_FALSE(UIKeyboard::sharedKeyboard()->isVisible());
    const CGRect after = canvas()->frame();
    EXPECT_EQ(after.origin.y, canvasBefore.origin.y);
    EXPECT_EQ(after.size.height, canvasBefore.size.height) << "the keyboard's shortening undone exactly once";
    EXPECT_EQ(after.size.width, canvasBefore.size.width);
}

// Applied with both captions empty: the blend still runs, and nothing changes the photo.
TEST_F(QZMemeScriptsTest, EmptyCaptionsLeaveThePhotoAsItWas)
{
    ASSERT_TRUE(playPausing("empty", memeScript({{"type HELLO", {}}, {"type WORLD", {}}}), photo_, "tap Apply",
                            [] { return std::vector<std::string>{}; }));
    auto processor = onlyMemeProcessor();
    ASSERT_NE(processor, nullptr);
    EXPECT_EQ(processor->topText(), "");
    EXPECT_EQ(processor->bottomText(), "");
    EXPECT_EQ(toolEvents("meme: applied"), 1);
    ASSERT_TRUE(sameSize(played_.result, photo_));
    EXPECT_LE(qz_test::maxDifference(played_.result, photo_), 1);
    ASSERT_TRUE(sameSize(played_.seen, photo_));
    EXPECT_LE(qz_test::maxDifference(played_.seen, photo_), 1);
}

// Back while Apply's blend and present wait on a held GL queue: cancelled, once; nothing reaches
// the session or the preview, and the canvas has its frame back.
TEST_F(QZMemeScriptsTest, BackWhileTheBlendIsQueuedCancelsAndKeepsNothing)
{
    const std::vector<std::string> lines = tessel_editor::splitLines(scriptText("meme"));
    const auto meme = std::find(lines.begin(), lines.end(), "tap Meme");
    const auto apply = std::find(lines.begin(), lines.end(), "tap Apply");
    ASSERT_TRUE(meme < apply && apply != lines.end());
    const auto runner = openForScript("back", photo_);
    ASSERT_NE(runner, nullptr);
    ASSERT_EQ(runner->run(std::vector<std::string>(lines.begin(), meme)).status,
              tessel_editor::ScriptResult::Status::Ended);
    const CGRect canvasBefore = canvas()->frame();
    ASSERT_EQ(runner->run(std::vector<std::string>(meme, apply)).status, tessel_editor::ScriptResult::Status::Ended);
    ASSERT_LT(canvas()->frame().size.height, canvasBefore.size.height) << "typing with the keyboard up";
    const auto gl = played_.host->editor()->glInstance();
    ASSERT_NE(gl, nullptr);
    gl->pauseRendering();
    const auto back = runner->run({"tap Apply", "wait 0.2", "tap Editor", "wait 1"});
    gl->resumeRendering();
    ASSERT_EQ(back.status, tessel_editor::ScriptResult::Status::Ended) << back.line << ": " << back.message;
    tessel_editor::EditorHost::settle();
    EXPECT_EQ(played_.host->editor()->toolViewController(), nullptr);
    EXPECT_TRUE(played_.host->editor()->session()->modules().empty());
    EXPECT_EQ(toolEvents("meme: cancelled"), 1);
    EXPECT_EQ(toolEvents("meme: applied"), 0);
    EXPECT_FALSE(UIKeyboard::sharedKeyboard()->isVisible());
    const CGRect after = canvas()->frame();
    EXPECT_EQ(after.origin.y, canvasBefore.origin.y);
    EXPECT_EQ(after.size.height, canvasBefore.size.height);

    ASSERT_EQ(runner->run({"tap Done"}).status, tessel_editor::ScriptResult::Status::Finished);
    tessel_editor::EditorHost::settle();
    ASSERT_TRUE(played_.host->result() && recorder_->seen);
    EXPECT_LE(qz_test::maxDifference(qz_test::pixelsOf(played_.host->result()), photo_), 1);
    EXPECT_LE(qz_test::maxDifference(qz_test::pixelsOf(recorder_->seen), photo_), 1) << "the blend reached the preview";
}

// On a photo larger than the editing size, with captions of two lines: the replays at both sizes
// put ink only in the top and bottom thirds, at the same places relative to the image, and what
// the person saw agrees with the editing-size one.
TEST_F(QZMemeScriptsTest, TwoLineCaptionsAgreeAtBothSizes)
{
    const Pixels fixture = texturedFixture();
    ASSERT_TRUE(playPausing("two-sizes",
                            memeScript({{"type HELLO", {"type TOP", "key return", "type LINE"}},
                                        {"type WORLD", {"type BOTTOM", "key return", "type TEXT"}}}),
                            fixture, "tap Apply", [] { return std::vector<std::string>{}; }));
    auto processor = onlyMemeProcessor();
    ASSERT_NE(processor, nullptr);
    EXPECT_EQ(processor->topText(), "TOP\nLINE");
    EXPECT_EQ(processor->bottomText(), "BOTTOM\nTEXT");

    const CGSize editing = played_.host->editor()->session()->editingSize();
    const auto full = replay(std::nullopt);
    const auto small = replay(editing);
    ASSERT_TRUE(full && small);
    EXPECT_LE(qz_test::maxDifference(played_.result, *full), 1);
    const auto bigThirds = thirdsOf(*full), baseThirds = thirdsOf(fixture);
    const auto smallThirds = thirdsOf(*small), editingThirds = thirdsOf(editingPhoto());
    EXPECT_EQ(inkOf(baseThirds[1], bigThirds[1], 48).area, 0u) << "full size: nothing in the middle third";
    EXPECT_EQ(inkOf(editingThirds[1], smallThirds[1], 48).area, 0u) << "editing size: nothing in the middle third";
    const double W = double(fixture.width), w = double(editing.width);
    for (int third : {0, 2}) {
        SCOPED_TRACE(third == 0 ? "top third" : "bottom third");
        const Ink big = inkOf(baseThirds[third], bigThirds[third], 48);
        const Ink little = inkOf(editingThirds[third], smallThirds[third], 48);
        ASSERT_GT(big.area, 0u);
        ASSERT_GT(little.area, 0u);
        const double H = double(bigThirds[third].height), h = double(smallThirds[third].height);
        EXPECT_NEAR(big.left / W, little.left / w, 0.004);
        EXPECT_NEAR(big.right / W, little.right / w, 0.004);
        EXPECT_NEAR(big.top / H, little.top / h, 0.01);
        EXPECT_NEAR(big.bottom / H, little.bottom / h, 0.01);
        EXPECT_NEAR(big.cx / W, little.cx / w, 0.003);
        EXPECT_NEAR(big.cy / H, little.cy / h, 0.006);
        expectSameInk(editingThirds[third], thirdsOf(played_.seen)[third], smallThirds[third]);
    }
}

}  // namespace
}  // namespace tool_scripts
