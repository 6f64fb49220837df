#pragma once
// The main window with everything behind it: the presenters of the window and the application,
// their GTK views, the dialogs, the main loop and the animator. Closing the window quits.

#include <gtkmm.h>

#include <memory>

#include "App/QZAppDelegate.h"
#include "App/QZMasterViewController.h"
#include "GTK/QZGtkDialogs.h"
#include "GTK/QZGtkLoop.h"
#include "GTK/QZGtkMasterView.h"
#include "GTK/QZGtkPanels.h"

namespace customizer {

class QZCustomizerWindow : public Gtk::ApplicationWindow {
public:
    // `dialogs` replaces the window's own (tests answer them); null keeps the window's.
    QZCustomizerWindow(QZCustomizationDataManager& dataManager, std::string resourcesFolder,
                       QZAppDelegate::ExportRunner runExport, QZDialogs* dialogs = nullptr);
    ~QZCustomizerWindow() override;

    QZGtkMasterView& masterView() { return masterView_; }
    QZMasterViewController& masterViewController() { return *master_; }
    QZAppDelegate& appDelegate() { return *app_; }
    QZGtkPanelControls& currentControls() { return *currentControls_; }
    // The header bar's actions, for tests.
    Gtk::Button& openButton() { return open_; }
    Gtk::Button& saveButton() { return save_; }
    Gtk::Button& exportButton() { return export_; }

private:
    QZCustomizationDataManager& dataManager_;
    std::string resourcesFolder_;
    QZUserDefaults defaults_;
    QZGtkMainLoop mainLoop_;
    QZGtkAnimator animator_{*this};
    QZGtkDialogs ownDialogs_{this};
    QZDialogs& dialogs_;
    QZGtkMasterView masterView_;
    Gtk::Button open_{"Open…"}, save_{"Save…"}, export_{"Apply to Project…"};
    std::unique_ptr<QZAppDelegate> app_;
    std::unique_ptr<QZMasterViewController> master_;
    std::shared_ptr<QZGtkPanelControls> currentControls_;
};

}  // namespace customizer
