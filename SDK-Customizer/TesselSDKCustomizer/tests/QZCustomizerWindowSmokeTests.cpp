// The window on a real display: it opens on Overall, each section shows its panel, a colour
// chosen in a well reaches the store and the preview, Reset and theme files through answered
// dialogs, a whole export into a project tree with the controls disabled while it runs, and an
// alert before the end when the store fails. Screenshots of each panel and of the export go to
// the build tree for people; nothing compares them.

#include <gtest/gtest.h>

#include <gtkmm.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "Export/QZBundleFormat.h"
#include "GTK/QZCustomizerWindow.h"
#include "GTK/QZGtkStoreFailure.h"
#include "GTK/QZSubViewsEnabled.h"
#include "support/QZAppFakes.h"
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

// Runs the main loop until the condition holds or the seconds pass; answers the condition.
bool pumpUntil(const std::function<bool()>& done, int seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done() && std::chrono::steady_clock::now() < end) {
        while (g_main_context_iteration(nullptr, false)) {}
        g_usleep(5000);
    }
    return done();
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
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
        window_ =
            std::make_unique<QZCustomizerWindow>(*manager_, TESSEL_CUSTOMIZER_RESOURCES_DIR,
                                                 QZDefaultExportRunner(TESSEL_CUSTOMIZER_RESOURCES_DIR), &dialogs_);
        window_->present();
        pump(400);
    }
    // What a click on the button sends; a person cannot click a disabled one.
    static void click(Gtk::Widget& widget)
    {
        auto* button = dynamic_cast<Gtk::Button*>(&widget);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->is_sensitive());
        g_signal_emit_by_name(button->gobj(), "clicked");
    }
    Gtk::Widget& outlet(const char* name) { return *window_->masterView().outlet(name); }
    // Selects the row, then waits for both fades (on the window's frame clock): the old panel
    // gone, the new one fully shown.
    void showSection(size_t row)
    {
        window_->masterView().clickRow(row);
        const bool faded = pumpUntil(
            [this] {
                int panels = 0;
                for (Gtk::Widget* child = outlet("configurationContainerView").get_first_child(); child;
                     child = child->get_next_sibling())
                    ++panels;
                return panels == 1 && window_->currentControls().widget().get_opacity() == 1.0;
            },
            60);
        EXPECT_TRUE(faded) << "section " << row;
        pump(100);  // drawn
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
    QZScriptedDialogs dialogs_;
    std::unique_ptr<QZCustomizerWindow> window_;
};

TEST_F(QZCustomizerWindowSmokeTest, OpensOnOverallAndShowsEachSection)
{
    EXPECT_EQ(window_->masterViewController().selectedRow(), 0u);
    screenshot(*window_, "1-Overall");
    for (size_t row = 1; row < kQZConfigSections.size(); ++row) {
        showSection(row);
        EXPECT_EQ(window_->masterViewController().selectedRow(), row);
        screenshot(*window_, std::to_string(row + 1) + "-" + kQZConfigSections[row].name);
    }
}

TEST_F(QZCustomizerWindowSmokeTest, AChosenColourReachesTheStoreAndThePreview)
{
    showSection(5);
    QZGtkPanelControls& handles = window_->currentControls();
    const auto before = handles.paintable("knobImageView");
    ASSERT_TRUE(before);
    const NSColorPtr chosen = NSColor::colorWithCalibratedRed(1, 0, 0, 1);
    handles.chooseColor("handleColorWell", chosen);
    pump(50);
    EXPECT_TRUE(start()->overallAppearance().handleColor()->isEqual(*chosen));
    EXPECT_NE(handles.paintable("knobImageView"), before);
}

