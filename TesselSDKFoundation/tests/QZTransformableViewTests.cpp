// The transformable view and its handles, driven through touches.

#include "TesselSDKFoundation/QZTransformableView.h"
#include "TesselSDKFoundation/tests/QZWidgetTestSupport.h"

#include <cmath>

namespace {

class TwoHandles : public QZTransformableView {
public:
    using QZTransformableView::QZTransformableView;
    QZTransformableViewHandleMask handleMask() const override { return 5; }
};

class Listener : public QZTransformableViewDelegate {
public:
    std::vector<std::string> heard;
    void transformableViewDidBeginTransforming(QZTransformableView*) override { heard.push_back("begin"); }
    void transformableViewDidEndTransforming(QZTransformableView*) override { heard.push_back("end"); }
};

class QZTransformableViewTest : public QZWidgetTest {
protected:
    void SetUp() override
    {
        QZWidgetTest::SetUp();
        stage = UIView::viewWithFrame(CGRectMake(0, 0, 320, 480));
        stage->setBackgroundColor(UIColor::darkGrayColor());
        show(stage);
        view = UIView::viewWithFrame<QZTransformableView>(CGRectMake(100, 100, 120, 120));
        view->contentView()->setBackgroundColor(UIColor::colorWithRed(0.2f, 0.5f, 0.8f, 1));
        view->setDelegate(listener);
        view->setRotationEnabled(false);
        view->setCurrentScaleIsIdentity();
        stage->addSubview(view);
        view->layoutIfNeeded();
        driver->turn();
    }
    // The window point of a handle's centre.
    CGPoint handlePoint(size_t i) const { return UITestDriver::windowPoint(*view->handles()[i]); }

    std::shared_ptr<UIView> stage;
    std::shared_ptr<QZTransformableView> view;
    std::shared_ptr<Listener> listener = std::make_shared<Listener>();
};

TEST_F(QZTransformableViewTest, HandlesSitOnTheInsetCornersOfTheMask)
{
    ASSERT_EQ(view->handles().size(), 4u);
    EXPECT_TRUE(RectNear(view->contentView()->frame(), CGRectMake(12, 12, 96, 96)));
    const CGRect frames[] = {CGRectMake(-10, -10, 44, 44), CGRectMake(86, -10, 44, 44), CGRectMake(86, 86, 44, 44),
                             CGRectMake(-10, 86, 44, 44)};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(RectNear(view->handles()[i]->frame(), frames[i]));
        EXPECT_EQ(view->handles()[i]->handleMask(), QZTransformableViewHandleMask(1u << i));
    }
    auto two = UIView::viewWithFrame<TwoHandles>(CGRectMake(0, 0, 120, 120));
    ASSERT_EQ(two->handles().size(), 2u);
    EXPECT_EQ(two->handles()[0]->handleMask(), QZTransformableViewHandleTopLeft);
    EXPECT_EQ(two->handles()[1]->handleMask(), QZTransformableViewHandleBottomRight);
}

TEST_F(QZTransformableViewTest, DraggingTheContentMovesItWithinTheSuperview)
{
    driver->drag({CGPointMake(160, 160), CGPointMake(200, 180)}, 0.3);
    EXPECT_NEAR(view->center().x, 200, 0.5);
    EXPECT_NEAR(view->center().y, 180, 0.5);
    EXPECT_FALSE(view->isDragging());
    driver->drag({CGPointMake(200, 180), CGPointMake(600, 180)}, 0.3);
    EXPECT_NEAR(view->center().x, 320, 0.01);  // on the edge
    view->setDraggingEnabled(false);
    driver->drag({CGPointMake(300, 180), CGPointMake(100, 180)}, 0.3);
    EXPECT_NEAR(view->center().x, 320, 0.01);
}

TEST_F(QZTransformableViewTest, AHandleResizesUniformlyWithinTheLimitsAndTheScaleFollowsTheBounds)
{
    view->setMaxSize(CGSizeMake(150, 150));
    CGPoint corner = handlePoint(2);
    driver->touchDown(1, corner);
    EXPECT_TRUE(view->isTransforming());
    for (int step = 1; step <= 10; ++step) driver->touchMove(1, CGPointMake(corner.x + 2 * step, corner.y + 2 * step));
    CGFloat grown = view->bounds().size.width;
    EXPECT_GT(grown, 125);
    EXPECT_NEAR(view->bounds().size.height, grown, 0.01);
    EXPECT_NEAR(view->currentScale(), grown / 120, 0.001);
    // Far past the largest size: the bounds stop within it, and so does the scale.
    for (int step = 1; step <= 20; ++step)
        driver->touchMove(1, CGPointMake(corner.x + 20 + 10 * step, corner.y + 20 + 10 * step));
    EXPECT_LE(view->bounds().size.width, 150);
    EXPECT_NEAR(view->currentScale(), view->bounds().size.width / 120, 0.001);
    // Back in past the smallest.
    for (int step = 1; step <= 20; ++step) driver->touchMove(1, CGPointMake(corner.x - 8 * step, corner.y - 8 * step));
    EXPECT_GE(view->bounds().size.width, 44);
    EXPECT_NEAR(view->currentScale(), view->bounds().size.width / 120, 0.001);
    driver->touchUp(1, CGPointMake(corner.x - 160, corner.y - 160));
    EXPECT_FALSE(view->isTransforming());
    EXPECT_NEAR(view->center().x, 160, 0.01);  // the centre stays
    EXPECT_FALSE(view->isNewSizeValid(CGSizeMake(NAN, 60)));
    EXPECT_FALSE(view->isNewSizeValid(CGSizeMake(60, NAN)));
}

