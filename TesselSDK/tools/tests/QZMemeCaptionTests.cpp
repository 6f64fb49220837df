// The meme caption through the keyboard: its type shrinks to the largest size at which the text
// still fits its box, grows back as text goes, refuses what would need 20 points or less, and the
// caption face is made known once per process (only logged when it cannot be).
#include "QZMemeToolTestSupport.h"

#include "Foundation/NSLogCapture.h"

#include <filesystem>

namespace {

class QZMemeCaptionTest : public QZMemeToolTest {
protected:
    std::shared_ptr<QZMemeTextView> caption(CGRect frame)
    {
        auto made = UIView::viewWithFrame<QZMemeTextView>(frame);
        made->createFont();
        made->setAlignment(QZTextFieldTopAlign);
        made->setDelegate(log_);
        window_->addSubview(made);
        return made;
    }
    // Keys: "\b" is Backspace, "\n" Return, anything else is typed.
    void press(const std::string& keys)
    {
        if (keys == "\b")
            ASSERT_TRUE(driver_.pressBackspace());
        else if (keys == "\n")
            ASSERT_TRUE(driver_.pressReturn());
        else
            ASSERT_TRUE(driver_.typeText(keys));
    }
};

TEST_F(QZMemeCaptionTest, TheTypeShrinksToTheLargestSizeThatFitsAndGrowsBackAsTextGoes)
{
    auto c = caption(CGRectMake(10, 100, 300, 150));
    const CGRect box = c->bounds();
    EXPECT_EQ(c->fontSize(), 100);
    EXPECT_EQ(CTFontGetSize(c->font()), 100);
    EXPECT_EQ(CTFontCopyFullName(c->font()), "DejaVu Sans Condensed Bold");
    ASSERT_TRUE(c->becomeFirstResponder());
    ASSERT_TRUE(captionFits("HELL", 100, box) && !captionFits("HELLO", 100, box)) << "the table's premise";

    enum Size {
        Same,            // as before the key
        LargestFitting,  // smaller than before: it fits, a point more does not
        NinetyNine,      // grown from below while it fits, and stopped at 99 though it fits at 100
        Hundred,
    };
    struct Step {
        const char* keys;
        const char* text;
        Size size;
    } steps[] = {
        {"hel", "HEL", Same},  // capitals, at 100 while it fits
        {"lo", "HELLO", LargestFitting},
        {"\b", "HELL", NinetyNine},
        {"\b", "HEL", Hundred},  // from 99 one step reaches 100
        {"\b", "HE", Same},
        {"\n", "HE\n", LargestFitting},  // the new, empty line counts
        {"\b", "HE", NinetyNine},
    };
    CGFloat before = c->fontSize();
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string("after \"") + step.keys + "\"");
        press(step.keys);
        EXPECT_EQ(c->text(), step.text);
        EXPECT_EQ(c->textView()->text(), step.text);
        EXPECT_EQ(c->currentOffset(), NSInteger(std::string(step.text).size()));
        const CGFloat size = c->fontSize();
        EXPECT_EQ(CTFontGetSize(c->font()), size) << "the font follows the size";
        EXPECT_TRUE(captionFits(step.text, size, box)) << size;
        switch (step.size) {
        case Same: EXPECT_EQ(size, before); break;
        case LargestFitting:
            EXPECT_LT(size, before);
            EXPECT_FALSE(captionFits(step.text, size + 1, box)) << size;
            break;
        case NinetyNine:
            EXPECT_LT(before, 98);
            EXPECT_EQ(size, 99);
            EXPECT_TRUE(captionFits(step.text, 100, box));
            break;
        case Hundred: EXPECT_EQ(size, 100); break;
        }
        before = size;
    }
    ASSERT_LT(c->fontSize(), 100);
    c->clearText();
    EXPECT_EQ(c->text(), "");
    EXPECT_EQ(c->textView()->text(), "");
    EXPECT_EQ(c->fontSize(), 100);
    EXPECT_EQ(CTFontGetSize(c->font()), 100);
}

