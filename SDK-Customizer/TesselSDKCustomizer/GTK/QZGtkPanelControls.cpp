#include "GTK/QZGtkPanelControls.h"

#include <pango/pango.h>

#include <cctype>

#include "GTK/QZGtkImages.h"
#include "Model/QZApplicationResources.h"

namespace customizer {

namespace {

// "navBarBackgroundColorWell" reads "Nav Bar Background".
std::string wellTitle(const std::string& outlet)
{
    std::string name = outlet;
    for (const char* suffix : {"ColorWell", "Well"}) {
        const std::string s = suffix;
        if (name.size() > s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0) {
            name.resize(name.size() - s.size());
            break;
        }
    }
    std::string title;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (i == 0)
            title += char(std::toupper(static_cast<unsigned char>(c)));
        else if (std::isupper(static_cast<unsigned char>(c)))
            title += std::string(" ") + c;
        else
            title += c;
    }
    return title;
}

PangoAttrList* titleAttributes(int points, const NSColorPtr& color)
{
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_size_new_absolute(points * PANGO_SCALE));
    pango_attr_list_insert(attributes, pango_attr_weight_new(PANGO_WEIGHT_BOLD));
    if (color) {
        pango_attr_list_insert(attributes, pango_attr_foreground_new(guint16(color->redComponent() * 65535),
                                                                     guint16(color->greenComponent() * 65535),
                                                                     guint16(color->blueComponent() * 65535)));
        pango_attr_list_insert(attributes, pango_attr_foreground_alpha_new(guint16(color->alphaComponent() * 65535)));
    }
    return attributes;
}

}  // namespace

QZGtkPanelControls::QZGtkPanelControls(const QZPanelLayout& layout, std::string resourcesFolder)
    : resourcesFolder_(std::move(resourcesFolder))
{
    root_.set_margin(16);

    // The stage: the backdrop, the canvas, the previews, then the titles over them.
    auto* frame = Gtk::make_managed<Gtk::Frame>();
    frame->set_child(stage_);
    frame->set_halign(Gtk::Align::CENTER);
    frame->set_valign(Gtk::Align::START);
    frame->set_hexpand(true);
    backdrop_.set_size_request(layout.stageWidth, layout.stageHeight);
    stage_.put(backdrop_, 0, 0);
    if (layout.canvas) {
        const QZPlacedView& place = *layout.canvas;
        auto* canvas = Gtk::make_managed<QZCanvasView>();
        canvas->set_size_request(place.width, place.height);
        stage_.put(*canvas, place.x, place.y);
        canvases_[place.outlet] = canvas;
    }
    for (const QZPlacedView& place : layout.previews) {
        // Every texture is made at the view's size, so the picture asks for exactly that.
        auto* picture = Gtk::make_managed<Gtk::Picture>();
        picture->set_can_shrink(true);
        picture->set_size_request(place.width, place.height);
        stage_.put(*picture, place.x, place.y);
        pictures_[place.outlet] = picture;
        sizes_[place.outlet] = {CGFloat(place.width), CGFloat(place.height)};
    }
    for (const QZPlacedTitle& title : layout.titles) {
        if (title.shadowOutlet)
            addTitleLabel(title.shadowOutlet, title.text, title.x, title.y + 1, title.width, title.height,
                          title.points);
        addTitleLabel(title.outlet, title.text, title.x, title.y, title.width, title.height, title.points);
    }
    root_.append(*frame);

    // The inspector.
    auto* side = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 12);
    side->set_size_request(300, -1);
    inspector_.set_row_spacing(6);
    inspector_.set_column_spacing(12);
    int row = 0;
    for (const QZWellBinding& well : layout.wells) {
        auto* name = Gtk::make_managed<Gtk::Label>(wellTitle(well.outlet));
        name->set_halign(Gtk::Align::START);
        name->set_hexpand(true);
        auto* button = Gtk::make_managed<Gtk::ColorButton>();
        button->set_use_alpha(true);
        button->set_title(wellTitle(well.outlet));
        const std::string outlet = well.outlet;
        button->signal_color_set().connect([this, outlet] {
            if (colorSet_) colorSet_(outlet);
        });
        inspector_.attach(*name, 0, row);
        inspector_.attach(*button, 1, row++);
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
        inspector_.attach(*check, 0, row++, 2, 1);
        checks_[outlet] = check;
    };
    for (const auto& [outlet, text] : layout.checkboxes) addCheck(outlet, text, false);
    for (const auto& [outlet, text] : layout.radios) addCheck(outlet, text, true);
    side->append(inspector_);
    side->append(buttons_);
    root_.append(*side);
}

void QZGtkPanelControls::addTitleLabel(const char* outlet, const char* text, int x, int y, int width, int height,
                                       int points)
{
    auto* label = Gtk::make_managed<Gtk::Label>(text);
    label->set_size_request(width, height);
    label->set_xalign(0.5);
    label->set_yalign(0.5);
    PangoAttrList* attributes = titleAttributes(points, nullptr);
    gtk_label_set_attributes(label->gobj(), attributes);
    pango_attr_list_unref(attributes);
    stage_.put(*label, x, y);
    labels_[outlet] = label;
    labelPoints_[outlet] = points;
}

void QZGtkPanelControls::addButton(const std::string& text, std::function<void()> action)
{
    auto* button = Gtk::make_managed<Gtk::Button>(text);
    button->signal_clicked().connect(std::move(action));
    buttons_.append(*button);
    resetButtons_.push_back(button);
}

Gtk::Button* QZGtkPanelControls::buttonLabelled(const std::string& text)
{
    for (Gtk::Button* button : resetButtons_)
        if (button->get_label().raw() == text) return button;
    return nullptr;
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
    const auto found = pictures_.find(outlet);
    if (found == pictures_.end()) return;
    // Images of the generators' own size are shown whole inside the view.
    const CGSize size = sizes_.at(outlet);
    found->second->set_paintable(QZTextureFromImageFittingSize(image, int(size.width), int(size.height)));
}

void QZGtkPanelControls::setImageNamed(const std::string& outlet, const std::string& name)
{
    const auto found = pictures_.find(outlet);
    if (found == pictures_.end()) return;
    const std::string path = QZApplicationResourcePath(resourcesFolder_, name);
    const CGSize size = sizes_.at(outlet);
    found->second->set_paintable(QZTextureFromFileStretched(path, int(size.width), int(size.height)));
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
    PangoAttrList* attributes = titleAttributes(labelPoints_.at(outlet), color);
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
    if (auto found = canvases_.find(outlet); found != canvases_.end()) found->second->setBackgroundColor(color);
}

}  // namespace customizer
