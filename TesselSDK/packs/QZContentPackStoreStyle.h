#pragma once
// What the two store screens share of their look: the text colour and shadow of their labels and
// the install button.

#include "UIKit/UIButton.h"
#include "UIKit/UILabel.h"

#include <memory>

// Dark slate text with a white shadow below.
void QZStyleStoreLabel(UILabel& label);
// The three stretchable backgrounds (normal, pressed, disabled), a bold 12-point title with a
// soft black shadow.
std::shared_ptr<UIButton> QZMakeStoreInstallButton();
// The store screens' light grey (249/255).
std::shared_ptr<UIColor> QZStoreBackgroundColor();
