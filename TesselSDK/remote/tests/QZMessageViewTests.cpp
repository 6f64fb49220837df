// Message cards: their layout in numbers, the label fonts, the flows driven by taps, the cases in
// which no card is made, and two cards as drawn against reviewed golden images (regenerate with
// TESSEL_UPDATE_GOLDEN=1 and look at them).

#include "TesselSDK/remote/tests/QZMessageUpdateFixture.h"

#include <fstream>

#include "CoreData/NSManagedObjectContext.h"
#include "Foundation/NSLogCapture.h"
#include "TesselSDK/remote/QZAtomicFile.h"
#include "TesselSDK/remote/QZMessageView.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIFont.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UIWindow.h"
#include "UIKit/testing/UIGoldenImage.h"
#include "UIKit/testing/UITestDriver.h"

namespace {

std::string describe(CGRect r)
{
    char text[96];
    std::snprintf(text, sizeof text, "(%g, %g, %g, %g)", r.origin.x, r.origin.y, r.size.width, r.size.height);
    return text;
}

Value text(const char* words)
{
    return Value::dictionary({{"text", words}});
}

}  // namespace

class QZMessageViewTest : public QZMessageUpdateTest {
protected:
    void SetUp() override
    {
        QZMessageUpdateTest::SetUp();
        window_ = UIWindow::window();
        window_->makeKeyAndVisible();
    }
    void TearDown() override
    {
        window_.reset();
        QZMessageUpdateTest::TearDown();
    }

    // A message of the main-queue context from its document, with a banner of 300 x 200 points
    // (at scale 2: 600 x 400 pixels) unless `banner` says otherwise.
    std::shared_ptr<QZMessage> message(Value document, std::optional<std::string> banner = std::nullopt)
    {
        auto context = manager()->contentPackManagedObjectContext();
        auto record = std::dynamic_pointer_cast<QZMessage>(
            QZManagedObjectClass::classNamed("QZMessage")->createInManagedObjectContext(*context));
        document.setObject("banner", "bannerImageIdentifier");
        record->updateWithDictionary(document);
        std::shared_ptr<NSError> error;
        EXPECT_TRUE(context->save(&error));
        Value::Data bytes;
        if (banner) {
            bytes.assign(banner->begin(), banner->end());
        } else {
            UIGraphicsBeginImageContextWithOptions(CGSizeMake(300, 200), true, 2);
            UIColor::colorWithRed(0.25f, 0.45f, 0.7f, 1)->setFill();
            UIRectFill(CGRectMake(0, 0, 300, 200));
            UIColor::colorWithRed(0.95f, 0.8f, 0.3f, 1)->setFill();
            UIRectFill(CGRectMake(100, 50, 100, 100));
            bytes = *UIImagePNGRepresentation(UIGraphicsGetImageFromCurrentImageContext());
            UIGraphicsEndImageContext();
        }
        EXPECT_TRUE(QZWriteFileAtomically(record->bannerImagePath(), bytes));
        return record;
    }

    Value solidDocument(bool withTitle = true)
    {
        Value document = Value::dictionary({{"identifier", "m1"},
                                            {"layoutStyle", "solidBody"},
                                            {"isSplitButton", true},
                                            {"showsNewBanner", true},
                                            {"action", "{\"action\":\"open\"}"},
                                            {"header", text("Frames and stickers")},
                                            {"paragraph", text("Two new packs are waiting for you in the store.")},
                                            {"bullets", Value::array({text("Twelve frames"), text("Forty stickers")})},
                                            {"actionButtonText", text("Show me")},
                                            {"dismissButtonText", text("Later")}});
        if (withTitle) document.setObject(text("New in Tessel"), "title");
        return document;
    }

    Value overlayDocument()
    {
        return Value::dictionary({{"identifier", "m2"},
                                  {"layoutStyle", "overlay"},
                                  {"action", "{\"action\":\"open\"}"},
                                  {"title", text("Tessel turns ten")},
                                  {"paragraph", text("A year of new frames, one every month.")},
                                  {"dismissButtonText", text("Celebrate")}});
    }

