// The customizer's window: themes the editor and applies the theme to a project.

#include <gtkmm.h>

#include "App/QZAppDelegate.h"
#include "GTK/QZCustomizerWindow.h"
#include "GTK/QZGtkStoreFailure.h"
#include "Model/QZApplicationResources.h"

int main(int argc, char** argv)
{
    using namespace customizer;
    auto application = Gtk::Application::create("org.tessel.SDKCustomizer", Gio::Application::Flags::NON_UNIQUE);
    std::unique_ptr<QZCustomizerWindow> window;
    const std::string resources = QZApplicationResourcesFolder();
    // The window may be half made when the store first fails: the alert then stands alone.
    Gtk::Window* shown = nullptr;
    QZCustomizationDataManager::setTerminationHandler(
        [&shown](const std::string& reason) { QZEndWithStoreFailureAlert(shown, reason); });
    application->signal_activate().connect([&] {
        QZCustomizationDataManager& manager = QZCustomizationDataManager::sharedManager();
        window = std::make_unique<QZCustomizerWindow>(manager, resources, QZDefaultExportRunner(resources));
        shown = window.get();
        application->add_window(*window);
        window->present();
    });
    return application->run(argc, argv);
}