TEST_F(QZCustomizerWindowSmokeTest, ResetAsksFirstThenRestoresEveryDefaultInThePanelOnShow)
{
    showSection(5);
    const NSColorPtr red = NSColor::colorWithCalibratedRed(1, 0, 0, 1);
    window_->currentControls().chooseColor("handleColorWell", red);
    const auto redKnob = window_->currentControls().paintable("knobImageView");

    dialogs_.confirmationAnswers = {false, true};
    click(outlet("resetButton"));
    pump(50);
    ASSERT_EQ(dialogs_.confirmations.size(), 1u);
    EXPECT_EQ(dialogs_.confirmations[0].title, "Are You Sure?");
    EXPECT_TRUE(start()->overallAppearance().handleColor()->isEqual(*red));

    click(outlet("resetButton"));
    pump(50);
    EXPECT_TRUE(start()->overallAppearance() == defaults());
    QZGtkPanelControls& handles = window_->currentControls();
    EXPECT_TRUE(handles.wellColor("handleColorWell")->isEqual(*defaults().handleColor()));
    EXPECT_NE(handles.paintable("knobImageView"), redKnob);
}

TEST_F(QZCustomizerWindowSmokeTest, ARefusedThemeFileIsToldAndAValidOneShowsAtOnce)
{
    showSection(5);
    const fs::path broken = home_.path() / "broken.tslcst", good = home_.path() / "good.tslcst";
    writeFile(broken, "not a theme");
    const NSColorPtr teal = NSColor::colorWithCalibratedRed(0, 0.5, 0.5, 1);
    manager_->overallAppearance().setValueForKey(teal, "handleColor");
    manager_->save();
    dialogs_.chooserAnswers = {good.string()};
    click(window_->saveButton());
    ASSERT_TRUE(fs::exists(good));
    manager_->resetAllKeys();
    window_->masterViewController().currentViewController()->setupControls();

    dialogs_.chooserAnswers = {broken.string(), std::nullopt};
    click(window_->openButton());
    pump(50);
    ASSERT_EQ(dialogs_.alerts.size(), 1u);
    EXPECT_EQ(dialogs_.alerts[0].title,
              "The customization file you are trying to load appears to be invalid. Please try a different one.");
    EXPECT_TRUE(start()->overallAppearance() == defaults());
    EXPECT_EQ(readFile(broken), "not a theme");

    const auto knob = window_->currentControls().paintable("knobImageView");
    dialogs_.chooserAnswers = {good.string()};
    click(window_->openButton());
    pump(50);
    EXPECT_EQ(dialogs_.alerts.size(), 1u);
    EXPECT_TRUE(window_->currentControls().wellColor("handleColorWell")->isEqual(*teal));
    EXPECT_NE(window_->currentControls().paintable("knobImageView"), knob);
}

// A project as the chooser gives it: the project folder beside "TesselSDK/Resources".
class QZCustomizerWindowExportTest : public QZCustomizerWindowSmokeTest {
protected:
    QZCustomizerWindowExportTest()
    {
        fs::create_directories(project_ / "App.xcodeproj");
        fs::create_directories(project_ / "TesselSDK/Resources");
    }
    fs::path bundle() const { return project_ / "TesselSDK/Resources/TesselSDKResources.bundle"; }
    void exportThroughTheWindow()
    {
        dialogs_.chooserAnswers = {(project_ / "App.xcodeproj").string()};
        click(outlet("applyButton"));
    }
    bool waitForExport()
    {
        return pumpUntil([this] { return !window_->appDelegate().isExporting(); }, 300);
    }

    fs::path project_ = home_.path() / "Project";
};