    std::vector<std::shared_ptr<QZMessageLabel>> labels(UIView& body)
    {
        std::vector<std::shared_ptr<QZMessageLabel>> found;
        for (const auto& view : body.subviews())
            if (auto label = std::dynamic_pointer_cast<QZMessageLabel>(view)) found.push_back(label);
        return found;
    }
    std::vector<std::shared_ptr<UIImageView>> panels(UIView& body)
    {
        std::vector<std::shared_ptr<UIImageView>> found;
        for (const auto& view : body.subviews())
            if (auto panel = std::dynamic_pointer_cast<UIImageView>(view)) found.push_back(panel);
        return found;
    }

    UITestDriver driver_;
    std::shared_ptr<UIWindow> window_;
};

TEST_F(QZMessageViewTest, ASolidBodyCardStacksItsLabelsOnTwoPanels)
{
    auto card = QZMessageView::messageViewWithMessage(message(solidDocument()));
    ASSERT_NE(card, nullptr);
    UIView& body = *card->bodyView();
    auto stacked = labels(body);
    ASSERT_EQ(stacked.size(), 5u);
    const CGFloat o = 10 + stacked[0]->frame().size.height + 5;
    const CGFloat l = o + 5;
    EXPECT_EQ(stacked[0]->frame().origin.y, 10) << "title";
    EXPECT_EQ(stacked[1]->frame().origin.y, l + 5) << "header";
    for (std::size_t i = 2; i < stacked.size(); ++i)
        EXPECT_EQ(stacked[i]->frame().origin.y, CGRectGetMaxY(stacked[i - 1]->frame()) + 5) << i;
    const CGFloat final = CGRectGetMaxY(stacked.back()->frame()) + 5;
    auto behind = panels(body);
    ASSERT_EQ(behind.size(), 2u);
    EXPECT_EQ(body.subviews()[0], behind[0]);
    EXPECT_EQ(body.subviews()[1], behind[1]) << "both panels behind the labels";
    EXPECT_EQ(describe(behind[1]->frame()), describe(CGRectMake(0, 0, 300, o + 5))) << "the title's panel";
    EXPECT_EQ(describe(behind[0]->frame()), describe(CGRectMake(0, l, 300, final - l)));
    EXPECT_EQ(card->bodyHeight(), final);

    EXPECT_TRUE(CGSizeEqualToSize(card->sizeThatFits(CGSizeMake(1, 1)), CGSizeMake(300, 260 + final)));
    card->sizeToFit();
    card->layoutIfNeeded();
    EXPECT_EQ(describe(card->bodyView()->frame()), describe(CGRectMake(0, 200, 300, final)));
    EXPECT_EQ(describe(card->dismissButton()->frame()), describe(CGRectMake(9, 9, 136.5, 42)));
    EXPECT_EQ(describe(card->actionButton()->frame()), describe(CGRectMake(154.5, 9, 136.5, 42)));
    ASSERT_NE(card->flagView(), nullptr);
    EXPECT_TRUE(CGPointEqualToPoint(card->flagView()->frame().origin, CGPointMake(-4, 7)));

    // A bullet: its dot at 13, 8 wide; its text from 34, the width less 47.
    auto bullet = stacked.back();
    bullet->layoutIfNeeded();
    EXPECT_EQ(bullet->bulletView()->frame().origin.x, 13);
    EXPECT_EQ(bullet->bulletView()->frame().size.width, 8);
    EXPECT_EQ(bullet->label()->frame().origin.x, 34);
    EXPECT_EQ(bullet->label()->frame().size.width, 300 - 47);
    EXPECT_EQ(bullet->textWidthAfterPadding(), 300 - 47);
    EXPECT_EQ(stacked[0]->label()->textAlignment(), NSTextAlignmentCenter);
    EXPECT_EQ(stacked[1]->label()->textAlignment(), NSTextAlignmentLeft);
}

