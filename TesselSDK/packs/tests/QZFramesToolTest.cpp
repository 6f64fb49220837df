// The frames tool's processors without a GL context (its preview server then works on the CPU, at
// the size the test gives it): the editing pieces for the preview and the full-resolution ones
// for the session, a frame that cannot be drawn handing over no pieces at all, "Original" handing
// over nothing, and the applied frame replayed on a photo twice the size.

#include "QZPackToolTestSupport.h"

#include "TesselSDK/packs/QZFrameContentPackUnifiedSelectionViewController.h"
#include "TesselSDK/remote/QZFrameContentPackItem.h"

#include "TesselSDKImaging/Processors/QZBeginQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZEndQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZStickerProcessor.h"
#include "TesselSDKImaging/tests/QZImageServerTestSupport.h"

#include "Foundation/NSLogCapture.h"

#include <cstdlib>

namespace {

using qz_test::Pixels;

class QZFramesToolTest : public QZPackToolTest {
protected:
    void SetUp() override
    {
        QZPackToolTest::SetUp();
        NSUserDefaults::standardUserDefaults()->setObject(Value::dictionary({{"Frames", true}}),
                                                          kQZToolControllerHasLaunchedDictionary);
    }
    // The tool on the shipped packs, its preview as large as a `side` x `side` photo.
    std::shared_ptr<QZFrameContentPackUnifiedSelectionViewController> showFrames(CGFloat side = 512)
    {
        auto tool = makeTool<QZFrameContentPackUnifiedSelectionViewController>();
        tool->setDelegate(statuses_);
        tool->setTargetViewHeight(kToolHeight);  // before the view loads: the strip takes its height
        tool->view();
        tool->highResolutionServer()->setSize(CGSizeMake(side, side));
        return show(tool);
    }
    std::shared_ptr<QZFrameContentPackItem> oak()
    {
        auto pack = manager()->packWithIdentifier("classic_frames");
        if (!pack) return nullptr;
        for (const auto& item : pack->orderedItems())
            if (item->identifier() == "oak") return std::dynamic_pointer_cast<QZFrameContentPackItem>(item);
        return nullptr;
    }
    static QZProcessorList processorsOf(const std::shared_ptr<QZModule>& module)
    {
        QZProcessorList processors;
        if (module) module->createProcessors(processors);
        return processors;
    }
    void tapApply(QZToolViewController& tool) { driver_.tap(*tool.applyButton()->customView()); }

