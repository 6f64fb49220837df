// The legacy frames on the CPU: one seed gives one frame (the printed date held still through the
// test clock), every member stays inside images of awkward sizes, and the members that are
// compositions of others equal those compositions.
#include "QopImageCompare.h"
#include "QopTestBitmap.h"

#include "QopLite/QopBorders.h"
#include "QopLite/QopLegacyBorders.h"
#include "QopLite/QopRandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>
#include <string>

using qop_test::TestBitmap;

namespace {

using Member = void (*)(QopBitmap_t *, QopEffectParams_t *);

struct Entry {
    const char *name;
    Member member;
    bool seeded; // the seed changes the frame
};

const Entry kMembers[] = {
    {"san_carmen", QopEffectSanCarmenBorder, true},   {"tam_brew", QopEffectTamBrewBorder, false},
    {"vexa", QopEffectVexaBorder, true},               {"singe", QopEffectSingeBorder, false},
    {"aqua", QopEffectAquaBorder, false},              {"thresh", QopEffectThreshBorder, false},
    {"edgewood", QopEffectEdgewoodBorder, true},       {"purple", QopEffectPurpleBorder, true},
    {"cherry", QopEffectCherryBorder, true},           {"cross_process", QopEffectCrossprocessBorder, true},
    {"faded", QopEffectFadedBorder, true},             {"ithaca", QopEffectIthacaBorder, false},
    {"sunburn", QopEffectSunburnBorder, false},        {"earthy", QopEffectEarthyBorder, true},
    {"solar", QopEffectSolarBorder, true},             {"old_thresh", QopEffectOldThreshBorder, true},
    {"tova_quinbel", QopEffectTovaquinbelBorder, true}, {"brownie", QopEffectBrownieBorder, true},
    {"orca", QopEffectOrcaBorder, true},               {"chrono", QopEffectChronoBorder, true},
    {"titan", QopEffectTitanBorder, true},             {"cabana", QopEffectCabanaBorder, false},
    {"bordeaux", QoeEffectBordeauxBorder, true},       {"covert", QopEffectCovertBorder, true},
    {"pellarBW", QopEffectPellarBWBorder, false},      {"pellarTintype", QopEffectPellarTintypeBorder, false},
};
static_assert(sizeof kMembers / sizeof kMembers[0] == 26);

time_t fixedClock() { return 1700000000; } // a Tuesday in November 2023

class QopLegacyBordersTest : public ::testing::Test {
protected:
    void SetUp() override { QopLegacyBordersSetClock(fixedClock); }
    void TearDown() override { QopLegacyBordersSetClock(nullptr); }
};

QopEffectParams_t effect(uint32_t seed, double intensity = 1.0) { return {seed, intensity, true, 1.0}; }

TEST_F(QopLegacyBordersTest, OneSeedGivesOneFrame)
{
    const TestBitmap photo = qop_test::makePhotoLike(160, 120);
    for (const Entry &e : kMembers) {
        TestBitmap first = photo, second = photo, other = photo;
        // Seeds far apart: the first draw of neighbouring seeds differs only in its last bits.
        QopEffectParams_t p = effect(21), q = effect(2000000021u);
        e.member(first.get(), &p);
        e.member(second.get(), &p);
        e.member(other.get(), &q);
        EXPECT_FALSE(first == photo) << e.name << " draws";
        EXPECT_TRUE(first == second) << e.name;
        if (e.seeded) {
            EXPECT_FALSE(first == other) << e.name << " follows the seed";
        } else {
            EXPECT_TRUE(first == other) << e.name << " has no random part";
        }
    }
}

TEST_F(QopLegacyBordersTest, EveryMemberStaysInsideAwkwardSizes)
{
    const std::pair<size_t, size_t> sizes[] = {{1, 1}, {3, 2}, {17, 400}, {640, 480}};
    for (auto size : sizes) {
        const TestBitmap photo = qop_test::makePhotoLike(size.first, size.second);
        for (const Entry &e : kMembers) {
            // AddressSanitizer and UndefinedBehaviorSanitizer watch the layers' computed
            // coordinates; the frame must also come out the same twice.
            for (double intensity : {0.0, 1.0}) {
                TestBitmap b = photo, again = photo;
                QopEffectParams_t p = effect(3, intensity);
                e.member(b.get(), &p);
                e.member(again.get(), &p);
                EXPECT_TRUE(b == again) << e.name << " " << size.first << " x " << size.second;
            }
        }
    }
}

TEST_F(QopLegacyBordersTest, CovertDrawsTheThirdDisplayWithTheSecondInteger)
{
    const TestBitmap photo = qop_test::makePhotoLike(200, 150);
    TestBitmap covert = photo, display = photo;
    QopEffectParams_t p = effect(77);
    QopEffectCovertBorder(covert.get(), &p);
    QopRNG_t rng;
    QopRNGSeed(&rng, 77);
    QopRNGNextInt(&rng);
    QopCameraDisplay3Legacy(display.get(), QopRNGNextInt(&rng));
    EXPECT_TRUE(covert == display);
    TestBitmap first = photo;
    QopRNGSeed(&rng, 77);
    QopCameraDisplay3Legacy(first.get(), QopRNGNextInt(&rng));
    EXPECT_FALSE(covert == first) << "the first integer is thrown away";
}

// San Carmen by hand from the border engine: a Round frame, then six Torn2 strips, n = 6 ... 1,
// with amp = intensity x 0.06 x n / 10 and dw = k x 0.005 + 0.01 (k = 4 ... 9), seeded in turn.
// Faded is the same shape with one amp for all six strips.
void composition(QopBitmap_t *bitmap, uint32_t seed, QopColor_t round, QopColor_t strip, double hConst,
                 double (*amp)(int n, double intensity), double intensity)
{
    const size_t n = std::max(bitmap->width, bitmap->height);
    std::vector<float> a(n), b(n), c(n);
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    QopBorderParams_t params{};
    QopBorderInitParams(&params);
    params.style = QopBorderStyleRound;
    params.color = round;
    params.dw = 0.025;
    params.line = a.data();
    QopBorders(bitmap, &params);
    for (int pass = 6, k = 4; pass >= 1; --pass, ++k) {
        QopBorderParams_t torn{};
        QopBorderInitParams(&torn);
        torn.style = QopBorderStyleTorn2;
        torn.color = strip;
        torn.amp = amp(pass, intensity);
        torn.dw = k * 0.005 + 0.01;
        torn.hConst = hConst;
        torn.lineA = b.data();
        torn.lineB = c.data();
        torn.seed = QopRNGNextInt(&rng);
        QopBorders(bitmap, &torn);
    }
}

TEST_F(QopLegacyBordersTest, RoughStripMembersAreTheirDocumentedComposition)
{
    const TestBitmap photo = qop_test::makePhotoLike(180, 130);
    const double intensity = 0.7;
    TestBitmap sanCarmen = photo, byHand = photo;
    QopEffectParams_t p = effect(9, intensity);
    QopEffectSanCarmenBorder(sanCarmen.get(), &p);
    composition(byHand.get(), 9, {225, 225, 200, 255}, {225, 225, 200, 51}, 0.4,
                [](int n, double x) { return x * 0.06 * n / 10.0; }, intensity);
    EXPECT_TRUE(sanCarmen == byHand);

    TestBitmap faded = photo, fadedByHand = photo, fadedScaled = photo;
    QopEffectFadedBorder(faded.get(), &p);
    composition(fadedByHand.get(), 9, {255, 255, 255, 255}, {255, 255, 255, 255}, 8.0,
                [](int, double x) { return x * 0.03; }, intensity);
    composition(fadedScaled.get(), 9, {255, 255, 255, 255}, {255, 255, 255, 255}, 8.0,
                [](int n, double x) { return x * 0.03 * n / 10.0; }, intensity);
    EXPECT_TRUE(faded == fadedByHand);
    EXPECT_FALSE(faded == fadedScaled) << "Faded keeps one amp in all six passes";
}

TEST_F(QopLegacyBordersTest, DatedReadOutsPrintTheClock)
{
    char text[128];
    setenv("TZ", "UTC", 1);
    tzset();
    QopLegacyBordersDateText(text, sizeof text);
    EXPECT_STREQ(text, "TUE NOV 14 2023");
    // Another day prints differently: the vexa read-out changes with the clock alone.
    const TestBitmap photo = qop_test::makePhotoLike(400, 300);
    TestBitmap today = photo, later = photo;
    QopEffectParams_t p = effect(4);
    QopEffectVexaBorder(today.get(), &p);
    QopLegacyBordersSetClock([]() -> time_t { return 1700000000 + 3 * 86400; });
    QopEffectVexaBorder(later.get(), &p);
    EXPECT_FALSE(today == later);
}

TEST(QopLegacyDots, DirtSpeckIsSeededAndBasicDotFadesOverItsRim)
{
    TestBitmap b(40, 40);
    b.fill({0, 0, 0, 255});
    const QopColor_t white = {255, 255, 255, 255};
    QopDrawBasicDotLegacy(b.get(), &white, 20, 20, 3);
    EXPECT_EQ(b.at(20, 20).r, 255);
    EXPECT_EQ(b.at(23, 20).r, 255);
    EXPECT_GT(b.at(24, 20).r, 0);
    EXPECT_LT(b.at(24, 20).r, 255);
    EXPECT_EQ(b.at(26, 20).r, 0) << "beyond r + min(2r, 2)";

    const TestBitmap photo = qop_test::makePhotoLike(120, 90);
    TestBitmap first = photo, second = photo, other = photo;
    const QopColor_t dirt = {70, 48, 26, 200};
    QopDirtSpecLegacy(first.get(), 60, 45, 4, &dirt, 5);
    QopDirtSpecLegacy(second.get(), 60, 45, 4, &dirt, 5);
    QopDirtSpecLegacy(other.get(), 60, 45, 4, &dirt, 6);
    EXPECT_TRUE(first == second);
    EXPECT_FALSE(first == other);
    EXPECT_FALSE(first == photo);
}

} // namespace