TEST_F(QZMessageViewTest, WithoutATitleOnePanelAndOverlayCardsAreBannerHigh)
{
    auto untitled = QZMessageView::messageViewWithMessage(message(solidDocument(false)));
    ASSERT_NE(untitled, nullptr);
    auto stacked = labels(*untitled->bodyView());
    ASSERT_EQ(stacked.size(), 4u);
    EXPECT_EQ(stacked[0]->frame().origin.y, 5);
    auto behind = panels(*untitled->bodyView());
    ASSERT_EQ(behind.size(), 1u);
    EXPECT_EQ(behind[0]->frame().origin.y, 0);

    auto overlay = QZMessageView::messageViewWithMessage(message(overlayDocument()));
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(CGSizeEqualToSize(overlay->sizeThatFits(CGSizeZero), CGSizeMake(300, 260)));
    overlay->sizeToFit();
    overlay->layoutIfNeeded();
    EXPECT_EQ(CGRectGetMaxY(overlay->bodyView()->frame()), 200) << "the box ends where the banner does";
    EXPECT_EQ(describe(overlay->dismissButton()->frame()), describe(CGRectMake(9, 9, 282, 42)));
    EXPECT_EQ(overlay->actionButton(), nullptr);
    EXPECT_EQ(overlay->flagView(), nullptr);
}

TEST_F(QZMessageViewTest, LabelFontsFollowTheTypeUnlessTheRunSetsASize)
{
    struct Case {
        QZMessageLabelType type;
        Value run;
        CGFloat size;
        bool bold;
    };
    const Case cases[] = {
        {QZMessageLabelTypeTitle, text("a"), 17, true},
        {QZMessageLabelTypeOverlayTitle, text("a"), 17, true},
        {QZMessageLabelTypeHeader, text("a"), 14, true},
        {QZMessageLabelTypeParagraph, text("a"), 14, false},
        {QZMessageLabelTypeBullet, text("a"), 14, false},
        {QZMessageLabelTypeParagraph, Value::dictionary({{"text", "a"}, {"fontSize", 20}}), 20, false},
        {QZMessageLabelTypeParagraph, Value::dictionary({{"text", "a"}, {"fontSize", 20}, {"isBold", true}}), 20, true},
        // Sizes from the service stay within 8 to 72; one that cannot be drawn takes the type's.
        {QZMessageLabelTypeParagraph, Value::dictionary({{"text", "a"}, {"fontSize", 60000}}), 72, false},
        {QZMessageLabelTypeParagraph, Value::dictionary({{"text", "a"}, {"fontSize", 2}}), 8, false},
        {QZMessageLabelTypeHeader, Value::dictionary({{"text", "a"}, {"fontSize", -5}}), 14, true},
    };
    auto context = manager()->contentPackManagedObjectContext();
    for (const Case& c : cases) {
        auto run = std::dynamic_pointer_cast<QZMessageText>(
            QZManagedObjectClass::classNamed("QZMessageText")->createInManagedObjectContext(*context));
        run->updateWithDictionary(c.run);
        auto label = QZMessageLabel::labelWithType(c.type, *run, 300);
        SCOPED_TRACE(static_cast<int>(c.type));
        EXPECT_EQ(label->defaultFont()->pointSize(), c.size);
        EXPECT_EQ(label->defaultFont()->fontName(),
                  (c.bold ? UIFont::boldSystemFontOfSize(c.size) : UIFont::systemFontOfSize(c.size))->fontName());
        EXPECT_TRUE(label->label()->textColor()->isEqual(*UIColor::whiteColor())) << "white without a colour";
    }
}

