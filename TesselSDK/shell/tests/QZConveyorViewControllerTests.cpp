// The conveyor tool base: the strip and its overlay in both layouts, the strip's cell width, and an
// empty strip for a tool that supplies no cells.
#include "QZShellTestSupport.h"

#include "TesselSDKFoundation/QZConveyorOverlayView.h"
#include "TesselSDK/shell/QZConveyorViewController.h"

#include <algorithm>

namespace {

class SplitTool : public QZConveyorViewController {
public:
    using QZConveyorViewController::QZConveyorViewController;
    bool usesSplitConveyorLayout() const override { return true; }
};

class QZConveyorViewControllerTest : public QZShellTest {
protected:
    template <class T>
    std::shared_ptr<T> load(float cellWidth)
    {
        auto tool = QZToolViewController::makeWithGLInstance<T>(nullptr, Value(), false);
        tool->setTargetViewHeight(100);
        tool->setCellWidth(cellWidth);
        window_->addSubview(tool->view());
        driver_.advance(0.1);
        return tool;
    }
    static std::shared_ptr<QZConveyorOverlayView> overlayOf(UIView& view)
    {
        for (const auto& subview : view.subviews())
            if (auto overlay = std::dynamic_pointer_cast<QZConveyorOverlayView>(subview)) return overlay;
        return nullptr;
    }
    static std::ptrdiff_t indexOf(UIView& view, const UIView* subview)
    {
        const auto& subviews = view.subviews();
        auto it = std::find_if(subviews.begin(), subviews.end(), [&](const auto& v) { return v.get() == subview; });
        return it == subviews.end() ? -1 : it - subviews.begin();
    }
};

TEST_F(QZConveyorViewControllerTest, TheStripAndItsOverlayFollowTheLayout)
{
    struct Case {
        bool split;
        float cellWidth;
        CGFloat stripHeight;
        CGFloat stripCellWidth;
        QZConveyorOverlayType overlayType;
    };
    for (const Case& c :
         {Case{false, 0, 100, 54, QZConveyorOverlayTypeSingle}, Case{true, 70, 50, 70, QZConveyorOverlayTypeSplit}}) {
        SCOPED_TRACE(c.split ? "split" : "single");
        std::shared_ptr<QZConveyorViewController> tool =
            c.split ? std::shared_ptr<QZConveyorViewController>(load<SplitTool>(c.cellWidth))
                    : load<QZConveyorViewController>(c.cellWidth);
        UIView& view = *tool->view();
        const auto& strip = tool->conveyorView();
        ASSERT_NE(strip, nullptr);
        EXPECT_EQ(strip->frame().size.height, c.stripHeight);
        EXPECT_EQ(strip->frame().size.width, view.bounds().size.width);
        EXPECT_EQ(strip->cellWidth(), c.stripCellWidth);
        auto overlay = overlayOf(view);
        ASSERT_NE(overlay, nullptr);
        EXPECT_EQ(overlay->type(), c.overlayType);
        EXPECT_EQ(overlay->frame().size.height, view.bounds().size.height);
        EXPECT_GT(indexOf(view, overlay.get()), indexOf(view, strip.get())) << "the overlay is not above the strip";
        EXPECT_GE(indexOf(view, strip.get()), 0);
        // No data-source methods: nothing to show.
        EXPECT_TRUE(strip->visibleCells().empty());
        view.removeFromSuperview();
    }
}

}  // namespace
