#include "UIKit/testing/UITestDriver.h"

#include "Dispatch/DispatchClock.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"
#include "UIKit/UIAlertView.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIButton.h"
#include "UIKit/UIKeyboard.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIWindow.h"

#include <chrono>
#include <cmath>
#include <thread>

namespace {
constexpr double kFrame = 1.0 / 60;
constexpr double kTapDown = 0.05;
constexpr double kTapGap = 0.1;

CGPoint along(const std::vector<CGPoint>& path, double fraction)
{
    double total = 0;
    for (size_t i = 1; i < path.size(); ++i) total += std::hypot(path[i].x - path[i - 1].x, path[i].y - path[i - 1].y);
    double wanted = total * fraction;
    for (size_t i = 1; i < path.size(); ++i) {
        double length = std::hypot(path[i].x - path[i - 1].x, path[i].y - path[i - 1].y);
        if (wanted <= length && length > 0) {
            double f = wanted / length;
            return CGPointMake(CGFloat(path[i - 1].x + (path[i].x - path[i - 1].x) * f),
                               CGFloat(path[i - 1].y + (path[i].y - path[i - 1].y) * f));
        }
        wanted -= length;
    }
    return path.back();
}

// What the view shows that a person could name it by.
bool showsText(const UIView& view, const std::string& text)
{
    if (view.accessibilityLabel() == text) return true;
    if (auto button = dynamic_cast<const UIButton*>(&view)) return button->currentTitle().value_or("") == text;
    if (auto label = dynamic_cast<const UILabel*>(&view)) return !label->text().empty() && label->text() == text;
    return false;
}

// Depth first, back to front (the order views are painted in): the last match is the frontmost.
void findFrontmost(const std::shared_ptr<UIView>& view, const std::string& text, std::shared_ptr<UIView>& found)
{
    if (view->isHidden() || view->alpha() < 0.01f) return;
    if (showsText(*view, text)) {
        if (!CGRectIsEmpty(UITestDriver::visibleRect(*view))) found = view;
        return;
    }
    for (const auto& subview : view->subviews()) findFrontmost(subview, text, found);
}

}  // namespace

UITestDriver::UITestDriver()
{
    DispatchClock::useVirtualTime(true);
}

UITestDriver::~UITestDriver()
{
    DispatchClock::useVirtualTime(false);
}

void UITestDriver::turn()
{
    DispatchRunLoop::drain();
}

void UITestDriver::advance(double seconds)
{
    turn();
    // The clock turns the run loop at every frame boundary and due time on the way.
    DispatchClock::advance(seconds);
    turn();
}

