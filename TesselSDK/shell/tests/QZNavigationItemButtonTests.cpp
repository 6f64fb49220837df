// The themed bar button: its size, where its background and title sit on each system, its
// images per style, and its colours read from the theme without complaint.

#include "Foundation/NSLogCapture.h"
#include "QZShellTestSupport.h"
#include "TesselSDK/shell/QZNavigationItemButton.h"
#include "UIKit/UIStringDrawing.h"

namespace {

using QZNavigationItemButtonTest = QZShellTest;

TEST_F(QZNavigationItemButtonTest, SizeFollowsTheTitleWithAFloorPerStyle)
{
    const std::string longTitle = "Apply the whole edit";
    auto probe = QZNavigationItemButton::buttonWithTitle(longTitle, QZNavigationItemButtonStyleApply);
    auto font = probe->titleLabel()->font();
    ASSERT_EQ(font->fontName(), UIFont::boldSystemFontOfSize(12)->fontName());
    ASSERT_EQ(font->pointSize(), 12);
    const CGFloat longWidth = sizeWithFont(longTitle, font).width;
    ASSERT_GT(longWidth, 40);  // long enough to widen the button

    struct Case {
        QZNavigationItemButtonStyle style;
        std::string title;
        CGFloat width;
    };
    for (const Case& c :
         {Case{QZNavigationItemButtonStyleCancel, "", 56}, Case{QZNavigationItemButtonStyleGalleryCamera, "", 44},
          Case{QZNavigationItemButtonStyleApply, "OK", 56},
          Case{QZNavigationItemButtonStyleBack, longTitle, longWidth + 16},
          Case{QZNavigationItemButtonStyleGalleryCamera, longTitle, longWidth + 16}}) {
        SCOPED_TRACE(std::to_string(c.style) + " '" + c.title + "'");
        auto button = QZNavigationItemButton::buttonWithTitle(c.title, c.style);
        EXPECT_TRUE(CGSizeEqualToSize(button->bounds().size, CGSizeMake(c.width, 30)));
        EXPECT_EQ(button->title(), c.title);
    }
}

TEST_F(QZNavigationItemButtonTest, TheBackgroundLeansOutwardsFromSystemVersion7)
{
    struct Case {
        QZNavigationItemButtonStyle style;
        const char* systemVersion;
        bool usingOldSDK;
        CGFloat shift;
    };
    const std::vector<Case> cases{
        {QZNavigationItemButtonStyleApply, "7.0", false, 10},
        {QZNavigationItemButtonStyleRestore, "7.0", false, 10},
        {QZNavigationItemButtonStyleCancel, "7.0", false, -10},
        {QZNavigationItemButtonStyleBack, "7.0", false, -10},
        {QZNavigationItemButtonStyleCameraCancel, "7.1", false, -10},
        {QZNavigationItemButtonStyleGalleryCamera, "7.0", false, -10},
        {QZNavigationItemButtonStyleApply, "6.1", false, 0},
        {QZNavigationItemButtonStyleBack, "6.1", false, 0},
        {QZNavigationItemButtonStyleApply, "7.0", true, 0},
        {QZNavigationItemButtonStyleCancel, "7.0", true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.style) + " on " + c.systemVersion + (c.usingOldSDK ? " with the old SDK" : ""));
        PlatformSettings::setSystemVersion(c.systemVersion);
        QZPhotoEditorCustomization::setOptionValue(c.usingOldSDK, "editor.usingIOS6SDK");
        auto button = QZNavigationItemButton::buttonWithTitle("Done", c.style);
        const CGRect expected = CGRectOffset(button->bounds(), c.shift, 0);
        EXPECT_TRUE(CGRectEqualToRect(button->imageView()->frame(), expected));
        if (button->iconView()) {
            EXPECT_TRUE(CGRectEqualToRect(button->iconView()->frame(), expected));
        }
        CGRect title = expected;
        if (c.style == QZNavigationItemButtonStyleBack) title.origin.x += 5, title.size.width -= 5;
        EXPECT_TRUE(CGRectEqualToRect(button->titleLabel()->frame(), title));
    }
}

TEST_F(QZNavigationItemButtonTest, EachStyleHasItsImagesAndColoursWithoutComplaint)
{
    NSLogCapture log;
    for (QZNavigationItemButtonStyle style = 0; style <= QZNavigationItemButtonStyleGalleryCamera; ++style) {
        SCOPED_TRACE(style);
        auto button = QZNavigationItemButton::buttonWithTitle("Edit", style);
        ASSERT_TRUE(button->imageView()->image());
        ASSERT_TRUE(button->imageView()->highlightedImage());
        EXPECT_EQ(button->iconView() != nullptr, style == QZNavigationItemButtonStyleGalleryCamera);
        EXPECT_FALSE(button->isOpaque());
        EXPECT_FALSE(button->backgroundColor());
        // A pressed button shows its pressed look.
        button->setHighlighted(true);
        EXPECT_TRUE(button->imageView()->isHighlighted());
        EXPECT_TRUE(button->titleLabel()->isHighlighted());
    }
    auto apply = QZNavigationItemButton::buttonWithTitle("Done", QZNavigationItemButtonStyleApply);
    auto restore = QZNavigationItemButton::buttonWithTitle("Restore", QZNavigationItemButtonStyleRestore);
    EXPECT_TRUE(apply->titleLabel()->highlightedTextColor()->isEqual(
        *QZPhotoEditorCustomization::colorOptionValueForKey("editor.applyButtonHighlightedTextColor")));
    EXPECT_TRUE(restore->titleLabel()->textColor()->isEqual(
        *QZPhotoEditorCustomization::colorOptionValueForKey("editor.applyButtonDefaultTextColor")));
    EXPECT_TRUE(log.lines().empty()) << log.lines().front();

    // The camera icon sits in the gallery style's button; a style past the table has no image.
    EXPECT_TRUE(
        QZNavigationItemButton::buttonWithTitle("", QZNavigationItemButtonStyleGalleryCamera)->iconView()->image());
    EXPECT_FALSE(QZNavigationItemButton::defaultImageForStyle(7));
    EXPECT_FALSE(QZNavigationItemButton::highlightedImageForStyle(7));
    auto back = QZNavigationItemButton::defaultImageForStyle(QZNavigationItemButtonStyleBack);
    EXPECT_EQ(back->capInsets().left, 14);
    EXPECT_EQ(back->capInsets().right, 10);
}

TEST_F(QZNavigationItemButtonTest, ATargetHearsEachTapInside)
{
    struct Target {
        int taps = 0;
        void tapped(QZNavigationItemButton*) { ++taps; }
    };
    auto target = std::make_shared<Target>();
    auto button =
        QZNavigationItemButton::buttonWithTitle("Done", QZNavigationItemButtonStyleApply, target, &Target::tapped);
    button->setCenter(CGPointMake(160, 240));
    window_->addSubview(button);
    driver_.tap(*button, 1);
    driver_.advance(0.4);
    driver_.tap(*button, 1);
    EXPECT_EQ(target->taps, 2);
}

}  // namespace