// In a caption 60 x 30 the first key already shrinks the type; the key that would need 20 points
// or less is refused: nothing changes and the delegate hears nothing.
TEST_F(QZMemeCaptionTest, AKeyThatWouldNeedTwentyPointsOrLessIsRefused)
{
    auto c = caption(CGRectMake(10, 100, 60, 30));
    const CGRect box = c->bounds();
    ASSERT_TRUE(c->becomeFirstResponder());
    std::string typed;
    for (int key = 0; key < 12 && captionFits(typed + "W", 21, box); ++key) {
        ASSERT_TRUE(driver_.typeText("W"));
        typed += "W";
        ASSERT_EQ(c->text(), typed);
        EXPECT_GT(c->fontSize(), 20);
    }
    ASSERT_GE(typed.size(), 2u);
    ASSERT_LT(c->fontSize(), 100);
    const CGFloat size = c->fontSize();
    const long changes = log_->count("change");
    ASSERT_TRUE(driver_.typeText("W"));
    EXPECT_EQ(c->text(), typed);
    EXPECT_EQ(c->textView()->text(), typed);
    EXPECT_EQ(c->fontSize(), size);
    EXPECT_EQ(CTFontGetSize(c->font()), size);
    EXPECT_EQ(c->currentOffset(), NSInteger(typed.size()));
    EXPECT_EQ(log_->count("change"), changes);
    EXPECT_FALSE(captionFits(typed + "W", 21, box));
    // Deleting is still taken.
    ASSERT_TRUE(driver_.pressBackspace());
    EXPECT_EQ(c->text(), typed.substr(0, typed.size() - 1));
}

// The question comes with a range the caption cuts to its text; the cursor stands after the
// replacement.
TEST_F(QZMemeCaptionTest, ARangePastTheEndIsCutToTheText)
{
    auto c = caption(CGRectMake(10, 100, 300, 150));
    struct Case {
        NSRange range;
        const char* replacement;
        const char* text;
        NSInteger offset;
    } cases[] = {
        {NSMakeRange(50, 10), "X", "HEX", 3},
        {NSMakeRange(1, 100), "", "H", 1},
        {NSMakeRange(0, 0), "O", "OH", 1},
        {NSMakeRange(2, 4294967295u), "!", "OH!", 3},
    };
    c->setText("HE");
    for (const Case& k : cases) {
        EXPECT_EQ(c->textViewShouldChangeTextInRangeReplacementText(c->textView().get(), k.range, k.replacement), true);
        EXPECT_EQ(c->text(), k.text);
        EXPECT_EQ(c->currentOffset(), k.offset);
    }
}

// ---- The caption face ----

class QZMemeFontTest : public QZMemeToolTest {
protected:
    void TearDown() override
    {
        QZMemeToolTest::TearDown();
        if (!copy_.empty()) std::filesystem::remove_all(copy_);
    }
    // The built bundle without its Impact.ttf, as the main bundle's.
    void useBundleWithoutFontFile()
    {
        copy_ = std::filesystem::path(::testing::TempDir()) / ("meme-bundle-" + std::to_string(getpid()));
        const std::filesystem::path bundle = copy_ / "TesselSDKResources.bundle";
        std::filesystem::create_directories(copy_);
        std::filesystem::copy(TESSEL_SDK_RESOURCES_BUNDLE_DIR, bundle, std::filesystem::copy_options::recursive);
        ASSERT_TRUE(std::filesystem::remove(bundle / "Impact.ttf"));
        PlatformSettings::setMainBundlePath(copy_.string());
        QZSDKResources::unloadResources();
    }
    static long unableToLoad(const NSLogCapture& log)
    {
        const auto lines = log.lines();
        return std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
            return line.find("-[QZMemeViewController viewDidLoad] meme font unable to load") != std::string::npos;
        });
    }
    // A second screen, as far as its view.
    static std::shared_ptr<QZMemeViewController> loadAnotherScreen()
    {
        auto screen = QZToolViewController::makeWithGLInstance<QZMemeViewController>(nullptr, Value(), false);
        screen->setTargetViewHeight(100);
        screen->view();
        return screen;
    }

    std::filesystem::path copy_;
};

TEST_F(QZMemeFontTest, TheBundlesFaceIsMadeKnownQuietly)
{
    NSLogCapture log;
    presentMeme(CGSizeMake(512, 512));
    auto another = loadAnotherScreen();
    EXPECT_EQ(unableToLoad(log), 0);
}

// Registration runs once per process: two screens, one line. The captions draw by the face's name
// all the same.
TEST_F(QZMemeFontTest, AFaceFileThatCannotBeRegisteredIsLoggedOnceAndCaptionsStillDraw)
{
    useBundleWithoutFontFile();
    NSLogCapture log;
    auto tool = presentMeme(CGSizeMake(512, 512));
    auto another = loadAnotherScreen();
    EXPECT_EQ(unableToLoad(log), 1);

    auto top = tool->memeOverlayView()->topTextView();
    EXPECT_EQ(CTFontCopyFullName(top->font()), "DejaVu Sans Condensed Bold");
    ASSERT_TRUE(top->becomeFirstResponder());
    ASSERT_TRUE(driver_.typeText("HELLO"));
    driver_.advance(0.4);
    EXPECT_EQ(top->text(), "HELLO");
    EXPECT_EQ(top->fontSize(), 100);
    const InkBox ink = inkOf(UITestDriver::snapshot(*top));
    EXPECT_FALSE(ink.empty()) << "the caption draws";
}

}  // namespace
