#include "QuartzCore/CALayer.h"

#include "Dispatch/DispatchClock.h"
#include "Foundation/NSValue.h"

#include <gtest/gtest.h>

namespace {

class Recorder : public CAAnimationDelegate {
public:
    void animationDidStart(CAAnimation*) override { events.push_back("start"); }
    void animationDidStopFinished(CAAnimation*, bool finished) override
    {
        events.push_back(finished ? "stop:YES" : "stop:NO");
    }
    std::vector<std::string> events;
};

class CAAnimationTest : public ::testing::Test {
protected:
    void SetUp() override { DispatchClock::useVirtualTime(true); }
    void TearDown() override { DispatchClock::useVirtualTime(false); }
};

TEST_F(CAAnimationTest, PresentationFollowsTheCurveWhileTheModelStaysPut)
{
    auto layer = CALayer::layer();
    auto fade = CABasicAnimation::animationWithKeyPath("opacity");
    fade->setFromValue(0.0);
    fade->setToValue(1.0);
    fade->setDuration(1);
    layer->addAnimation(fade, "fade");
    double t0 = CACurrentMediaTime();
    EXPECT_NEAR(layer->presentationValueForKeyPath("opacity", t0 + 0.5).doubleValue(), 0.5, 1e-9);
    fade->setTimingFunction(CAMediaTimingFunction::functionWithName(kCAMediaTimingFunctionEaseInEaseOut));
    EXPECT_NEAR(layer->presentationValueForKeyPath("opacity", t0 + 0.5).doubleValue(), 0.5, 1e-6);  // symmetric
    EXPECT_LT(layer->presentationValueForKeyPath("opacity", t0 + 0.2).doubleValue(), 0.2);
    EXPECT_EQ(layer->opacity(), 1.0f);

    auto move = CABasicAnimation::animationWithKeyPath("position");
    move->setToValue(NSValue::valueWithCGPoint(CGPointMake(100, 40)));
    move->setDuration(2);
    layer->addAnimation(move, "move");  // from: the presentation value now
    CGPoint mid = layer->presentationValueForKeyPath("position", t0 + 1).object<NSValue>()->CGPointValue();
    EXPECT_FLOAT_EQ(mid.x, 50);
    EXPECT_FLOAT_EQ(mid.y, 20);
    EXPECT_FLOAT_EQ(layer->presentationLayer()->position().x, 0);
}

TEST_F(CAAnimationTest, DelegateHearsTheEndOnlyFromATickAfterTheDurationAndNOWhenRemovedEarly)
{
    auto layer = CALayer::layer();
    auto recorder = std::make_shared<Recorder>();
    auto full = CABasicAnimation::animationWithKeyPath("opacity");
    full->setDuration(0.5);
    full->setDelegate(recorder);
    layer->addAnimation(full, "a");
    EXPECT_TRUE(recorder->events.empty());
    CAAnimationTick();
    EXPECT_EQ(recorder->events, std::vector<std::string>{"start"});
    DispatchClock::advance(0.49);
    CAAnimationTick();
    EXPECT_EQ(recorder->events.size(), 1u);
    DispatchClock::advance(0.02);
    CAAnimationTick();
    EXPECT_EQ(recorder->events.back(), "stop:YES");
    EXPECT_FALSE(layer->animationForKey("a"));

    recorder->events.clear();
    auto early = CABasicAnimation::animationWithKeyPath("opacity");
    early->setDelegate(recorder);
    layer->addAnimation(early, "b");
    CAAnimationTick();
    auto replacement = CABasicAnimation::animationWithKeyPath("opacity");
    layer->addAnimation(replacement, "b");                           // replaces: the first stops, not finished
    EXPECT_EQ(recorder->events, std::vector<std::string>{"start"});  // not inside the call
    CAAnimationTick();
    EXPECT_EQ(recorder->events, (std::vector<std::string>{"start", "stop:NO"}));
    EXPECT_EQ(layer->animationForKey("b"), replacement);
}

}  // namespace
