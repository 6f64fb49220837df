// The customizer's window: themes the editor and applies the theme to a project.

#include <gtkmm.h>

#include <iostream>

#include "App/QZAppDelegate.h"
#include "GTK/QZCustomizerWindow.h"
#include "Model/QZApplicationResources.h"

int main(int argc, char** argv)
{
    using namespace customizer;
    auto application = Gtk::Application::create("org.tessel.SDKCustomizer", Gio::Application::Flags::NON_UNIQUE);
    std::unique_ptr<QZCustomizerWindow> window;
    const std::string resources = QZApplicationResourcesFolder();
    application->signal_activate().connect([&] {
        QZCustomizationDataManager& manager = QZCustomizationDataManager::sharedManager();
        window = std::make_unique<QZCustomizerWindow>(manager, resources, QZDefaultExportRunner(resources));
        application->add_window(*window);
        window->present();
    });
    return application->run(argc, argv);
}
