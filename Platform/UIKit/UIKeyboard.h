#pragma once
// The keyboard: one for the application, shown while the key window's first responder is a key
// input (UIKeyInput). A grey panel drawn in code, of the device's keyboard height, with that
// responder's input accessory view on top of it (window-wide, at its own height); both are the key
// window's frontmost subviews. It covers what lies under it (the panel takes the touches that land
// on it) and resizes nothing: screens that must stay visible follow its notifications.
//
// Heights in points: a phone's 216 in portrait and 162 in landscape, a tablet's 264 and 352.
//
// Showing: the responder has been told it began editing; then UIKeyboardWillShowNotification, a
// 0.25 s slide up from below the window, UIKeyboardDidShowNotification. Hiding: the responder has
// been told it ended; UIKeyboardWillHideNotification, the slide down, UIKeyboardDidHideNotification.
// userInfo holds the begin and end frames (NSValue rects in the key window's coordinates, panel
// and accessory together), the duration (0.25) and the curve (UIViewAnimationCurveEaseInOut). A
// switch of first responder between two key inputs posts nothing unless the accessory's height
// changes: then will-show and did-show with the new frame. A device turn hides it before the turn
// and shows it again, at the new size, after. Main thread only.

#include "UIKit/UIDevice.h"
#include "UIKit/UIView.h"

#include <functional>
#include <memory>
#include <string_view>

class UIKeyInput;
class UIWindow;

inline constexpr const char* UIKeyboardWillShowNotification = "UIKeyboardWillShowNotification";
inline constexpr const char* UIKeyboardDidShowNotification = "UIKeyboardDidShowNotification";
inline constexpr const char* UIKeyboardWillHideNotification = "UIKeyboardWillHideNotification";
inline constexpr const char* UIKeyboardDidHideNotification = "UIKeyboardDidHideNotification";
inline constexpr const char* UIKeyboardFrameBeginUserInfoKey = "UIKeyboardFrameBeginUserInfoKey";
inline constexpr const char* UIKeyboardFrameEndUserInfoKey = "UIKeyboardFrameEndUserInfoKey";
inline constexpr const char* UIKeyboardAnimationDurationUserInfoKey = "UIKeyboardAnimationDurationUserInfoKey";
inline constexpr const char* UIKeyboardAnimationCurveUserInfoKey = "UIKeyboardAnimationCurveUserInfoKey";

class UIKeyboard : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<UIKeyboard> sharedKeyboard();

    static constexpr double kAnimationDuration = 0.25;
    // The panel's height (the accessory's comes on top).
    static CGFloat panelHeight(UIUserInterfaceIdiom idiom, bool landscape);

    // In a window: sliding in, shown, or sliding out.
    bool isVisible() const { return state_ != State::Hidden; }
    // Panel and accessory together in the window's coordinates, where the slide under way ends
    // (below the window while sliding out); null while hidden.
    CGRect frame() const;
    std::shared_ptr<UIWindow> window() const { return window_.lock(); }
    // Made on first show.
    const std::shared_ptr<UIView>& panelView() const { return panel_; }
    const std::shared_ptr<UIView>& accessoryView() const { return accessory_; }
    // The panel, the accessory, or a view inside either.
    bool containsView(const UIView& view) const;

    // ---- Keys ----
    // The key window's first responder when it is a key input; null otherwise.
    std::shared_ptr<UIResponder> keyResponder() const;
    // Each answers NO, typing nothing, when the key window's first responder is no key input.
    // One insertText per composed character (an emoji with its modifiers is one key), after the
    // responder's autocapitalisation: all characters upper case; sentences: the first letter of the
    // text and after ". ", "! ", "? " or a line feed; words: after white space. The text before the
    // caret decides (a text view's; other key inputs count as empty until they have text, then as
    // inside a word). `beforeEachKey`, when given, runs before every key (the test driver moves the
    // clock there). Ill-formed UTF-8 answers NO and types nothing; typing stops (NO) if the
    // responder goes away between keys.
    bool typeText(std::string_view utf8, const std::function<void()>& beforeEachKey = nullptr);
    // insertText("\n").
    bool pressReturn();
    // deleteBackward.
    bool pressBackspace();

    // ---- Following the responders (UIKit calls these) ----
    // Shows, hides or swaps the accessory after the key window or its first responder changed.
    void update();
    // Gone before the turn (will-hide and did-hide at once), back after it.
    void deviceWillTurn();
    void deviceDidTurn();
    // A view added to `window` goes below the keyboard.
    void keepFrontmostIn(UIWindow& window, const UIView* added);

private:
    enum class State { Hidden, Showing, Shown, Hiding };

    // Where panel and accessory stand shown in the window, or just below it.
    CGRect shownFrame(const UIWindow& window, const UIView* accessory) const;
    void place(const UIWindow& window, bool shown);
    void show(const std::shared_ptr<UIWindow>& window, const std::shared_ptr<UIResponder>& responder);
    void hide();
    // Swaps in the accessory of the new responder; its height changing moves the keyboard.
    void switchTo(const std::shared_ptr<UIResponder>& responder);
    void slide(CGRect begin, CGRect end, bool showing);
    void removeViews();
    void post(const char* name, CGRect begin, CGRect end) const;

    State state_ = State::Hidden;
    std::weak_ptr<UIWindow> window_;
    std::weak_ptr<UIResponder> responder_;
    std::shared_ptr<UIView> panel_;
    std::shared_ptr<UIView> accessory_;
    CGRect frame_ = CGRectNull;
    CGRect slideBegin_ = CGRectNull;
    unsigned slides_ = 0;  // counts slides, so that only the last one's end is reported
    bool turning_ = false;
};
