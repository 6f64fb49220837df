#pragma once
// The test driver of every screen test: virtual time for the duration of the driver, run-loop
// turns on it, snapshots, and touches. Tests act as a person would: through touches, never by
// calling action methods.
//
// Touches go to the key window, at window points (a view's points are converted). Each raw touch
// call posts one input event and turns the run loop once, so it is delivered at the clock's time
// now. Gestures move their fingers 60 times per virtual second, each move with a run-loop turn.

#include "UIKit/UIImage.h"
#include "UIKit/UITouchInput.h"
#include "UIKit/UIView.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class UITestDriver {
public:
    // Switches the clock to virtual time; the destructor switches it back.
    UITestDriver();
    ~UITestDriver();
    UITestDriver(const UITestDriver&) = delete;
    UITestDriver& operator=(const UITestDriver&) = delete;

    // One run-loop turn at the current time.
    void turn();
    // Moves the clock on by `seconds`, a turn at every frame boundary (1/60 s) and due time on the
    // way, so that what falls due runs at its own time.
    void advance(double seconds);
    // Turns (advancing a frame of virtual time each) until the predicate holds or `timeout`
    // seconds of virtual time have passed, and at least 30 s of real time for work on other
    // threads; answers the predicate's last value.
    bool runUntil(const std::function<bool()>& predicate, double timeout = 5);

    static std::shared_ptr<UIImage> snapshot(UIView& view);
    // The snapshot as a PNG file; false when it cannot be written.
    static bool writeSnapshot(UIView& view, const std::string& path);

    // ---- Touches ----
    // A point of `view` (its bounds' centre by default) in its window's coordinates.
    static CGPoint windowPoint(const UIView& view);
    static CGPoint windowPoint(const UIView& view, CGPoint point);

    // Taps, each down for 0.05 s, the next starting 0.15 s after the last; one turn after the
    // last lift (a recogniser waiting for more taps needs the clock advanced).
    void tap(CGPoint point, int taps = 1);
    void tap(const UIView& view, int taps = 1);
    // One finger down at `point` for `seconds`, then lifted.
    void press(CGPoint point, double seconds);
    // One finger down at the path's first point, moved along it (by length) over `seconds`, held
    // still at its end for `hold` seconds, then lifted.
    void drag(const std::vector<CGPoint>& path, double seconds, double hold = 0);
    // Two fingers on a horizontal line through `centre`, `from` points apart, moved to `to`
    // points apart over `seconds`, then lifted.
    void pinch(CGPoint centre, CGFloat from, CGFloat to, double seconds);
    // Two fingers `radius` from `centre` on either side, turned by `angle` radians (clockwise on
    // the screen) over `seconds`, then lifted.
    void rotate(CGPoint centre, CGFloat radius, CGFloat angle, double seconds);

    // Raw touches by number.
    void touchDown(NSInteger number, CGPoint point);
    void touchMove(NSInteger number, CGPoint point);
    void touchUp(NSInteger number, CGPoint point);
    void touchCancel(NSInteger number, CGPoint point);
    // Several touches changing in one event.
    void touches(std::vector<UITouchInputPoint> points);

    // ---- Keys ----
    // Typed as the keyboard types (UIKeyboard::typeText): one key per composed character, the
    // clock moving on 1/60 s before each key. NO, with nothing typed and the clock where it was,
    // when the key window's first responder is no key input (or the text is ill-formed UTF-8).
    bool typeText(const std::string& utf8);
    // One key each, the clock moving on 1/60 s first; NO without a key input first responder.
    bool pressReturn();
    bool pressBackspace();
    // The keyboard and its accessory in window points where they stand once shown; null while
    // the keyboard is hidden.
    static CGRect keyboardFrame();

    // ---- Views by what they show ----
    // The frontmost view of the key window whose accessibility label, button title (as shown
    // now) or label text equals `text`, among the views a person can see: not hidden, not
    // transparent (alpha below 0.01, itself or an ancestor), not wholly outside the window or
    // a clipping ancestor, and not wholly under the keyboard. A match stands for its subviews (a
    // button, not its title label). The window is laid out first. Null when none.
    static std::shared_ptr<UIView> visibleViewWithLabel(const std::string& text);
    // The part of the view a person sees, in window points (empty when none): a keyboard on
    // screen covers what lies under it, though not its own views.
    static CGRect visibleRect(const UIView& view);
    // Taps the middle of the visible part of that view; false (nothing tapped) when there is
    // none.
    bool tapViewWithLabel(const std::string& text);

    // Taps the button of the visible alert that shows `title`; false (nothing tapped) when no
    // alert is visible or none of its buttons shows the title. The alert fades out over 0.2 s.
    bool pressAlertButton(const std::string& title);

private:
    // Posts one event per step: `step(fraction)` gives the touches at that fraction of the way.
    void moveOver(double seconds, const std::function<std::vector<UITouchInputPoint>(double)>& step);
};
