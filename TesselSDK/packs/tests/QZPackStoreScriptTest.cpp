// The store script of examples/scripts: a frame pack downloaded from the content service (the
// store tree, served by the built fixture server for the program, by the in-process one
// in-process) and one of its frames applied, on a new content root. In-process, the frames strip
// is checked before and after the download, the events in their order, and a replay of the
// closed session.
#include "QZPackScriptsSupport.h"

#include "TesselSDK/packs/QZContentPackUnifiedSelectionViewCell.h"
#include "TesselSDK/packs/QZFrameContentPackUnifiedSelectionViewController.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackItem.h"

#include "TesselSDKFoundation/QZFileSystemUtils.h"

#include "UIKit/UIAlertView.h"

namespace pack_scripts {
namespace {

using Attributes = std::map<std::string, Value>;

class QZPackStoreProgramTest : public QZToolScriptsTest {};

TEST_F(QZPackStoreProgramTest, DownloadsHarbourAndAppliesRope)
{
    FixtureServerProgram server(storeTree().string());
    ASSERT_FALSE(server.url().empty()) << "the fixture server did not start";
    const fs::path root = dir_ / "root";
    const std::optional<Pixels> output = runThroughProgram("store", photoPath(), dir_, root, server.url());
    ASSERT_TRUE(output);
    expectFramed(photo_, *output);
    EXPECT_TRUE(fs::is_regular_file(packsFolder(root) / "harbour.zip"));
}

// A section of the frames strip: its header (empty for none) and the names of its cells,
// "download <pack>" for a download cell.
struct Section {
    std::string header;
    std::vector<std::string> cells;
    bool operator==(const Section&) const = default;
};

void PrintTo(const Section& section, std::ostream* out)
{
    *out << (section.header.empty() ? "" : "[" + section.header + "] ");
    for (const auto& cell : section.cells) *out << cell << ", ";
}

class QZPackStoreScriptTest : public QZPackScriptsInProcessTest {
protected:
    std::vector<Section> strip()
    {
        std::vector<Section> sections;
        auto tool = std::dynamic_pointer_cast<QZFrameContentPackUnifiedSelectionViewController>(currentTool());
        EXPECT_TRUE(tool) << "the frames tool is not shown";
        if (!tool) return sections;
        QZContentPackSelectionView* view = tool->selectionView().get();
        auto table = tool->selectionView()->tableView();
        table->layoutIfNeeded();
        for (NSInteger s = 0; s < table->numberOfSections(); ++s) {
            Section section;
            if (tool->selectionViewHasHeaderInSection(view, s))
                section.header = tool->selectionViewHeaderTitleForSection(view, s);
            for (NSInteger r = 0; r < table->numberOfRowsInSection(s); ++r) {
                auto cell = std::dynamic_pointer_cast<QZContentPackUnifiedSelectionViewCell>(
                    tool->selectionViewSelectionViewCellForRowAtIndexPath(view,
                                                                          NSIndexPath::indexPathForRowInSection(r, s)));
                EXPECT_TRUE(cell);
                if (!cell) continue;
                section.cells.push_back(cell->contentPack() ? "download " + cell->title() : cell->title());
            }
            sections.push_back(section);
        }
        return sections;
    }
};

TEST_F(QZPackStoreScriptTest, HarbourIsDownloadedFromTheStoreAndItsRopeFrameApplied)
{
    ASSERT_TRUE(useContentRoot(true));
    using Sections = std::vector<Section>;
    Sections before, after;
    ASSERT_TRUE(playInParts("store", photo_,
                            {{"tap Cancel", [&] { before = strip(); }}, {"tap Close", [&] { after = strip(); }}}));
    EXPECT_EQ(before,
              (Sections{{"", {"None"}}, {"Harbour", {"download Harbour"}}, {"Classic Frames", {"Oak", "Slate"}}}));
    EXPECT_EQ(after, (Sections{{"", {"None", "Rope", "Driftwood"}}, {"Classic Frames", {"Oak", "Slate"}}}));

    expectFramed(photo_, played_.result);
    // Under the content root, in this program's support folder.
    const std::optional<std::string> packs = QZFileSystemUtils::resourcesDirectoryURL();
    ASSERT_TRUE(packs);
    EXPECT_EQ(fs::path(*packs).lexically_relative(root_).begin()->string(), "Library");
    EXPECT_TRUE(fs::is_regular_file(fs::path(*packs) / "harbour.zip"));
    EXPECT_TRUE(
        eventsInOrder({"Welcome to Frames: cancelled", "ListView(Frames) :opened", "LeftGetMoreFrames :selected",
                       "ListView(harbour) :selected", "DetailView(harbour) : installed", "DetailView(Frame) : closed",
                       "ListView(Frame) :closed", "rope :selected", "Frames :applied"}));
    EXPECT_EQ(ownEvent("Frames :applied"), (Attributes{{"pack", Value("harbour")}, {"item", Value("rope")}}));
    ASSERT_EQ(applied_.size(), 1u);
    EXPECT_EQ(applied_[0].userInfo, Value::dictionary({{kQZContentPackType, "frame"},
                                                       {kQZContentPackIdentifier, "harbour"},
                                                       {kQZContentItemIdentifier, "rope"}}));
    expectFullSizeReplayAgrees();
}

}  // namespace
}  // namespace pack_scripts
