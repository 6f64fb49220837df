// The window on a real display: it opens on Overall, each section shows its panel, a colour
// chosen in a well reaches the store and the preview, and the progress view shows during an
// export. Screenshots of each state go to the build tree for people; nothing compares them.

#include <gtest/gtest.h>

#include <gtkmm.h>

#include <chrono>
#include <filesystem>

#include "GTK/QZCustomizerWindow.h"
#include "support/QZThemeStoreFixture.h"

namespace fs = std::filesystem;

namespace customizer {
namespace {

using namespace customizer::testing;

// Runs the main loop for a while, so layout, drawing and the fades happen.
void pump(int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        while (g_main_context_iteration(nullptr, false)) {
        }
        g_usleep(5000);
    }
}

void screenshot(Gtk::Widget& window, const std::string& name)
{
    fs::create_directories(TESSEL_CUSTOMIZER_SCREENSHOTS_DIR);
    // A loaded machine may take a while to map and draw the window.
    GskRenderNode* node = nullptr;
    int width = 0, height = 0;
    for (int attempt = 0; attempt < 100 && !node; ++attempt) {
        width = window.get_width();
        height = window.get_height();
        if (window.get_mapped() && width > 0) {
            auto paintable = Gtk::WidgetPaintable::create(window);
            GtkSnapshot* snapshot = gtk_snapshot_new();
            gdk_paintable_snapshot(GDK_PAINTABLE(paintable->gobj()), GDK_SNAPSHOT(snapshot), width, height);
            node = gtk_snapshot_free_to_node(snapshot);
        }
        if (!node) pump(100);
    }
    ASSERT_NE(node, nullptr) << name;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    gsk_render_node_draw(node, cr);
    cairo_destroy(cr);
    const std::string path = std::string(TESSEL_CUSTOMIZER_SCREENSHOTS_DIR) + "/" + name + ".png";
    EXPECT_EQ(cairo_surface_write_to_png(surface, path.c_str()), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(surface);
    gsk_render_node_unref(node);
}

class QZCustomizerWindowSmokeTest : public QZThemeStoreTest {
protected:
    QZCustomizerWindowSmokeTest()
        : resources_("TESSEL_CUSTOMIZER_RESOURCES", std::string(TESSEL_CUSTOMIZER_RESOURCES_DIR)),
          config_("XDG_CONFIG_HOME", home_ / "config"), manager_(start())
    {
    }
    void SetUp() override
    {
        static Glib::RefPtr<Gtk::Application> application = Gtk::Application::create("org.tessel.SDKCustomizerTests");
        if (!gtk_init_check()) GTEST_SKIP() << "no display";
        window_ = std::make_unique<QZCustomizerWindow>(*manager_, TESSEL_CUSTOMIZER_RESOURCES_DIR,
                                                       QZDefaultExportRunner(TESSEL_CUSTOMIZER_RESOURCES_DIR));
        window_->present();
        pump(400);
    }
    void TearDown() override
    {
        if (!window_) return;
        window_->close();
        window_.reset();
        pump(50);
    }

    QZScopedEnvironment resources_;
    QZScopedEnvironment config_;
    std::unique_ptr<QZCustomizationDataManager> manager_;
    std::unique_ptr<QZCustomizerWindow> window_;
};

TEST_F(QZCustomizerWindowSmokeTest, OpensOnOverallAndShowsEachSection)
{
    EXPECT_EQ(window_->masterViewController().selectedRow(), 0u);
    screenshot(*window_, "1-Overall");
    for (size_t row = 1; row < kQZConfigSections.size(); ++row) {
        window_->masterView().clickRow(row);
        pump(700);  // both fades
        EXPECT_EQ(window_->masterViewController().selectedRow(), row);
        screenshot(*window_, std::to_string(row + 1) + "-" + kQZConfigSections[row].name);
    }
}

TEST_F(QZCustomizerWindowSmokeTest, AChosenColourReachesTheStoreAndThePreview)
{
    window_->masterView().clickRow(5);
    pump(700);
    QZGtkPanelControls& handles = window_->currentControls();
    const auto before = handles.paintable("knobImageView");
    ASSERT_TRUE(before);
    const NSColorPtr chosen = NSColor::colorWithCalibratedRed(1, 0, 0, 1);
    handles.chooseColor("handleColorWell", chosen);
    pump(50);
    EXPECT_TRUE(start()->overallAppearance().handleColor()->isEqual(*chosen));
    EXPECT_NE(handles.paintable("knobImageView"), before);
}

TEST_F(QZCustomizerWindowSmokeTest, TheProgressViewCoversThePanelsWhileExporting)
{
    window_->masterViewController().setExporting(true);
    QZExportView* view = window_->masterView().exportView();
    ASSERT_NE(view, nullptr);
    view->setText("savingStatusLabel", "26 / 26 Image Groups Saved");
    view->setHidden("savingStatusLabel", false);
    pump(200);
    screenshot(*window_, "7-Export");
    window_->masterViewController().setExporting(false);
    EXPECT_EQ(window_->masterView().exportView(), nullptr);
}

}  // namespace
}  // namespace customizer