TEST_F(QZTransformableViewTest, FreeResizeMovesTheCornerOfTheHandle)
{
    struct Row {
        size_t handle;
        CGRect frame;
        QZCGRectCorner anchor;
    };
    const Row rows[] = {
        {0, CGRectMake(110, 105, 110, 115), QZCGRectBottomRightCorner},
        {1, CGRectMake(100, 105, 130, 115), QZCGRectBottomLeftCorner},
        {2, CGRectMake(100, 100, 130, 125), QZCGRectTopLeftCorner},
        {3, CGRectMake(110, 100, 110, 125), QZCGRectTopRightCorner},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.handle);
        view->setFrame(CGRectMake(100, 100, 120, 120));
        view->layoutIfNeeded();
        view->setAllowsFreeTransform(true);
        CGPoint at = handlePoint(row.handle);
        driver->touchDown(1, at);
        driver->touchMove(1, CGPointMake(at.x + 10, at.y + 5));
        driver->touchUp(1, CGPointMake(at.x + 10, at.y + 5));
        EXPECT_TRUE(RectNear(view->frame(), row.frame));
        EXPECT_TRUE(RectNear(view->transformationRect(), row.frame));
        EXPECT_EQ(view->transformationAnchor(), row.anchor);
    }
}

TEST_F(QZTransformableViewTest, AFingerOnAHandleMarksTransformingAndTellsTheDelegate)
{
    std::vector<std::string> announced;
    view->addObserverForKey("transforming",
                            [&](const std::string&, bool prior) { announced.push_back(prior ? "will" : "did"); });
    driver->tap(handlePoint(1));
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"begin", "end"}));
    EXPECT_EQ(announced, (std::vector<std::string>{"will", "did", "will", "did"}));
    EXPECT_FALSE(view->isTransforming());
}

TEST_F(QZTransformableViewTest, TurningFollowsTheFingerOffTheDiagonal)
{
    view->setRotationEnabled(true);
    CGPoint corner = handlePoint(2);
    driver->touchDown(1, corner);
    driver->touchMove(1, CGPointMake(corner.x + 10, corner.y + 10));  // along the diagonal
    EXPECT_NEAR(view->rotation(), 0, 1e-5);
    EXPECT_GT(view->bounds().size.width, 120);
    driver->touchMove(1, CGPointMake(corner.x + 10, corner.y + 40));  // below it
    EXPECT_GT(view->rotation(), 0.1);
    driver->touchUp(1, CGPointMake(corner.x + 10, corner.y + 40));
}

TEST_F(QZTransformableViewTest, WithInteractionOffHandlesAndContentStillAnswerAndMarginsFallThrough)
{
    view->setUserInteractionEnabled(false);
    struct Row {
        const char* name;
        CGPoint point;  // window
        std::function<std::shared_ptr<UIView>()> expected;
    };
    const Row rows[] = {
        {"a handle", handlePoint(0), [&] { return std::shared_ptr<UIView>(view->handles()[0]); }},
        {"the content", CGPointMake(160, 160), [&] { return std::shared_ptr<UIView>(view->contentView()); }},
        {"a margin between handles", CGPointMake(160, 103), [&] { return stage; }},
        {"outside", CGPointMake(10, 400), [&] { return stage; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(window->hitTest(row.point, nullptr), row.expected());
    }
    driver->touchDown(1, handlePoint(0));
    EXPECT_TRUE(view->isTransforming());
    driver->touchUp(1, handlePoint(0));
}

TEST_F(QZTransformableViewTest, LooksAsReviewed)
{
    expectGolden(*stage, "QZTransformableView_normal");
    for (const auto& handle : view->handles()) handle->setHandleType(QZScalableViewHandleTypeResize);
    expectGolden(*stage, "QZTransformableView_resize");
}

}  // namespace