    struct Statuses : QZToolViewControllerDelegate {
        std::vector<QZToolViewControllerStatus> statuses;
        void toolControllerFinishedWithStatus(QZToolViewController*, QZToolViewControllerStatus status) override
        {
            statuses.push_back(status);
        }
    };
    std::shared_ptr<Statuses> statuses_ = std::make_shared<Statuses>();
};

// Begin, the eight pieces in the order left, right, top, bottom, top left, top right, bottom left,
// bottom right (each the item's piece of that set), End.
void expectFramePieces(const QZProcessorList& processors, QZFrameContentPackItem& item, bool editing)
{
    static constexpr QZFramePiece kOrder[] = {
        QZFramePiece::Left,    QZFramePiece::Right,    QZFramePiece::Top,        QZFramePiece::Bottom,
        QZFramePiece::TopLeft, QZFramePiece::TopRight, QZFramePiece::BottomLeft, QZFramePiece::BottomRight};
    ASSERT_EQ(processors.size(), 10u);
    EXPECT_TRUE(std::dynamic_pointer_cast<QZBeginQopEffectProcessor>(processors.front()));
    EXPECT_TRUE(std::dynamic_pointer_cast<QZEndQopEffectProcessor>(processors.back()));
    for (std::size_t i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        auto sticker = std::dynamic_pointer_cast<QZStickerProcessor>(processors[i + 1]);
        ASSERT_TRUE(sticker);
        const QZFramePiece piece = editing ? QZFramePiece(int(kOrder[i]) + 8) : kOrder[i];
        ASSERT_TRUE(item.pieceImage(piece));
        EXPECT_EQ(sticker->stickerImage(), item.pieceImage(piece));
        EXPECT_TRUE(sticker->isFrameType());
        EXPECT_EQ(sticker->rotation(), 0);
    }
}

TEST_F(QZFramesToolTest, ThePreviewDrawsTheEditingPiecesAndTheSessionTheFullOnes)
{
    auto tool = showFrames();
    auto item = oak();
    ASSERT_TRUE(item);
    // The shipped pieces: 50 points thick for editing, 200 for the photo.
    ASSERT_EQ(item->pieceImage(QZFramePiece::LeftEditing)->size().width, 50);
    ASSERT_EQ(item->pieceImage(QZFramePiece::Left)->size().width, 200);
    expectFramePieces(tool->processorsForFrame(item, true), *item, true);

    ASSERT_TRUE(driver_.tapViewWithLabel("Oak"));
    EXPECT_EQ(tool->selectedItem(), item);
    EXPECT_TRUE(tool->isReadyToApply()) << "a frame's preview leaves the tool ready";
    tapApply(*tool);
    ASSERT_EQ(statuses_->statuses, std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied});
    expectFramePieces(tool->frameProcessors(), *item, false);
    // The module reads its own copy of the list: it is the same however often it is asked.
    auto module = tool->outputModule();
    const QZProcessorList first = processorsOf(module), second = processorsOf(module);
    EXPECT_EQ(first, tool->frameProcessors());
    EXPECT_EQ(second, first);
}

TEST_F(QZFramesToolTest, OriginalHandsOverAModuleWithNothingInIt)
{
    auto tool = showFrames();
    ASSERT_TRUE(driver_.tapViewWithLabel("Oak"));
    ASSERT_TRUE(driver_.tapViewWithLabel("Oak"));  // back to None
    EXPECT_EQ(tool->selectedItem(), tool->originalContentPackItem());
    tapApply(*tool);
    ASSERT_EQ(statuses_->statuses.size(), 1u);
    EXPECT_TRUE(tool->frameProcessors().empty());
    auto module = tool->outputModule();
    ASSERT_TRUE(module);
    EXPECT_TRUE(processorsOf(module).empty());
}

struct UndrawableRow {
    const char* name;
    const char* item;  // "oak", or "bare": a frame of a pack whose archive has no pieces
    double width;      // the item's width; 0 keeps it
    CGSize picture;
    std::vector<const char*> logs;
};

void PrintTo(const UndrawableRow& row, std::ostream* out)
{
    *out << row.name;
}

class QZUndrawableFrameTest : public QZFramesToolTest, public ::testing::WithParamInterface<UndrawableRow> {};