TEST_F(QZCustomizerWindowExportTest, TheControlsAreDisabledWhileTheWholeBundleIsWritten)
{
    QZScopedEnvironment compressor("TESSEL_CUSTOMIZER_COMPRESSOR", std::string("/bin/true"));
    exportThroughTheWindow();
    ASSERT_TRUE(window_->appDelegate().isExporting());
    ASSERT_NE(window_->masterView().exportView(), nullptr);
    for (Gtk::Widget* action : {&window_->openButton(), &window_->saveButton(), &window_->exportButton()})
        EXPECT_FALSE(action->get_sensitive());
    for (const char* name : {"applyButton", "resetButton", "compressPNGsButton", "compressHelpButton"})
        EXPECT_FALSE(outlet(name).get_sensitive()) << name;
    for (const char* name : {"tableView", "configurationContainerView"})
        EXPECT_FALSE(outlet(name).get_visible()) << name;
    pump(1000);  // some progress to see
    screenshot(*window_, "7-Export");

    ASSERT_TRUE(waitForExport());
    EXPECT_EQ(window_->masterView().exportView(), nullptr);
    for (Gtk::Widget* action : {&window_->openButton(), &window_->saveButton(), &window_->exportButton()})
        EXPECT_TRUE(action->get_sensitive());
    for (const char* name : {"applyButton", "resetButton", "compressPNGsButton", "compressHelpButton"})
        EXPECT_TRUE(outlet(name).get_sensitive()) << name;
    for (const char* name : {"tableView", "configurationContainerView"})
        EXPECT_TRUE(outlet(name).get_visible()) << name;
    EXPECT_TRUE(dialogs_.alerts.empty());  // a clean export says nothing
    EXPECT_EQ(readFile(bundle() / "Status.plist"), QZStatusPropertyList(CompletedStatus));
    EXPECT_TRUE(fs::exists(bundle() / "Colors.plist"));
    EXPECT_TRUE(fs::exists(bundle() / "navBar@2x.png"));
}

TEST_F(QZCustomizerWindowExportTest, AMissingCompressorLeavesTheImagesUncompressedAndSaysSo)
{
    QZScopedEnvironment compressor("TESSEL_CUSTOMIZER_COMPRESSOR", (home_ / "no-such-compressor"));
    exportThroughTheWindow();
    ASSERT_TRUE(waitForExport());
    ASSERT_EQ(dialogs_.alerts.size(), 1u);
    EXPECT_EQ(dialogs_.alerts[0].title, kQZUncompressedTitle);
    EXPECT_EQ(readFile(bundle() / "Status.plist"), QZStatusPropertyList(UncompressedStatus));
}

// Disabling reaches every widget below, however deep, and enabling undoes it.
TEST_F(QZCustomizerWindowSmokeTest, SubViewsAreDisabledAndEnabledAllTheWayDown)
{
    Gtk::Box outer, inner;
    Gtk::Button first("first"), deep("deep");
    outer.append(first);
    outer.append(inner);
    inner.append(deep);
    QZDisableSubViews(outer);
    EXPECT_TRUE(outer.get_sensitive());
    EXPECT_FALSE(first.get_sensitive());
    EXPECT_FALSE(inner.get_sensitive());
    EXPECT_FALSE(deep.get_sensitive());
    QZEnableSubViews(outer);
    EXPECT_TRUE(first.get_sensitive() && inner.get_sensitive() && deep.get_sensitive());
}

// The store cannot be made (its folder's place is a file): the alert shows its reason, and only
// once it is dismissed does the program end, with status 1.
TEST_F(QZCustomizerWindowSmokeTest, AFailedStoreIsShownInAnAlertBeforeTheProgramEnds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const fs::path blocked = home_.path() / "blocked";
    writeFile(blocked, "a file where the data folder should be");
    EXPECT_EXIT(
        {
            setenv("XDG_DATA_HOME", blocked.c_str(), 1);
            QZCustomizationDataManager::setTerminationHandler(
                [this](const std::string& reason) { QZEndWithStoreFailureAlert(window_.get(), reason); });
            // Dismisses the alert once it shows, telling what it said.
            g_timeout_add(
                200,
                [](gpointer) -> gboolean {
                    for (Gtk::Window* shown : Gtk::Window::list_toplevels()) {
                        auto* alert = dynamic_cast<Gtk::MessageDialog*>(shown);
                        if (!alert || !alert->get_visible()) continue;
                        std::cerr << "alert: " << alert->property_text().get_value() << std::endl;
                        alert->response(Gtk::ResponseType::OK);
                        return G_SOURCE_REMOVE;
                    }
                    return G_SOURCE_CONTINUE;
                },
                nullptr);
            QZCustomizationDataManager failing(TESSEL_CUSTOMIZER_RESOURCES_DIR);
            failing.overallAppearance();
            std::cerr << "the program went on" << std::endl;
            std::exit(0);
        },
        ::testing::ExitedWithCode(1), "alert: The customization store failed");
}

}  // namespace
}  // namespace customizer
