// The focus guide as a person sees it: the overlay over a black backdrop, snapshotted at scale 2,
// with white where the ring, the centre mark or the band's edges run and black elsewhere; touches
// on the overlay reach its delegate, cancelled ones do not.
#include "TesselSDK/shell/tests/QZShellTestSupport.h"
#include "TesselSDK/shell/tests/QZPhotoEditorReplaySupport.h"
#include "TesselSDK/tools/QZTiltShiftOverlayView.h"

#include <cmath>

namespace {

using qz_test::Pixels;

constexpr CGFloat kWidth = 320;
constexpr CGFloat kHeight = 240;
constexpr CGFloat kScale = 2;
const CGPoint kCentre = CGPointMake(160, 120);
constexpr CGFloat kRadius = 50;

bool isWhite(const std::array<std::uint8_t, 4>& p)
{
    return p[0] > 200 && p[1] > 200 && p[2] > 200;
}
bool isBlack(const std::array<std::uint8_t, 4>& p)
{
    return p[0] < 30 && p[1] < 30 && p[2] < 30;
}

// Hears the touches the overlay passes on.
struct TouchRecorder : QZTiltShiftOverlayViewDelegate {
    int down = 0;
    int up = 0;
    void tiltShiftOverlayTouchedDown(QZTiltShiftOverlayView*) override { ++down; }
    void tiltShiftOverlayTouchedUp(QZTiltShiftOverlayView*) override { ++up; }
};

class QZTiltShiftOverlayViewTest : public QZShellTest {
protected:
    void SetUp() override
    {
        QZShellTest::SetUp();
        PlatformSettings::setScreenScale(kScale);
        backdrop_ = UIView::viewWithFrame(CGRectMake(0, 0, kWidth, kHeight));
        backdrop_->setBackgroundColor(UIColor::blackColor());
        window_->addSubview(backdrop_);
        overlay_ = UIView::viewWithFrame<QZTiltShiftOverlayView>(backdrop_->bounds());
        backdrop_->addSubview(overlay_);
    }

    // The zone set as the screen sets it: store, then ask for the guide.
    void showZone(QZTiltShiftStyle style, CGFloat rotation)
    {
        overlay_->setTiltShiftStyle(style);
        overlay_->setTiltShiftCenter(kCentre);
        overlay_->setRadius(kRadius);
        overlay_->setRotation(rotation);
        overlay_->updateGuide();
        driver_.turn();
        shot_ = qz_test::pixelsOf(UITestDriver::snapshot(*backdrop_));
        ASSERT_EQ(shot_.width, std::size_t(kWidth * kScale));
    }
    // The snapshot's pixel under a point of the overlay.
    std::array<std::uint8_t, 4> at(CGPoint point) const
    {
        return shot_.at(std::size_t(std::lround(point.x * kScale)), std::size_t(std::lround(point.y * kScale)));
    }
    static CGPoint along(CGPoint from, CGFloat angle, CGFloat distance)
    {
        return CGPointMake(from.x + distance * std::cos(angle), from.y + distance * std::sin(angle));
    }

    std::shared_ptr<UIView> backdrop_;
    std::shared_ptr<QZTiltShiftOverlayView> overlay_;
    Pixels shot_;
};

TEST_F(QZTiltShiftOverlayViewTest, RadialGuideIsARingWithACentreMark)
{
    showZone(QZTiltShiftStyleRadial, 0);
    for (int degrees = 0; degrees < 360; degrees += 15) {
        SCOPED_TRACE(::testing::Message() << degrees << " degrees");
        const CGFloat angle = CGFloat(degrees) * CGFloat(M_PI) / 180;
        EXPECT_TRUE(isWhite(at(along(kCentre, angle, kRadius)))) << "no ring at the radius";
        EXPECT_TRUE(isBlack(at(along(kCentre, angle, kRadius + 6)))) << "the ring is wider than its line";
        EXPECT_TRUE(isBlack(at(along(kCentre, angle, kRadius - 6)))) << "the ring is wider than its line";
    }
    // The mark: a ring of 2 % of the longer side (6.4), and ticks from it out to 1.5 times that.
    const CGFloat k = 0.02f * kWidth;
    for (const CGFloat angle : {CGFloat(0.3), CGFloat(2.0), CGFloat(4.0)})
        EXPECT_TRUE(isWhite(at(along(kCentre, angle, k)))) << "no centre ring at " << angle;
    for (int quarter = 0; quarter < 4; ++quarter) {
        SCOPED_TRACE(::testing::Message() << "tick " << quarter);
        const CGFloat angle = CGFloat(quarter) * CGFloat(M_PI) / 2;
        EXPECT_TRUE(isWhite(at(along(kCentre, angle, 1.3f * k))));
        EXPECT_TRUE(isBlack(at(along(kCentre, angle, 1.5f * k + 4))));
    }
    // Between the mark and the ring the photo shows through.
    for (const CGFloat distance : {CGFloat(18), CGFloat(30), CGFloat(40)})
        for (const CGFloat angle : {CGFloat(M_PI / 4), CGFloat(3 * M_PI / 4), CGFloat(-M_PI / 4)})
            EXPECT_TRUE(isBlack(at(along(kCentre, angle, distance)))) << distance << " from the centre";
}

TEST_F(QZTiltShiftOverlayViewTest, LinearGuideIsTheBandsTwoEdgesAcrossTheView)
{
    for (const CGFloat a : {CGFloat(M_PI / 4), CGFloat(M_PI / 6)}) {
        SCOPED_TRACE(::testing::Message() << "rotation " << a);
        showZone(QZTiltShiftStyleLinear, a);
        const CGPoint normal = CGPointMake(-std::sin(a), std::cos(a));
        for (const int side : {-1, 1}) {
            const CGPoint edge = CGPointMake(kCentre.x + CGFloat(side) * kRadius * normal.x,
                                             kCentre.y + CGFloat(side) * kRadius * normal.y);
            // Along the whole edge inside the view, whatever the angle.
            for (const CGFloat t : {CGFloat(-150), CGFloat(-60), CGFloat(0), CGFloat(60), CGFloat(150)}) {
                const CGPoint point = along(edge, a, t);
                if (!CGRectContainsPoint(CGRectMake(2, 2, kWidth - 4, kHeight - 4), point)) continue;
                SCOPED_TRACE(::testing::Message() << "side " << side << ", " << t << " along");
                EXPECT_TRUE(isWhite(at(point)));
            }
        }
        // Inside the band, and the centre: no mark on the linear guide.
        for (const CGFloat d : {CGFloat(0), CGFloat(25), CGFloat(-25), CGFloat(kRadius + 10)})
            EXPECT_TRUE(isBlack(at(CGPointMake(kCentre.x + d * normal.x, kCentre.y + d * normal.y)))) << d;
    }
}

TEST_F(QZTiltShiftOverlayViewTest, TouchesReachTheDelegateUnlessCancelled)
{
    auto recorder = std::make_shared<TouchRecorder>();
    overlay_->setDelegate(recorder);
    const CGPoint point = UITestDriver::windowPoint(*overlay_, CGPointMake(40, 40));
    driver_.touchDown(1, point);
    EXPECT_EQ(recorder->down, 1);
    EXPECT_EQ(recorder->up, 0);
    driver_.touchUp(1, point);
    EXPECT_EQ(recorder->up, 1);

    driver_.touchDown(2, point);
    driver_.touchCancel(2, point);
    EXPECT_EQ(recorder->down, 2);
    EXPECT_EQ(recorder->up, 1) << "a cancelled touch was taken for a lift";
}

}  // namespace
