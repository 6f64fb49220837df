#pragma once
// What the pack screens' suites share: a fresh content root (the built resource bundle as the main
// bundle's, so a new store starts from the shipped packs), a phone or a tablet, a key window on the
// virtual clock with a pack tool shown at its bottom as the root screen shows tools, the analytics
// recorded, and test pack tools with the frames' and the effects' class values.

#include "TesselSDK/packs/QZContentPackIAPSelectionViewController.h"
#include "TesselSDK/packs/QZFrameContentPackDetailIAPViewController.h"
#include "TesselSDK/packs/QZFrameContentPackListIAPViewController.h"
#include "TesselSDK/remote/QZAssetManager.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackUpdate.h"
#include "TesselSDK/remote/QZManagedObjectClass.h"
#include "TesselSDK/remote/QZRemoteConfiguration.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "TesselSDK/remote/QZTesselContentManager.h"
#include "TesselSDK/remote/QZTranslationManager.h"
#include "TesselSDK/shell/QZNavigationBar.h"
#include "TesselSDK/shell/QZScrollingImageView.h"

#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDKFoundation/tests/QZTestMetricsSession.h"

#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PlatformSettings.h"
#include "Network/SCNetworkReachability.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIDevice.h"
#include "UIKit/UIWindow.h"
#include "UIKit/testing/UITestDriver.h"
#include "testing/TestSandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// A frames tool as the store flow needs it: the frames' class values, the frame store screens,
// no welcome prompt.
class QZTestFramePackTool : public QZContentPackIAPSelectionViewController {
public:
    using QZContentPackIAPSelectionViewController::QZContentPackIAPSelectionViewController;
    bool prompts = false;

    std::shared_ptr<const QZManagedObjectClass> contentPackClass() const override
    {
        return QZManagedObjectClass::classNamed("QZFrameContentPack");
    }
    std::string contentPackDescriptor() const override { return "Frames"; }
    bool firstLaunchRequiresDownload() const override { return prompts; }
    std::string firstLaunchTitle() const override { return "Welcome to Frames!"; }
    std::string firstLaunchText() const override
    {
        return "Install this free pack of beautiful high resolution frames to get started.";
    }
    std::shared_ptr<QZContentPackListIAPViewController> loadListIAPViewControllerWithPacks(Packs packs) override
    {
        return QZContentPackListIAPViewController::makeWithPacks<QZFrameContentPackListIAPViewController>(
            std::move(packs));
    }
    std::shared_ptr<QZContentPackDetailIAPViewController>
    loadDetailIAPViewControllerWithContentPack(const std::shared_ptr<QZContentPack>& pack) override
    {
        return QZContentPackDetailIAPViewController::makeWithType<QZFrameContentPackDetailIAPViewController>(
            QZContentPackDetailIAPViewControllerTypeFeatured, pack);
    }
};

// An effects tool: the effects' class values, never a prompt.
class QZTestEffectPackTool : public QZContentPackIAPSelectionViewController {
public:
    using QZContentPackIAPSelectionViewController::QZContentPackIAPSelectionViewController;
    std::shared_ptr<const QZManagedObjectClass> contentPackClass() const override
    {
        return QZManagedObjectClass::classNamed("QZEffectContentPack");
    }
    std::string contentPackDescriptor() const override { return "Effects"; }
};

class QZPackToolTest : public ::testing::Test {
protected:
    static constexpr CGFloat kToolHeight = 100;

    void SetUp() override
    {
        TesselSDKRemoteRegisterClasses();
        std::filesystem::create_directories(sandbox_.mainBundlePath());
        std::filesystem::create_directory_symlink(TESSEL_SDK_RESOURCES_BUNDLE_DIR,
                                                  sandbox_.mainBundlePath() + "/TesselSDKResources.bundle");
        QZTesselContentManager::resetSharedManagerForTesting();
        QZTestMetricsSession::registerClass(analytics_);
        useDevice(UIUserInterfaceIdiomPhone);
    }
    void TearDown() override
    {
        tool_.reset();
        window_.reset();
        DispatchRunLoop::drain();
        QZTesselContentManager::resetSharedManagerForTesting();
        QZTranslationManager::resetSharedManagerForTesting();
        QZTestMetricsSession::unregisterClass();
        SCNetworkReachabilitySetFlagsOverride(std::nullopt);
        QZRemoteConfiguration::setAPIKey(std::nullopt);
        QZRemoteConfiguration::setContentServiceRoot(std::nullopt);
        QZPhotoEditorCustomization::clearCustomization();
        QZSDKResources::unloadResources();
    }

