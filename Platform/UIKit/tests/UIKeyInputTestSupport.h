#pragma once
// What the key-input tests share: a phone-sized key window on the virtual clock, text views that
// report their editing, and a record of the keyboard's notifications with their frames and times.

#include "Dispatch/DispatchClock.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSValue.h"
#include "Foundation/PlatformSettings.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIKeyboard.h"
#include "UIKit/UITextView.h"
#include "UIKit/UIToolbar.h"
#include "UIKit/UIWindow.h"
#include "UIKit/testing/UITestDriver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

inline std::string rectText(CGRect r)
{
    if (CGRectIsNull(r)) return "null";
    char text[96];
    std::snprintf(text, sizeof text, "(%g, %g, %g, %g)", double(r.origin.x), double(r.origin.y), double(r.size.width),
                  double(r.size.height));
    return text;
}

// Writes what its text view tells it into a shared log as "<name> begin|change|end", and answers
// the change question as told.
struct EditingLog : UITextViewDelegate {
    std::vector<std::string>* log = nullptr;
    std::string name;
    std::optional<bool> allowChanges;
    std::vector<std::string> asked;  // the replacement texts it was asked about

    std::optional<bool> textViewShouldChangeTextInRangeReplacementText(UITextView*, NSRange,
                                                                       const std::string& text) override
    {
        asked.push_back(text);
        return allowChanges;
    }
    void textViewDidBeginEditing(UITextView*) override { log->push_back(name + " begin"); }
    void textViewDidChange(UITextView*) override { log->push_back(name + " change"); }
    void textViewDidEndEditing(UITextView*) override { log->push_back(name + " end"); }
};

// A text view that will not let go of the keyboard.
class ClingingTextView : public UITextView {
public:
    using UITextView::UITextView;
    bool canResignFirstResponder() const override { return false; }
};

class KeyInputTest : public ::testing::Test {
protected:
    struct Note {
        std::string name;
        double time;
        std::string begin;
        std::string end;
        double duration;
        NSInteger curve;
    };

    void SetUp() override
    {
        PlatformSettings::setScreenSize(320, 568);
        UIApplication::sharedApplication()->setStatusBarOrientation(UIInterfaceOrientationPortrait);
        window = UIWindow::window();
        window->makeKeyAndVisible();
        auto center = NSNotificationCenter::defaultCenter();
        for (const char* name : {UIKeyboardWillShowNotification, UIKeyboardDidShowNotification,
                                 UIKeyboardWillHideNotification, UIKeyboardDidHideNotification}) {
            tokens.push_back(
                center->addObserverForName(name, nullptr, [this](const std::shared_ptr<NSNotification>& n) {
                    std::string shortName = n->name() == UIKeyboardWillShowNotification   ? "will-show"
                                            : n->name() == UIKeyboardDidShowNotification  ? "did-show"
                                            : n->name() == UIKeyboardWillHideNotification ? "will-hide"
                                                                                          : "did-hide";
                    log.push_back(shortName);
                    const Value& info = n->userInfo();
                    auto rect = [&](const char* key) {
                        auto value = info[key].object<NSValue>();
                        return value ? rectText(value->CGRectValue()) : "none";
                    };
                    notes.push_back({shortName, DispatchClock::nowSeconds(), rect(UIKeyboardFrameBeginUserInfoKey),
                                     rect(UIKeyboardFrameEndUserInfoKey),
                                     info[UIKeyboardAnimationDurationUserInfoKey].doubleValue(),
                                     info[UIKeyboardAnimationCurveUserInfoKey].integerValue()});
                }));
        }
    }
    void TearDown() override
    {
        for (const auto& token : tokens) NSNotificationCenter::defaultCenter()->removeObserver(token);
        PlatformSettings::reset();
    }

    // A text view in `parent` (the window by default) whose editing goes to the log under `name`.
    std::shared_ptr<UITextView> textView(const std::string& name, std::shared_ptr<UIView> parent = nullptr,
                                         std::shared_ptr<UITextView> view = nullptr)
    {
        if (!view) view = UIView::viewWithFrame<UITextView>(CGRectMake(10, 40, 200, 40));
        auto editing = std::make_shared<EditingLog>();
        editing->log = &log;
        editing->name = name;
        delegates.push_back(editing);
        view->setDelegate(editing);
        (parent ? parent : window)->addSubview(view);
        return view;
    }
    std::shared_ptr<EditingLog> delegateOf(const UITextView& view) const
    {
        return std::static_pointer_cast<EditingLog>(view.delegate().lock());
    }

    // A black translucent bar of the window's width with a flexible space and Done.
    template <class T, class C>
    std::shared_ptr<UIToolbar> doneBar(const std::shared_ptr<T>& target, void (C::*action)(), CGFloat height = 44)
    {
        auto bar = UIView::viewWithFrame<UIToolbar>(CGRectMake(0, 0, 320, height));
        bar->setBarStyle(UIBarStyleBlackTranslucent);
        bar->setItems({UIBarButtonItem::makeWithBarButtonSystemItem(UIBarButtonSystemItemFlexibleSpace),
                       UIBarButtonItem::makeWithBarButtonSystemItem(UIBarButtonSystemItemDone, target, action)});
        return bar;
    }

    UITestDriver driver;
    std::shared_ptr<UIWindow> window;
    std::vector<std::string> log;
    std::vector<Note> notes;
    std::vector<std::shared_ptr<NSObject>> tokens;
    std::vector<std::shared_ptr<EditingLog>> delegates;
};
