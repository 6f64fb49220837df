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

namespace {

double opacityAt(const std::shared_ptr<CALayer>& layer, double time)
{
    return layer->presentationValueForKeyPath("opacity", time).doubleValue();
}

}  // namespace

TEST_F(CAAnimationTest, KeyFramesShowEachValueAtItsKeyTimeAndInterpolateBetween)
{
    struct Case {
        const char* name;
        std::vector<double> keyTimes;
        const char* mode;
        // (fraction of the duration, opacity shown)
        std::vector<std::pair<double, double>> expected;
    };
    const Case cases[] = {
        {"key times", {0, 0.25, 1}, kCAAnimationLinear, {{0, 0}, {0.125, 0.5}, {0.25, 1}, {0.625, 0.6}, {1, 0.2}}},
        {"evenly spaced without key times", {}, kCAAnimationLinear, {{0.25, 0.5}, {0.5, 1}, {0.75, 0.6}}},
        {"key times of another count", {0, 1}, kCAAnimationCubicPaced, {{0.25, 0.5}, {0.5, 1}}},
        {"discrete holds the earlier value", {0, 0.25, 1}, kCAAnimationDiscrete,
         {{0, 0}, {0.2, 0}, {0.25, 1}, {0.99, 1}, {1, 0.2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto layer = CALayer::layer();
        auto frames = CAKeyframeAnimation::animationWithKeyPath("opacity");
        frames->setValues({0.0, 1.0, 0.2});
        frames->setKeyTimes(c.keyTimes);
        frames->setCalculationMode(c.mode);
        frames->setDuration(2);
        layer->addAnimation(frames, "frames");
        const double t0 = frames->beginTime();
        for (const auto& [fraction, opacity] : c.expected)
            EXPECT_NEAR(opacityAt(layer, t0 + 2 * fraction), opacity, 1e-6) << "at " << fraction;
        EXPECT_EQ(layer->opacity(), 1.0f) << "the model value is untouched";
    }
}

TEST_F(CAAnimationTest, KeyFramesEndAndReportAsBasicAnimationsDo)
{
    auto layer = CALayer::layer();
    layer->setOpacity(0.5f);
    auto recorder = std::make_shared<Recorder>();
    auto frames = CAKeyframeAnimation::animationWithKeyPath("opacity");
    frames->setValues({0.0, 1.0});
    frames->setDuration(0.5);
    frames->setDelegate(recorder);
    layer->addAnimation(frames, "frames");
    const double t0 = frames->beginTime();
    DispatchClock::advance(0.6);
    CAAnimationTick();
    EXPECT_EQ(recorder->events, (std::vector<std::string>{"start", "stop:YES"}));
    EXPECT_TRUE(layer->animationKeys().empty());
    EXPECT_DOUBLE_EQ(opacityAt(layer, t0 + 0.6), 0.5) << "removed: the model value shows";

    auto replaced = std::make_shared<Recorder>();
    auto first = CAKeyframeAnimation::animationWithKeyPath("opacity");
    first->setValues({0.0, 1.0});
    first->setDelegate(replaced);
    layer->addAnimation(first, "frames");
    layer->addAnimation(CAKeyframeAnimation::animationWithKeyPath("opacity"), "frames");
    CAAnimationTick();
    EXPECT_EQ(replaced->events, (std::vector<std::string>{"start", "stop:NO"}));
}

TEST_F(CAAnimationTest, AnAutoreversingAnimationRepeatedForEverBlinksAndNeverEnds)
{
    auto layer = CALayer::layer();
    auto recorder = std::make_shared<Recorder>();
    auto blink = CAKeyframeAnimation::animationWithKeyPath("opacity");
    blink->setValues({1.0, 0.0});
    blink->setCalculationMode(kCAAnimationDiscrete);
    blink->setKeyTimes({0, 0.5});
    blink->setDuration(0.5);
    blink->setAutoreverses(true);
    blink->setRepeatCount(HUGE_VALF);
    blink->setDelegate(recorder);
    layer->addAnimation(blink, "opacity");
    const double t0 = blink->beginTime();
    // Forwards: 1 for the first quarter second, then 0; backwards: 0, then 1 again.
    const std::pair<double, double> expected[] = {{0.1, 1}, {0.3, 0}, {0.6, 0}, {0.9, 1}, {1.1, 1}, {1.3, 0}, {100.9, 1}};
    for (const auto& [at, opacity] : expected) EXPECT_EQ(opacityAt(layer, t0 + at), opacity) << "at " << at;
    DispatchClock::advance(1000);
    CAAnimationTick();
    EXPECT_EQ(recorder->events, std::vector<std::string>{"start"});
    EXPECT_TRUE(CAAnimationsPending());
    layer->removeAllAnimations();
    CAAnimationTick();
    EXPECT_EQ(recorder->events, (std::vector<std::string>{"start", "stop:NO"}));
}

TEST_F(CAAnimationTest, AFiniteRepeatCountEndsWhereItsLastCycleStops)
{
    auto layer = CALayer::layer();
    auto basic = CABasicAnimation::animationWithKeyPath("opacity");
    basic->setFromValue(0.0);
    basic->setToValue(1.0);
    basic->setDuration(1);
    basic->setRepeatCount(2.5f);
    basic->setFillMode(kCAFillModeForwards);
    basic->setRemovedOnCompletion(false);
    layer->addAnimation(basic, "a");
    const double t0 = basic->beginTime();
    EXPECT_DOUBLE_EQ(basic->activeDuration(), 2.5);
    EXPECT_NEAR(opacityAt(layer, t0 + 1.25), 0.25, 1e-9);
    EXPECT_NEAR(opacityAt(layer, t0 + 3), 0.5, 1e-9) << "held where the half cycle stopped";

    basic->setRepeatCount(0);
    basic->setAutoreverses(true);
    EXPECT_DOUBLE_EQ(basic->activeDuration(), 2);
    EXPECT_NEAR(opacityAt(layer, t0 + 1.5), 0.5, 1e-9);
    EXPECT_NEAR(opacityAt(layer, t0 + 5), 0, 1e-9) << "an autoreversed cycle ends at its start";
}

TEST_F(CAAnimationTest, AGroupPlaysItsChildrenFromItsOwnStartWithinItsDuration)
{
    auto layer = CALayer::layer();
    auto scale = CAKeyframeAnimation::animationWithKeyPath("transform");
    scale->setValues({NSValue::valueWithCATransform3D(CATransform3DMakeScale(0.5f, 0.5f, 1)),
                      NSValue::valueWithCATransform3D(CATransform3DMakeScale(1.5f, 1.5f, 1)),
                      NSValue::valueWithCATransform3D(CATransform3DIdentity)});
    scale->setDuration(0.4);
    auto fade = CABasicAnimation::animationWithKeyPath("opacity");
    fade->setFromValue(0.0);
    fade->setToValue(1.0);
    fade->setDuration(1);  // longer than the group: cut at 0.4 s
    fade->setBeginTime(0.2);
    auto group = CAAnimationGroup::animation();
    group->setAnimations({scale, fade});
    group->setDuration(0.4);
    layer->addAnimation(group, "pop");
    const double t0 = group->beginTime();
    auto scaleAt = [&](double at) {
        return layer->presentationValueForKeyPath("transform", t0 + at).object<NSValue>()->CATransform3DValue().m11;
    };
    EXPECT_NEAR(scaleAt(0), 0.5, 1e-6);
    EXPECT_NEAR(scaleAt(0.2), 1.5, 1e-6);
    EXPECT_NEAR(scaleAt(0.3), 1.25, 1e-6);
    EXPECT_NEAR(opacityAt(layer, t0 + 0.1), 0, 1e-9) << "the child has not begun";
    EXPECT_NEAR(opacityAt(layer, t0 + 0.3), 0.1, 1e-6);
    DispatchClock::advance(0.5);
    CAAnimationTick();
    EXPECT_TRUE(layer->animationKeys().empty());
    EXPECT_NEAR(opacityAt(layer, t0 + 0.5), 1, 1e-9) << "gone: the model value";
    EXPECT_FLOAT_EQ(layer->presentationLayer()->transform().m11, 1);
}