bool UITestDriver::runUntil(const std::function<bool()>& predicate, double timeout)
{
    // Virtual frames cost almost nothing, so on a loaded machine the timeout could pass before a
    // GL or CPU queue thread has run at all: past it, frames go on with a real pause between them
    // until the work has had kRealPatience seconds of real time too.
    constexpr auto kRealPatience = std::chrono::seconds(30);
    const auto start = std::chrono::steady_clock::now();
    for (double waited = 0;; waited += kFrame) {
        turn();
        if (predicate()) return true;
        if (waited >= timeout) {
            if (std::chrono::steady_clock::now() - start >= kRealPatience) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        DispatchClock::advance(kFrame);
    }
}

std::shared_ptr<UIImage> UITestDriver::snapshot(UIView& view)
{
    return UIViewSnapshot(view);
}

bool UITestDriver::writeSnapshot(UIView& view, const std::string& path)
{
    return UIImageWritePNGToFile(snapshot(view), path);
}

// ---- Touches ----

CGPoint UITestDriver::windowPoint(const UIView& view)
{
    CGRect b = view.bounds();
    return windowPoint(view, CGPointMake(CGRectGetMidX(b), CGRectGetMidY(b)));
}

CGPoint UITestDriver::windowPoint(const UIView& view, CGPoint point)
{
    auto window = view.window();
    if (window.get() == &view) return point;
    return view.convertPointToView(point, window.get());
}

void UITestDriver::touches(std::vector<UITouchInputPoint> points)
{
    UITouchInput::post(nullptr, std::move(points));
    turn();
}

void UITestDriver::touchDown(NSInteger number, CGPoint point)
{
    touches({{number, UITouchPhaseBegan, point}});
}

void UITestDriver::touchMove(NSInteger number, CGPoint point)
{
    touches({{number, UITouchPhaseMoved, point}});
}

void UITestDriver::touchUp(NSInteger number, CGPoint point)
{
    touches({{number, UITouchPhaseEnded, point}});
}

void UITestDriver::touchCancel(NSInteger number, CGPoint point)
{
    touches({{number, UITouchPhaseCancelled, point}});
}

void UITestDriver::tap(CGPoint point, int taps)
{
    for (int i = 0; i < taps; ++i) {
        if (i > 0) advance(kTapGap);
        touchDown(0, point);
        advance(kTapDown);
        touchUp(0, point);
    }
}

void UITestDriver::tap(const UIView& view, int taps)
{
    tap(windowPoint(view), taps);
}

void UITestDriver::press(CGPoint point, double seconds)
{
    touchDown(0, point);
    advance(seconds);
    touchUp(0, point);
}

void UITestDriver::moveOver(double seconds, const std::function<std::vector<UITouchInputPoint>(double)>& step)
{
    int moves = std::max(1, int(std::lround(seconds / kFrame)));
    for (int i = 1; i <= moves; ++i) {
        advance(kFrame);
        touches(step(double(i) / moves));
    }
}

void UITestDriver::drag(const std::vector<CGPoint>& path, double seconds, double hold)
{
    if (path.empty()) return;
    touchDown(0, path.front());
    moveOver(seconds, [&](double f) { return std::vector<UITouchInputPoint>{{0, UITouchPhaseMoved, along(path, f)}}; });
    if (hold > 0) advance(hold);
    touchUp(0, path.back());
}

void UITestDriver::pinch(CGPoint centre, CGFloat from, CGFloat to, double seconds)
{
    auto fingers = [&](double f, UITouchPhase phase) {
        CGFloat half = CGFloat(from + (to - from) * f) / 2;
        return std::vector<UITouchInputPoint>{{0, phase, CGPointMake(centre.x - half, centre.y)},
                                              {1, phase, CGPointMake(centre.x + half, centre.y)}};
    };
    touches(fingers(0, UITouchPhaseBegan));
    moveOver(seconds, [&](double f) { return fingers(f, UITouchPhaseMoved); });
    touches(fingers(1, UITouchPhaseEnded));
}

void UITestDriver::rotate(CGPoint centre, CGFloat radius, CGFloat angle, double seconds)
{
    auto fingers = [&](double f, UITouchPhase phase) {
        double a = angle * f;
        CGFloat dx = CGFloat(radius * std::cos(a)), dy = CGFloat(radius * std::sin(a));
        return std::vector<UITouchInputPoint>{{0, phase, CGPointMake(centre.x - dx, centre.y - dy)},
                                              {1, phase, CGPointMake(centre.x + dx, centre.y + dy)}};
    };
    touches(fingers(0, UITouchPhaseBegan));
    moveOver(seconds, [&](double f) { return fingers(f, UITouchPhaseMoved); });
    touches(fingers(1, UITouchPhaseEnded));
}

// ---- Keys ----

bool UITestDriver::typeText(const std::string& utf8)
{
    const bool typed = UIKeyboard::sharedKeyboard()->typeText(utf8, [this] { advance(kFrame); });
    turn();
    return typed;
}

bool UITestDriver::pressReturn()
{
    auto keyboard = UIKeyboard::sharedKeyboard();
    if (!keyboard->keyResponder()) return false;
    advance(kFrame);
    const bool pressed = keyboard->pressReturn();
    turn();
    return pressed;
}

bool UITestDriver::pressBackspace()
{
    auto keyboard = UIKeyboard::sharedKeyboard();
    if (!keyboard->keyResponder()) return false;
    advance(kFrame);
    const bool pressed = keyboard->pressBackspace();
    turn();
    return pressed;
}

CGRect UITestDriver::keyboardFrame()
{
    return UIKeyboard::sharedKeyboard()->frame();
}

// ---- Views by what they show ----

CGRect UITestDriver::visibleRect(const UIView& view)
{
    auto window = view.window();
    if (!window) return CGRectNull;
    CGRect visible = view.convertRectToView(view.bounds(), window.get());
    for (auto ancestor = view.superview(); ancestor; ancestor = ancestor->superview()) {
        if (ancestor->isHidden() || ancestor->alpha() < 0.01f) return CGRectNull;
        if (ancestor->clipsToBounds() && ancestor != window)
            visible = CGRectIntersection(visible, ancestor->convertRectToView(ancestor->bounds(), window.get()));
    }
    visible = CGRectIntersection(visible, window->bounds());
    // The keyboard spans the window's width from its top edge down: only what is above it shows.
    auto keyboard = UIKeyboard::sharedKeyboard();
    if (keyboard->window() == window && !keyboard->containsView(view) && !CGRectIsNull(visible)) {
        const CGFloat top = CGRectGetMinY(keyboard->frame());
        if (CGRectGetMaxY(visible) > top) visible.size.height = std::max<CGFloat>(0, top - visible.origin.y);
    }
    return CGRectIsEmpty(visible) ? CGRectNull : visible;
}

std::shared_ptr<UIView> UITestDriver::visibleViewWithLabel(const std::string& text)
{
    auto window = UIApplication::sharedApplication()->keyWindow();
    if (!window || text.empty()) return nullptr;
    window->layoutIfNeeded();
    std::shared_ptr<UIView> found;
    findFrontmost(window, text, found);
    return found;
}

bool UITestDriver::tapViewWithLabel(const std::string& text)
{
    auto view = visibleViewWithLabel(text);
    if (!view) return false;
    CGRect visible = visibleRect(*view);
    tap(CGPointMake(CGRectGetMidX(visible), CGRectGetMidY(visible)));
    return true;
}

bool UITestDriver::pressAlertButton(const std::string& title)
{
    auto alert = UIAlertView::visibleAlert();
    if (!alert) return false;
    auto button = alert->buttonWithTitle(title);
    if (!button) return false;
    tap(*button);
    return true;
}
