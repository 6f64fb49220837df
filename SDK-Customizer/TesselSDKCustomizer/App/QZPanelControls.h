#pragma once
// A colour panel's controls, addressed by their outlet names: colour wells, image views (whose
// sizes are fixed in the layout, known before the window shows), labels, check boxes and radio
// buttons, and the canvas.

#include <string>

#include "App/QZPanelView.h"
#include "Render/CGGeometry.h"
#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

class QZPanelControls : public QZPanelView {
public:
    // Filling a well never sends its colour action.
    virtual void setWellColor(const std::string& outlet, const NSColorPtr& color) = 0;
    virtual NSColorPtr wellColor(const std::string& outlet) const = 0;
    virtual void setImage(const std::string& outlet, const NSImagePtr& image) = 0;
    // One of the application's fixed images ("logo_black.png" ...), stretched to the view.
    virtual void setImageNamed(const std::string& outlet, const std::string& name) = 0;
    virtual CGSize boundsSize(const std::string& outlet) const = 0;
    virtual void setTextColor(const std::string& outlet, const NSColorPtr& color) = 0;
    virtual void setChecked(const std::string& outlet, bool checked) = 0;
    virtual void setHidden(const std::string& outlet, bool hidden) = 0;
    virtual void setBackgroundColor(const std::string& outlet, const NSColorPtr& color) = 0;
};

}  // namespace customizer
