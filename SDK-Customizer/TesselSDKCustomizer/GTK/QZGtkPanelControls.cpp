#include "GTK/QZGtkPanelControls.h"

#include <pango/pango.h>

#include "GTK/QZGtkImages.h"
#include "Model/QZApplicationResources.h"

namespace customizer {

QZGtkPanelControls::QZGtkPanelControls(const QZPanelLayout& layout, std::string resourcesFolder)
    : resourcesFolder_(std::move(resourcesFolder))
{
    root_.set_margin(16);
    controls_.set_row_spacing(6);
    controls_.set_column_spacing(8);
    auto* left = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 12);
    left->append(controls_);
    left->append(buttons_);
    root_.append(*left);
    previews_.set_selection_mode(Gtk::SelectionMode::NONE);
    previews_.set_hexpand(true);
    previews_.set_valign(Gtk::Align::START);
    root_.append(previews_);

    int row = 0;
    for (const QZWellBinding& well : layout.wells) {
        auto* name = Gtk::make_managed<Gtk::Label>(well.attribute);
        name->set_halign(Gtk::Align::START);
        auto* button = Gtk::make_managed<Gtk::ColorButton>();
        button->set_use_alpha(true);
        const std::string outlet = well.outlet;
        button->signal_color_set().connect([this, outlet] {
            if (colorSet_) colorSet_(outlet);
        });
        controls_.attach(*name, 0, row);
        controls_.attach(*button, 1, row++);
        wells_[outlet] = button;
    }
    Gtk::CheckButton* group = nullptr;
    auto addCheck = [&](const char* outlet, const char* text, bool radio) {
        auto* check = Gtk::make_managed<Gtk::CheckButton>(text);
        if (radio) {
            if (group)
                check->set_group(*group);
            else
                group = check;
        }
        const std::string name = outlet;
        check->signal_toggled().connect([this, name, check] {
            if (!filling_ && toggled_) toggled_(name, check->get_active());
        });
        controls_.attach(*check, 0, row++, 2, 1);
        checks_[outlet] = check;
    };
    for (const auto& [outlet, text] : layout.checkboxes) addCheck(outlet, text, false);
    for (const auto& [outlet, text] : layout.radios) addCheck(outlet, text, true);

    if (layout.canvas) {
        auto* canvas = Gtk::make_managed<Gtk::DrawingArea>();
        canvas->set_content_width(120);
        canvas->set_content_height(80);
        const std::string outlet = layout.canvas;
        canvas->set_draw_func([this, outlet](const Cairo::RefPtr<Cairo::Context>& cr, int, int) {
            const NSColorPtr& color = canvasColors_[outlet];
            if (!color) return;  // clear until set
            cr->set_source_rgba(color->redComponent(), color->greenComponent(), color->blueComponent(), color->alphaComponent());
            cr->paint();
        });
        previews_.append(*canvas);
        canvases_[outlet] = canvas;
    }
    for (const auto& [outlet, width, height] : layout.previews) {
        auto* picture = Gtk::make_managed<Gtk::Picture>();
        picture->set_size_request(width, height);
        picture->set_can_shrink(true);
        picture->set_keep_aspect_ratio(false);
        // The builders drew at this size: the flow box must not stretch it.
        picture->set_halign(Gtk::Align::START);
        picture->set_valign(Gtk::Align::START);
        previews_.append(*picture);
        pictures_[outlet] = picture;
        sizes_[outlet] = {CGFloat(width), CGFloat(height)};
    }
    for (const auto& [outlet, text] : layout.labels) {
        auto* label = Gtk::make_managed<Gtk::Label>(text);
        previews_.append(*label);
        labels_[outlet] = label;
    }
}

void QZGtkPanelControls::addButton(const std::string& text, std::function<void()> action)
{
    auto* button = Gtk::make_managed<Gtk::Button>(text);
    button->signal_clicked().connect(std::move(action));
    buttons_.append(*button);
}

void QZGtkPanelControls::chooseColor(const std::string& outlet, const NSColorPtr& color)
{
    Gtk::ColorButton* button = wells_.at(outlet);
    button->set_rgba(QZRGBAFromColor(color));
    g_signal_emit_by_name(button->gobj(), "color-set");
}

Glib::RefPtr<Gdk::Paintable> QZGtkPanelControls::paintable(const std::string& outlet)
{
    return pictures_.count(outlet) ? pictures_.at(outlet)->get_paintable() : Glib::RefPtr<Gdk::Paintable>();
}

void QZGtkPanelControls::setWellColor(const std::string& outlet, const NSColorPtr& color)
{
    if (auto found = wells_.find(outlet); found != wells_.end()) found->second->set_rgba(QZRGBAFromColor(color));
}

NSColorPtr QZGtkPanelControls::wellColor(const std::string& outlet) const
{
    const auto found = wells_.find(outlet);
    return found == wells_.end() ? nullptr : QZColorFromRGBA(found->second->get_rgba());
}

void QZGtkPanelControls::setImage(const std::string& outlet, const NSImagePtr& image)
{
    if (auto found = pictures_.find(outlet); found != pictures_.end()) found->second->set_paintable(QZTextureFromImage(image));
}

void QZGtkPanelControls::setImageNamed(const std::string& outlet, const std::string& name)
{
    const auto found = pictures_.find(outlet);
    if (found == pictures_.end()) return;
    const std::string path = QZApplicationResourcePath(resourcesFolder_, name);
    if (Glib::file_test(path, Glib::FileTest::IS_REGULAR))
        found->second->set_filename(path);
    else
        found->second->set_paintable({});
}

CGSize QZGtkPanelControls::boundsSize(const std::string& outlet) const
{
    const auto found = sizes_.find(outlet);
    return found == sizes_.end() ? CGSize{0, 0} : found->second;
}

void QZGtkPanelControls::setTextColor(const std::string& outlet, const NSColorPtr& color)
{
    const auto found = labels_.find(outlet);
    if (found == labels_.end()) return;
    PangoAttrList* attributes = pango_attr_list_new();
    if (color) {
        pango_attr_list_insert(attributes, pango_attr_foreground_new(guint16(color->redComponent() * 65535),
                                                                     guint16(color->greenComponent() * 65535),
                                                                     guint16(color->blueComponent() * 65535)));
        pango_attr_list_insert(attributes, pango_attr_foreground_alpha_new(guint16(color->alphaComponent() * 65535)));
    }
    gtk_label_set_attributes(found->second->gobj(), attributes);
    pango_attr_list_unref(attributes);
}

void QZGtkPanelControls::setChecked(const std::string& outlet, bool checked)
{
    const auto found = checks_.find(outlet);
    if (found == checks_.end()) return;
    filling_ = true;
    found->second->set_active(checked);
    filling_ = false;
}

Gtk::Widget* QZGtkPanelControls::widgetNamed(const std::string& outlet) const
{
    if (auto found = pictures_.find(outlet); found != pictures_.end()) return found->second;
    if (auto found = labels_.find(outlet); found != labels_.end()) return found->second;
    if (auto found = checks_.find(outlet); found != checks_.end()) return found->second;
    return nullptr;
}

void QZGtkPanelControls::setHidden(const std::string& outlet, bool hidden)
{
    if (Gtk::Widget* widget = widgetNamed(outlet)) widget->set_visible(!hidden);
}

void QZGtkPanelControls::setBackgroundColor(const std::string& outlet, const NSColorPtr& color)
{
    const auto found = canvases_.find(outlet);
    if (found == canvases_.end()) return;
    canvasColors_[outlet] = color;
    found->second->queue_draw();
}

}  // namespace customizer
