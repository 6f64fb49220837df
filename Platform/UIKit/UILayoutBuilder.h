#pragma once
// Layouts are code: a process-wide table from a nib name to the function that builds a
// controller's root view. A builder makes the views with initWithFrame (or init), assigns the
// owner's outlets through its setters, and answers the root view. A controller made with a nib
// name calls its builder from loadView.

#include <functional>
#include <memory>
#include <string>

class UIView;
class UIViewController;

using UILayoutBuilder = std::function<std::shared_ptr<UIView>(UIViewController& owner)>;

// Registering a name again replaces its builder; an empty builder removes the name.
void UIRegisterLayoutBuilder(const std::string& nibName, UILayoutBuilder builder);
// Empty when the name has no builder.
UILayoutBuilder UILayoutBuilderForNibName(const std::string& nibName);
