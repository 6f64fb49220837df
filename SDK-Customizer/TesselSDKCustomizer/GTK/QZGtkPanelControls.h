#pragma once
// A colour panel's controls as GTK widgets, laid out from the panel's list of outlets: colour
// buttons with alpha (only the user's choice, "color-set", reaches the panel), previews of fixed
// sizes, labels coloured through Pango attributes, check boxes, radio buttons, the canvas and
// the reset buttons.

#include <gtkmm.h>

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "App/QZColourPanel.h"
#include "App/QZPanelControls.h"

namespace customizer {

struct QZPanelLayout {
    std::vector<QZWellBinding> wells;
    std::vector<std::tuple<const char*, int, int>> previews;  // outlet, width, height
    std::vector<std::pair<const char*, const char*>> labels;  // outlet, text
    std::vector<std::pair<const char*, const char*>> checkboxes;
    std::vector<std::pair<const char*, const char*>> radios;  // one group
    const char* canvas = nullptr;
};

class QZGtkPanelControls : public QZPanelControls {
public:
    QZGtkPanelControls(const QZPanelLayout& layout, std::string resourcesFolder);

    Gtk::Widget& widget() { return root_; }
    void onColorSet(std::function<void(const std::string&)> handler) { colorSet_ = std::move(handler); }
    void onToggled(std::function<void(const std::string&, bool)> handler) { toggled_ = std::move(handler); }
    void addButton(const std::string& text, std::function<void()> action);
    // For the smoke test: the user's choice of a colour in a well.
    void chooseColor(const std::string& outlet, const NSColorPtr& color);
    Glib::RefPtr<Gdk::Paintable> paintable(const std::string& outlet);

    void setAlpha(double alpha) override { root_.set_opacity(alpha); }
    void setWellColor(const std::string& outlet, const NSColorPtr& color) override;
    NSColorPtr wellColor(const std::string& outlet) const override;
    void setImage(const std::string& outlet, const NSImagePtr& image) override;
    void setImageNamed(const std::string& outlet, const std::string& name) override;
    CGSize boundsSize(const std::string& outlet) const override;
    void setTextColor(const std::string& outlet, const NSColorPtr& color) override;
    void setChecked(const std::string& outlet, bool checked) override;
    void setHidden(const std::string& outlet, bool hidden) override;
    void setBackgroundColor(const std::string& outlet, const NSColorPtr& color) override;

private:
    Gtk::Widget* widgetNamed(const std::string& outlet) const;

    std::string resourcesFolder_;
    Gtk::Box root_{Gtk::Orientation::HORIZONTAL, 16};
    Gtk::Grid controls_;
    Gtk::Box buttons_{Gtk::Orientation::HORIZONTAL, 8};
    Gtk::FlowBox previews_;
    std::map<std::string, Gtk::ColorButton*> wells_;
    std::map<std::string, Gtk::Picture*> pictures_;
    std::map<std::string, CGSize> sizes_;
    std::map<std::string, Gtk::Label*> labels_;
    std::map<std::string, Gtk::CheckButton*> checks_;
    std::map<std::string, Gtk::DrawingArea*> canvases_;
    std::map<std::string, NSColorPtr> canvasColors_;
    std::function<void(const std::string&)> colorSet_;
    std::function<void(const std::string&, bool)> toggled_;
    bool filling_ = false;
};

}  // namespace customizer
