// The focus scripts of examples/scripts played on the photo through the built tessel_editor and
// in-process: the sharp zone stays as it was and the rest blurs, the session records the zone the
// person saw in the preview's mask space, the style travels with every event, and both the
// full-size result and what the person saw equal replays of the closed session.
#include "QZToolScriptsSupport.h"

#include "TesselSDKImaging/Processors/QZTiltShiftProcessor.h"

#include <map>

namespace tool_scripts {
namespace {

// The part of the picture from (x, y), w x h pixels.
Pixels region(const Pixels& image, std::size_t x, std::size_t y, std::size_t w, std::size_t h)
{
    return qz_test::makePixels(w, h, [&](std::size_t i, std::size_t j) { return image.at(x + i, y + j); });
}

// The middle 10 % box is unchanged; each corner box of 10 % of the sides has at most `factor` of its
// texture left.
void expectCentreSharpCornersSoft(const Pixels& input, const Pixels& output, double factor)
{
    ASSERT_TRUE(sameSize(output, input));
    const std::size_t w = input.width / 10, h = input.height / 10;
    const std::size_t x0 = (input.width - w) / 2, y0 = (input.height - h) / 2;
    EXPECT_LT(meanAbsoluteDifference(region(output, x0, y0, w, h), region(input, x0, y0, w, h)), 2)
        << "the middle is not sharp";
    const std::pair<std::size_t, std::size_t> corners[] = {
        {0, 0}, {input.width - w, 0}, {0, input.height - h}, {input.width - w, input.height - h}};
    for (const auto& [x, y] : corners) {
        SCOPED_TRACE(::testing::Message() << "corner box at " << x << ", " << y);
        EXPECT_LE(meanGradient(region(output, x, y, w, h)), factor * meanGradient(region(input, x, y, w, h)));
    }
}

// The blur's sigma is (w + h) / 400 pixels, under 3 on a 512 x 512 photo, and the zone's falloff
// has reached only about three quarters of its strength in the corner boxes there: they keep 70 to
// 80 % of their gradient. On larger photos (the fixture below) they keep under 70 %.
void expectCentreSharpCornersSoftOnThePhoto(const Pixels& input, const Pixels& output)
{
    expectCentreSharpCornersSoft(input, output, 0.8);
}

// The rows within 5 % of the height from the middle row are unchanged; the top and the bottom
// 10 % of the rows have lost texture.
void expectMiddleBandSharpTopAndBottomSoft(const Pixels& input, const Pixels& output)
{
    ASSERT_TRUE(sameSize(output, input));
    const std::size_t middle = input.height / 2, reach = input.height / 20;
    const std::size_t band = 2 * reach + 1, edge = input.height / 10;
    EXPECT_LT(meanAbsoluteDifference(region(output, 0, middle - reach, input.width, band),
                                     region(input, 0, middle - reach, input.width, band)),
              2)
        << "the band is not sharp";
    for (const std::size_t y : {std::size_t(0), input.height - edge}) {
        SCOPED_TRACE(::testing::Message() << "rows from " << y);
        EXPECT_LE(meanGradient(region(output, 0, y, input.width, edge)),
                  0.8 * meanGradient(region(input, 0, y, input.width, edge)));
    }
}

const ToolScript kRows[] = {
    {"focus", "astronaut.png", expectCentreSharpCornersSoftOnThePhoto},
    {"focus-linear", "astronaut.png", expectMiddleBandSharpTopAndBottomSoft},
};

INSTANTIATE_TEST_SUITE_P(Focus, QZToolScriptsProgramTest, ::testing::ValuesIn(kRows), scriptTestName);

// ---- In-process ----

class QZFocusScriptsTest : public QZToolScriptsInProcessTest {
protected:
    // The focus events in order, each with its attributes less the facade's standard ones.
    std::vector<std::pair<std::string, std::map<std::string, Value>>> focusEvents() const
    {
        const Value standard = QZAnalytics::standardAttributes();
        std::vector<std::pair<std::string, std::map<std::string, Value>>> events;
        for (const auto& [name, attributes] : analytics_->events) {
            if (name.rfind("focus: ", 0) != 0) continue;
            std::map<std::string, Value> own;
            if (const Value::Dictionary* all = attributes.asDictionary())
                for (const auto& [key, value] : *all)
                    if (standard[key] != value) own.emplace(key, value);
            events.emplace_back(name, std::move(own));
        }
        return events;
    }

    // The session's one module is a full-size tilt-shift of the zone at the editing size.
    void expectRecordedZone(QZTiltShiftStyle style, CGPoint centre, CGSize editing)
    {
        auto processor = std::dynamic_pointer_cast<QZTiltShiftProcessor>(onlyProcessor());
        ASSERT_NE(processor, nullptr) << "the session does not hold one tilt-shift processor";
        EXPECT_EQ(processor->style(), style);
        EXPECT_EQ(processor->centerPoint().x, centre.x);
        EXPECT_EQ(processor->centerPoint().y, centre.y);
        EXPECT_EQ(processor->sigmaR(), 200);
        EXPECT_EQ(processor->angle(), 0);
        EXPECT_TRUE(processor->isHires());
        EXPECT_EQ(processor->maskSize().width, editing.width);
        EXPECT_EQ(processor->maskSize().height, editing.height);
        EXPECT_EQ(processor->glInstance(), nullptr);
    }
};

using Attributes = std::map<std::string, Value>;
const Attributes kRadial{{"tiltShiftStyle", Value("radial")}};
const Attributes kLinear{{"tiltShiftStyle", Value("linear")}};

TEST_F(QZFocusScriptsTest, RadialKeepsTheMiddleSharpAndRecordsTheZoneThePersonSaw)
{
    ASSERT_TRUE(play(kRows[0], photo_));
    kRows[0].check(photo_, played_.result);
    expectRecordedZone(QZTiltShiftStyleRadial, CGPointMake(256, 256), CGSizeMake(512, 512));
    // The tap on the chosen Radial reports nothing; on the script's clock a render takes no time.
    using Events = std::vector<std::pair<std::string, Attributes>>;
    EXPECT_EQ(focusEvents(), (Events{{"focus: opened", kRadial}, {"focus: applied", kRadial}}));
    expectReplaysAgree();
}

TEST_F(QZFocusScriptsTest, LinearKeepsALevelBandSharpAndReportsTheChoice)
{
    ASSERT_TRUE(play(kRows[1], photo_));
    kRows[1].check(photo_, played_.result);
    expectRecordedZone(QZTiltShiftStyleLinear, CGPointMake(256, 256), CGSizeMake(512, 512));
    using Events = std::vector<std::pair<std::string, Attributes>>;
    EXPECT_EQ(focusEvents(),
              (Events{{"focus: opened", kRadial}, {"focus: linear selected", kLinear}, {"focus: applied", kLinear}}));
    expectReplaysAgree();
}

// Larger than the editing size: the zone is recorded in the preview's pixels and its mask is
// stretched over the full-size photo.
TEST_F(QZFocusScriptsTest, RadialOnALargerPhotoAgreesAtBothSizes)
{
    const Pixels fixture = texturedFixture();
    ASSERT_TRUE(play(kRows[0], fixture));
    const CGSize editing = played_.host->editor()->session()->editingSize();
    EXPECT_EQ(editing.width, 1024);
    EXPECT_EQ(editing.height, 768);
    expectCentreSharpCornersSoft(fixture, played_.result, 0.7);
    expectRecordedZone(QZTiltShiftStyleRadial, CGPointMake(512, 384), editing);
    expectReplaysAgree();
}

}  // namespace
}  // namespace tool_scripts