TEST_F(QZMessageViewTest, ATallerTranslationShrinksItsFontNeverBelowEight)
{
    // A bundle whose Portuguese table makes one paragraph three times as long, another thirty.
    const std::string bundle = sandbox.mainBundlePath() + "/TesselSDKResources.bundle";
    std::filesystem::remove_all(bundle);  // the fixture's links, not what they point at
    std::filesystem::copy(TESSEL_SDK_RESOURCES_BUNDLE_DIR, bundle, std::filesystem::copy_options::recursive);
    const std::string english = "Two new packs are waiting for you in the store.";
    std::string three, thirty;
    for (int i = 0; i < 30; ++i) (i < 3 ? three : thirty) += "Dois pacotes novos esperam por voce na loja. ";
    thirty += three;
    std::ofstream(bundle + "/pt.lproj/Localizable.strings", std::ios::app)
        << "\n\"" << english << "\" = \"" << three << "\";\n\"Forty stickers\" = \"" << thirty << "\";\n";
    QZSDKResources::unloadResources();
    PlatformSettings::setPreferredLanguages({"pt"});

    auto card = QZMessageView::messageViewWithMessage(message(solidDocument()));
    ASSERT_NE(card, nullptr);
    auto stacked = labels(*card->bodyView());
    ASSERT_EQ(stacked.size(), 5u);
    const CGFloat paragraph = stacked[2]->label()->font()->pointSize();
    EXPECT_LT(paragraph, 14);
    EXPECT_GE(paragraph, 8);
    EXPECT_EQ(stacked[2]->label()->text(), three);
    EXPECT_EQ(stacked[4]->label()->font()->pointSize(), 8) << "a text that never fits stops at 8";
    EXPECT_EQ(stacked[3]->label()->font()->pointSize(), 14) << "untranslated text keeps its font";
    // The label keeps the English text's height whatever its font.
    EXPECT_EQ(stacked[2]->frame().size.height, stacked[2]->sizeThatFits(CGSizeZero).height);
}