    // A phone of 320 x 568 points or a tablet of 768 x 1024, portrait, at scale 1, and its window.
    void useDevice(UIUserInterfaceIdiom idiom)
    {
        const bool pad = idiom == UIUserInterfaceIdiomPad;
        PlatformSettings::setInterfaceIdiom(idiom);
        PlatformSettings::setScreenSize(pad ? 768 : 320, pad ? 1024 : 568);
        PlatformSettings::setScreenScale(1);
        UIApplication::sharedApplication()->setStatusBarOrientation(UIInterfaceOrientationPortrait);
        window_ = UIWindow::window();
        window_->makeKeyAndVisible();
    }

    CGFloat width() const { return window_->bounds().size.width; }
    CGFloat height() const { return window_->bounds().size.height; }
    CGFloat toolTop() const { return height() - kToolHeight; }

    // Made and shown as the root screen shows a tool: a canvas and a bar above it, its view at the
    // bottom of the window, then the appearance calls.
    template <class T>
    std::shared_ptr<T> makeTool()
    {
        return QZToolViewController::makeWithGLInstance<T>(nullptr, Value(), false);
    }
    template <class T>
    std::shared_ptr<T> show(std::shared_ptr<T> tool = nullptr)
    {
        if (!tool) tool = makeTool<T>();
        canvas_ = UIView::viewWithFrame<QZScrollingImageView>(CGRectMake(0, 64, width(), toolTop() - 64));
        window_->addSubview(canvas_);
        bar_ = UIView::viewWithFrame<QZNavigationBar>(CGRectMake(0, 20, width(), 44));
        window_->addSubview(bar_);
        tool->setNavigationBar(bar_);
        tool->setTargetViewHeight(kToolHeight);
        tool->setScrollableImageView(canvas_);
        tool->setAnalyticsKey(tool->contentPackDescriptor());
        const auto& view = tool->view();
        view->setFrame(CGRectMake(0, toolTop(), width(), kToolHeight));
        window_->addSubview(view);
        bar_->pushNavigationItem(tool->navigationItem(), false);
        tool->viewWillAppear(false);
        tool->viewDidAppear(false);
        driver_.advance(0.1);
        tool_ = tool;
        return tool;
    }

    static std::shared_ptr<QZTesselContentManager> manager() { return QZTesselContentManager::sharedManager(); }
    // The main-queue context's packs, without the ones the editor ships.
    void removeShippedPacks()
    {
        auto context = manager()->contentPackManagedObjectContext();
        for (const auto& pack : manager()->contentPacks()) context->deleteObject(pack);
        std::shared_ptr<NSError> error;
        ASSERT_TRUE(context->save(&error));
    }

    std::vector<std::string> eventNames() const
    {
        std::vector<std::string> names;
        for (const auto& [name, attributes] : analytics_->events) names.push_back(name);
        return names;
    }
    int eventCount(const std::string& name) const
    {
        const std::vector<std::string> names = eventNames();
        return int(std::count(names.begin(), names.end(), name));
    }
    // The names appear in this order among the events (others may come between).
    ::testing::AssertionResult eventsInOrder(const std::vector<std::string>& expected) const
    {
        const std::vector<std::string> names = eventNames();
        auto at = names.begin();
        for (const std::string& name : expected) {
            at = std::find(at, names.end(), name);
            if (at == names.end()) return ::testing::AssertionFailure() << "\"" << name << "\" missing or out of order";
            ++at;
        }
        return ::testing::AssertionSuccess();
    }

    // Where screenshots go when $TESSEL_PACKS_SCREENSHOTS names a folder; none otherwise.
    void screenshot(const std::string& name) const
    {
        const char* folder = std::getenv("TESSEL_PACKS_SCREENSHOTS");
        if (!folder || !*folder) return;
        std::filesystem::create_directories(folder);
        UITestDriver::writeSnapshot(*window_, std::string(folder) + "/" + name + ".png");
    }

    TestSandbox sandbox_;
    UITestDriver driver_;
    std::shared_ptr<UIWindow> window_;
    std::shared_ptr<QZScrollingImageView> canvas_;
    std::shared_ptr<QZNavigationBar> bar_;
    std::shared_ptr<QZContentPackIAPSelectionViewController> tool_;
    std::shared_ptr<QZTestMetricsSession> analytics_ = NSObject::create<QZTestMetricsSession>();
};
