#include "ViewGallery.h"

#include "TesselSDK/foundation/QZContainerView.h"
#include "TesselSDK/foundation/QZHUDView.h"
#include "TesselSDK/foundation/QZOverlayView.h"
#include "TesselSDK/foundation/QZProgressHUDView.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIWindow.h"

#include <filesystem>

namespace view_gallery {
namespace {

constexpr CGFloat kSide = 160;

// A grey checkerboard: what shows through a transparent view.
class Backdrop : public UIView {
public:
    using UIView::UIView;
    void drawRect(CGRect rect) override
    {
        CGContextRef c = UIGraphicsGetCurrentContext();
        for (int y = 0; y * 16 < rect.size.height; ++y)
            for (int x = 0; x * 16 < rect.size.width; ++x) {
                CGFloat grey = (x + y) % 2 ? 0.62f : 0.86f;
                CGContextSetGrayFillColor(c, grey, 1);
                CGContextFillRect(c, CGRectMake(x * 16.0f, y * 16.0f, 16, 16));
            }
    }
};

std::shared_ptr<UIView> box(CGRect frame, const std::shared_ptr<UIColor>& color)
{
    auto view = UIView::viewWithFrame(frame);
    view->setBackgroundColor(color);
    return view;
}

// The sample view, centred on the backdrop, drawn as it looks.
std::shared_ptr<UIImage> shoot(const std::shared_ptr<UIView>& sample)
{
    auto backdrop = UIView::viewWithFrame<Backdrop>(CGRectMake(0, 0, kSide, kSide));
    sample->setCenter(CGPointMake(kSide / 2, kSide / 2));
    backdrop->addSubview(sample);
    return UIViewSnapshot(*backdrop);
}

}  // namespace

const std::vector<Entry>& entries()
{
    static const std::vector<Entry> table = {
        {"QZView",
         [] {
             auto view = UIView::viewWithFrame<QZView>(CGRectMake(0, 0, 120, 120));
             view->setBackgroundColor(UIColor::colorWithWhite(1, 0.5f));
             return shoot(view);
         }},
        {"QZOverlayView",
         [] {
             auto overlay = UIView::viewWithFrame<QZOverlayView>(CGRectMake(0, 0, 120, 120));
             overlay->addSubview(box(CGRectMake(10, 10, 50, 30), UIColor::colorWithRed(0, 0.462f, 0.905f, 1)));
             overlay->addSubview(box(CGRectMake(60, 80, 50, 30), UIColor::orangeColor()));
             return shoot(overlay);
         }},
        {"QZContainerView",
         [] {
             auto container = UIView::viewWithFrame<QZContainerView>(CGRectMake(0, 0, 120, 120));
             container->addSubview(box(CGRectMake(35, 35, 50, 50), UIColor::colorWithRed(0.2f, 0.7f, 0.3f, 1)));
             return shoot(container);
         }},
        {"QZHUDView", [] { return shoot(UIView::viewWithFrame<QZHUDView>(CGRectMake(0, 0, 100, 100))); }},
        {"QZProgressHUDView",
         [] { return shoot(UIView::viewWithFrame<QZProgressHUDView>(CGRectMake(0, 0, 100, 100))); }},
    };
    return table;
}

bool writeGallery(const std::string& outdir, std::string* error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(outdir, ec);
    if (ec || !fs::is_directory(outdir)) {
        *error = "cannot create the folder " + outdir + (ec ? ": " + ec.message() : std::string());
        return false;
    }
    for (const Entry& entry : entries()) {
        std::string target = (fs::path(outdir) / (entry.className + ".png")).string();
        std::string reason;
        if (!UIImageWritePNGToFile(entry.render(), target, &reason)) {
            *error = "cannot write " + target + ": " + reason;
            return false;
        }
    }
    return true;
}

}  // namespace view_gallery