TEST_F(QZMessageViewTest, NoCardForAnUnknownStyleOrABannerThatDoesNotLoad)
{
    // A JPEG header claiming 10000 x 7000 pixels, beyond what a downloaded image may be.
    std::string huge = "\xFF\xD8\xFF\xC0";
    huge += std::string("\x00\x11\x08\x1B\x58\x27\x10\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 17);
    huge += "\xFF\xD9";
    struct Case {
        const char* name;
        Value document;
        std::optional<std::string> banner;
        const char* logged;
    };
    Value unknown = solidDocument();
    unknown.setObject("carousel", "layoutStyle");
    const Case cases[] = {
        {"unknown style", unknown, std::nullopt, "expected non-nil message class"},
        {"banner not an image", solidDocument(), std::string("<html>"), "does not load"},
        {"banner too large", solidDocument(), huge, "does not load"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NSLogCapture log;
        EXPECT_EQ(QZMessageView::messageViewWithMessage(message(c.document, c.banner)), nullptr);
        EXPECT_TRUE(log.contains("+[QZMessageView messageViewWithMessage:]"));
        EXPECT_TRUE(log.contains(c.logged));
    }
    auto missing = message(solidDocument());
    std::filesystem::remove(missing->bannerImagePath());
    EXPECT_EQ(QZMessageView::messageViewWithMessage(missing), nullptr);
    EXPECT_EQ(session->events.size(), 0u) << "nothing is presented";
}

TEST_F(QZMessageViewTest, TheButtonsWorkByTapsOnceTheCardHasComeIn)
{
    for (const bool action : {true, false}) {
        SCOPED_TRACE(action ? "action" : "dismiss");
        session->events.clear();
        auto record = message(solidDocument());
        auto card = QZMessageView::messageViewWithMessage(record);
        ASSERT_NE(card, nullptr);
        const auto before = window_->subviews();
        std::vector<std::string> heard;
        bool attachedWhenHeard = false;
        std::weak_ptr<QZMessageView> weakCard = card;
        card->setActionBlock([&, weakCard](const std::string& text) {
            heard.push_back(text);
            auto held = weakCard.lock();
            attachedWhenHeard = held && held->superview() != nullptr;
        });
        card->presentInView(window_);
        card.reset();
        const char* title = action ? "Show me" : "Later";
        // During the entrance no button hears a tap on it.
        driver_.advance(0.1);
        auto button = UITestDriver::visibleViewWithLabel(title);
        ASSERT_NE(button, nullptr);
        driver_.tap(*button);
        EXPECT_TRUE(heard.empty());
        EXPECT_EQ(session->events.size(), 1u) << "only the card's presentation";
        driver_.advance(0.15);
        ASSERT_TRUE(driver_.tapViewWithLabel(title));
        std::vector<std::string> names;
        for (const auto& [name, attributes] : session->events) names.push_back(name);
        EXPECT_EQ(names,
                  (std::vector<std::string>{"m1 Presented", action ? "m1 Action Pressed" : "m1 Dismiss Pressed"}));
        if (action) {
            EXPECT_EQ(heard, (std::vector<std::string>{"{\"action\":\"open\"}"}));
            EXPECT_TRUE(attachedWhenHeard) << "the block runs while the card leaves";
        } else {
            EXPECT_TRUE(heard.empty()) << "dismissing never calls the block";
        }
        EXPECT_TRUE(record->assetsRemoved());
        driver_.advance(0.25);
        EXPECT_EQ(window_->subviews(), before) << "card and dimmer are gone";
        EXPECT_EQ(heard.size(), action ? 1u : 0u);
    }
}

TEST_F(QZMessageViewTest, CardsAsDrawn)
{
    struct Case {
        const char* golden;
        Value document;
    };
    const Case cases[] = {{"message_card_solid.png", solidDocument()}, {"message_card_overlay.png", overlayDocument()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        auto host = UIView::viewWithFrame(CGRectMake(0, 0, 320, 480));
        host->setBackgroundColor(UIColor::colorWithWhite(0.5f, 1));
        auto card = QZMessageView::messageViewWithMessage(message(c.document));
        ASSERT_NE(card, nullptr);
        card->presentInView(host);
        driver_.advance(0.25);
        auto image = UIViewSnapshot(*host);
        ASSERT_TRUE(image);
        UIGoldenOutcome outcome = UICompareWithGolden(
            image->CGImage(), std::string(TESSEL_REMOTE_GOLDEN_DIR) + "/" + c.golden, ::testing::TempDir());
        if (outcome.updated) continue;
        EXPECT_TRUE(outcome.matches) << outcome.message;
    }
}

// A service paragraph of twenty thousand characters: the card is made, drawn and on the screen at
// once, its paragraph cut with an ellipsis to a third of the screen, its type untouched; the text is
// drawn (white glyphs over the dark panel). Before, the card took minutes: a shadow blurred over
// the whole tall label for every line, and the whole paragraph laid out again at every step.
TEST_F(QZMessageViewTest, AParagraphLongerThanTheScreenIsCutAndTheCardStillDraws)
{
    std::string words;
    while (words.size() < 20000) words += "Frames, stickers and new effects for every photo. ";
    Value document = solidDocument();
    document.setObject(text(words.c_str()), "paragraph");
    const CGRect screen = UIScreen::mainScreen()->bounds();
    auto host = UIView::viewWithFrame(screen);
    host->setBackgroundColor(UIColor::colorWithWhite(0.5f, 1));
    auto card = QZMessageView::messageViewWithMessage(message(document));
    ASSERT_NE(card, nullptr);
    auto stacked = labels(*card->bodyView());
    ASSERT_EQ(stacked.size(), 5u);
    const auto& paragraph = stacked[2];
    const std::string& shown = paragraph->label()->text();
    ASSERT_GE(shown.size(), 3u);
    EXPECT_LT(shown.size(), 6000u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "\u2026");
    EXPECT_EQ(words.compare(0, shown.size() - 3, shown, 0, shown.size() - 3), 0) << "the start, as it was";
    EXPECT_EQ(paragraph->label()->font()->pointSize(), 14);
    EXPECT_LE(paragraph->frame().size.height, UIScreen::mainScreen()->bounds().size.height / 3 + 1);

    card->presentInView(host);
    driver_.advance(0.25);
    auto image = UIViewSnapshot(*host);
    ASSERT_TRUE(image);
    // Light pixels inside the paragraph's frame on the card: its glyphs.
    const CGRect frame = paragraph->convertRectToView(paragraph->bounds(), host.get());
    const CGRect visible = CGRectIntersection(frame, host->bounds());
    ASSERT_FALSE(CGRectIsEmpty(visible));
    CGImageRef cg = image->CGImage();
    const std::size_t width = CGImageGetWidth(cg), height = CGImageGetHeight(cg);
    const std::uint8_t* pixels = CGImageGetBytes(cg);
    const std::size_t row = CGImageGetBytesPerRow(cg);
    const CGFloat scale = CGFloat(width) / host->bounds().size.width;
    std::size_t light = 0, all = 0;
    for (std::size_t y = std::size_t(CGRectGetMinY(visible) * scale);
         y < std::size_t(CGRectGetMaxY(visible) * scale) && y < height; ++y)
        for (std::size_t x = std::size_t(CGRectGetMinX(visible) * scale);
             x < std::size_t(CGRectGetMaxX(visible) * scale) && x < width; ++x) {
            const std::uint8_t* p = pixels + y * row + x * 4;
            light += p[0] > 200 && p[1] > 200 && p[2] > 200;
            ++all;
        }
    EXPECT_GT(double(light), 0.02 * double(all)) << "no text drawn in the paragraph";
}

// Banner, title, header and bullets around a long paragraph: the paragraph takes the room the
// others leave, so the whole card, its buttons included, lies on the screen. Before, the paragraph
// took its third of the screen whatever else the card held, and the buttons went off the bottom.
TEST_F(QZMessageViewTest, ALongParagraphLeavesTheCardAndItsButtonsOnTheScreen)
{
    std::string words;
    while (words.size() < 20000) words += "Frames, stickers and new effects for every photo. ";
    Value moreBullets = Value::array({});
    for (const char* bullet : {"Twelve frames", "Forty stickers", "Six effects", "A new font"})
        moreBullets.addObject(text(bullet));
    struct Case {
        const char* name;
        bool withTitle;
        Value bullets;
    };
    const Case cases[] = {{"title and two bullets", true, Value()},
                          {"no title", false, Value()},
                          {"title and four bullets", true, moreBullets}};
    const CGRect screen = UIScreen::mainScreen()->bounds();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Value document = solidDocument(c.withTitle);
        document.setObject(text(words.c_str()), "paragraph");
        if (!c.bullets.isNull()) document.setObject(c.bullets, "bullets");
        auto host = UIView::viewWithFrame(screen);
        auto card = QZMessageView::messageViewWithMessage(message(document));
        ASSERT_NE(card, nullptr);
        card->presentInView(host);
        driver_.advance(0.25);
        const CGRect frame = card->frame();
        EXPECT_TRUE(CGRectContainsRect(host->bounds(), frame)) << describe(frame);
        const CGRect buttons =
            card->buttonContainerView()->convertRectToView(card->buttonContainerView()->bounds(), host.get());
        EXPECT_TRUE(CGRectContainsRect(host->bounds(), buttons)) << describe(buttons);
        auto stacked = labels(*card->bodyView());
        bool cut = false;
        for (const auto& label : stacked)
            if (label->type() == QZMessageLabelTypeParagraph) {
                const std::string& shown = label->label()->text();
                cut = shown.size() >= 3 && shown.substr(shown.size() - 3) == "\u2026";
            }
        EXPECT_TRUE(cut) << "the paragraph was not cut";
    }
}