TEST_P(QZUndrawableFrameTest, OpensAndClosesThePassWithNothingInIt)
{
    const UndrawableRow& row = GetParam();
    std::shared_ptr<QZContentPackItem> item;
    if (std::string(row.item) == "bare") {
        manager()->insertPackForTesting(Value::dictionary({
            {"identifier", "bare"},
            {"packType", "frame"},
            {"displayName", "Bare"},
            {"codeName", "bare"},
            {"assetVersion", "1"},
            {"requiresDownload", false},
            {"index", 9},
            {"items",
             Value::array({Value::dictionary({{"identifier", "empty"}, {"displayName", "Empty"}, {"width", 0.05}})})},
        }));
        item = manager()->packWithIdentifier("bare")->orderedItems().at(0);
    } else {
        item = oak();
    }
    ASSERT_TRUE(item);
    if (row.width != 0) item->setValueForKey(Value(row.width), "width");
    auto tool = showFrames();
    tool->highResolutionServer()->setSize(row.picture);

    NSLogCapture log;
    const QZProcessorList processors = tool->processorsForFrame(item, false);
    ASSERT_EQ(processors.size(), 2u);
    EXPECT_TRUE(std::dynamic_pointer_cast<QZBeginQopEffectProcessor>(processors[0]));
    EXPECT_TRUE(std::dynamic_pointer_cast<QZEndQopEffectProcessor>(processors[1]));
    std::vector<std::string> expected;
    for (const char* line : row.logs)
        expected.push_back(
            std::string("-[QZFrameContentPackUnifiedSelectionViewController processorsForFrame:editingRes:] ") + line);
    EXPECT_EQ(log.lines(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, QZUndrawableFrameTest,
    ::testing::Values(UndrawableRow{"PiecesMissing",
                                    "bare",
                                    0,
                                    {512, 512},
                                    {"expected non-nil left image", "expected non-nil right image",
                                     "expected non-nil top image", "expected non-nil bottom image",
                                     "the frame empty cannot be laid out on a 512 x 512 picture: it is not drawn"}},
                      // The service may send a width of 12: bands that cross.
                      UndrawableRow{"BandsCross",
                                    "oak",
                                    12,
                                    {512, 512},
                                    {"the frame oak cannot be laid out on a 512 x 512 picture: it is not drawn"}},
                      UndrawableRow{"PictureWithoutHeight",
                                    "oak",
                                    0,
                                    {512, 0},
                                    {"the frame oak cannot be laid out on a 512 x 0 picture: it is not drawn"}}),
    [](const ::testing::TestParamInfo<UndrawableRow>& row) { return std::string(row.param.name); });

// Replayed on the CPU on a grey photo of 256 and of 512 pixels: the same fraction of each side is
// framed, and the middle is left as it was.
TEST_F(QZFramesToolTest, TheAppliedFrameCoversTheSameShareOfAPhotoTwiceTheSize)
{
    auto tool = showFrames(256);
    ASSERT_TRUE(driver_.tapViewWithLabel("Oak"));
    tapApply(*tool);
    auto module = tool->outputModule();
    ASSERT_TRUE(module);

    // The band's extent from the top edge down the middle column, and from the left edge along the
    // middle row: the first pixel left grey.
    struct Bands {
        std::size_t top = 0, left = 0;
        bool middleUnchanged = false;
    };
    auto framed = [&](std::size_t side) {
        const Pixels grey = qz_test::makePixels(side, side, [](std::size_t, std::size_t) {
            return std::array<std::uint8_t, 4>{128, 128, 128, 255};
        });
        CGImageRef image = qz_test::createImage(grey);
        auto server = QZBitmapImageServer::make(image, 1, UIImageOrientationUp);
        CGImageRelease(image);
        EXPECT_TRUE(server);
        Bands bands;
        if (!server) return bands;
        server->drawImage();
        server->runModule(module);
        const Pixels out = qz_test::readBack(server);
        auto isGrey = [](const std::array<std::uint8_t, 4>& p) {
            return std::abs(p[0] - 128) <= 1 && std::abs(p[1] - 128) <= 1 && std::abs(p[2] - 128) <= 1;
        };
        while (bands.top < side && !isGrey(out.at(side / 2, bands.top))) ++bands.top;
        while (bands.left < side && !isGrey(out.at(bands.left, side / 2))) ++bands.left;
        bands.middleUnchanged = true;
        for (std::size_t y = side / 4; y < 3 * side / 4; ++y)
            for (std::size_t x = side / 4; x < 3 * side / 4; ++x) bands.middleUnchanged &= isGrey(out.at(x, y));
        return bands;
    };
    const Bands small = framed(256), large = framed(512);
    // 0.08 of the side: 20.5 and 41 pixels.
    EXPECT_NEAR(double(small.top), 0.08 * 256, 1.5);
    EXPECT_NEAR(double(small.left), 0.08 * 256, 1.5);
    EXPECT_NEAR(double(large.top), 0.08 * 512, 1.5);
    EXPECT_NEAR(double(large.left), 0.08 * 512, 1.5);
    EXPECT_TRUE(small.middleUnchanged);
    EXPECT_TRUE(large.middleUnchanged);
}

}  // namespace
