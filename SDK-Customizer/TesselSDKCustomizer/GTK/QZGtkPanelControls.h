#pragma once
// A colour panel's controls as GTK widgets. On the left a stage, a piece of the editor's screen
// with each preview, title and canvas at its place, the previews at the fixed sizes the builders
// draw at; on the right the inspector: colour buttons with alpha (only the user's choice,
// "color-set", reaches the panel), check boxes, radio buttons and the reset buttons. Each title
// has its shadow twin behind it, one pixel lower; titles are coloured through Pango attributes.

#include <gtkmm.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "App/QZColourPanel.h"
#include "App/QZPanelControls.h"
#include "GTK/QZSmallViews.h"

namespace customizer {

struct QZPlacedView {
    const char* outlet;
    int x, y, width, height;
};

struct QZPlacedTitle {
    const char* outlet;
    const char* shadowOutlet;
    const char* text;
    int x, y, width, height;
    int points;  // font size
};

struct QZPanelLayout {
    std::vector<QZWellBinding> wells;
    int stageWidth = 0, stageHeight = 0;
    std::optional<QZPlacedView> canvas;
    std::vector<QZPlacedView> previews;                           // later ones over earlier ones
    std::vector<QZPlacedTitle> titles;                            // over every preview
    std::vector<std::pair<const char*, const char*>> checkboxes;  // outlet, text
    std::vector<std::pair<const char*, const char*>> radios;      // one group
};

class QZGtkPanelControls : public QZPanelControls {
public:
    QZGtkPanelControls(const QZPanelLayout& layout, std::string resourcesFolder);

    Gtk::Widget& widget() { return root_; }
    void onColorSet(std::function<void(const std::string&)> handler) { colorSet_ = std::move(handler); }
    void onToggled(std::function<void(const std::string&, bool)> handler) { toggled_ = std::move(handler); }
    void addButton(const std::string& text, std::function<void()> action);
    // For the smoke tests: the user's choice of a colour in a well, and what the views show.
    void chooseColor(const std::string& outlet, const NSColorPtr& color);
    Glib::RefPtr<Gdk::Paintable> paintable(const std::string& outlet);
    Gtk::Button* buttonLabelled(const std::string& text);

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
    void addTitleLabel(const char* outlet, const char* text, int x, int y, int width, int height, int points);
    Gtk::Widget* widgetNamed(const std::string& outlet) const;

    std::string resourcesFolder_;
    Gtk::Box root_{Gtk::Orientation::HORIZONTAL, 24};
    QZGradientBarView backdrop_;
    Gtk::Fixed stage_;
    Gtk::Grid inspector_;
    Gtk::Box buttons_{Gtk::Orientation::HORIZONTAL, 8};
    std::map<std::string, Gtk::ColorButton*> wells_;
    std::map<std::string, Gtk::Picture*> pictures_;
    std::map<std::string, CGSize> sizes_;
    std::map<std::string, Gtk::Label*> labels_;
    std::map<std::string, int> labelPoints_;
    std::map<std::string, Gtk::CheckButton*> checks_;
    std::map<std::string, QZCanvasView*> canvases_;
    std::vector<Gtk::Button*> resetButtons_;
    std::function<void(const std::string&)> colorSet_;
    std::function<void(const std::string&, bool)> toggled_;
    bool filling_ = false;
};

}  // namespace customizer
