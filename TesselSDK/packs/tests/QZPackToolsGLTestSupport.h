#pragma once
// What the pack tools' GL suites share: a GL instance holding a small generated photo (the suites
// skip, never pass, where no GL context can be made), a tool shown as the root screen shows it over
// a canvas presenting that instance, what the instance shows, and the statuses and content-applied
// notifications the tool sends.

#include "QZPackToolTestSupport.h"

#include "TesselSDK/packs/QZContentAppliedNotification.h"
#include "TesselSDK/packs/QZEffectContentPackUnifiedSelectionViewController.h"
#include "TesselSDK/packs/QZFrameContentPackUnifiedSelectionViewController.h"
#include "TesselSDK/remote/QZContentUpdateDocuments.h"
#include "TesselSDK/remote/QZEffectContentPackItem.h"
#include "TesselSDK/remote/QZEffectContentPackThumnailGenerator.h"

#include "TesselSDK/shell/tests/QZPhotoEditorReplaySupport.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "TesselSDKImaging/Modules/QZJSONEffectModule.h"
#include "TesselSDKImaging/Modules/QZOriginalModule.h"
#include "TesselSDKImaging/QZOpenGLManager.h"
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "Foundation/NSNotificationCenter.h"
#include "testing/TesselFixtureServer.h"
#include "testing/ZipBuilder.h"

#include <fstream>
#include <iterator>

namespace pack_tools_gl {

using qz_test::Pixels;

struct StatusRecorder : QZToolViewControllerDelegate {
    std::vector<QZToolViewControllerStatus> statuses;
    void toolControllerFinishedWithStatus(QZToolViewController*, QZToolViewControllerStatus status) override
    {
        statuses.push_back(status);
    }
};

class QZPackToolsGLTest : public QZPackToolTest {
protected:
    void SetUp() override
    {
        QZPackToolTest::SetUp();
        if (QZOpenGLManager::sharedOpenGLManager()->setupFailed()) GTEST_SKIP() << "no GL context";
        NSUserDefaults::standardUserDefaults()->setObject(Value::dictionary({{"Frames", true}}),
                                                          kQZToolControllerHasLaunchedDictionary);
        photo_ = qz_test::makePixels(160, 120, [](std::size_t x, std::size_t y) {
            const bool check = ((x / 6) + (y / 6)) % 2 == 0;
            return std::array<std::uint8_t, 4>{std::uint8_t(60 + x), std::uint8_t(check ? 170 : 90),
                                               std::uint8_t(40 + y), 255};
        });
        const CGSize size = CGSizeMake(CGFloat(photo_.width), CGFloat(photo_.height));
        gl_ = QZOpenGLInstance::make(size, QopGLRenderingModeDefault, QZQueueTypeSDK);
        ASSERT_TRUE(gl_);
        bool loaded = false;
        gl_->setInputImageData(reinterpret_cast<const std::uint8_t*>(photo_.rgba.data()), size, true,
                               [&] { loaded = true; });
        ASSERT_TRUE(qz_test::pumpUntil([&] { return loaded; }));
        // As the editor starts: the photo rendered unchanged.
        bool shown = false;
        gl_->renderIdentityImageWithCompletion([&] { shown = true; });
        ASSERT_TRUE(qz_test::pumpUntil([&] { return shown; }));
        center_ = NSNotificationCenter::defaultCenter();
        observer_ = center_->addObserverForName(
            QZContentAppliedNotification, nullptr,
            [this](const std::shared_ptr<NSNotification>& note) { posted_.push_back(note->userInfo()); });
    }
    void TearDown() override
    {
        if (center_) center_->removeObserver(observer_);
        tool_.reset();
        if (gl_) {
            gl_->resumeRendering();
            gl_.reset();
            EXPECT_TRUE(qz_test::drainGPUQueue());
        }
        QZPackToolTest::TearDown();
    }

    // Shown as the root screen shows a tool, on the GL instance, over a canvas presenting it.
    template <class T>
    std::shared_ptr<T> present()
    {
        canvas_ = UIView::viewWithFrame<QZScrollingImageView>(CGRectMake(0, 64, width(), toolTop() - 64));
        window_->addSubview(canvas_);
        canvas_->setImageSize(gl_->currentImageSize());
        canvas_->showOpenGLView(true);
        canvas_->layoutIfNeeded();
        gl_->setRenderbufferFromOpenGLView(canvas_->openGLView());
        bar_ = UIView::viewWithFrame<QZNavigationBar>(CGRectMake(0, 20, width(), 44));
        window_->addSubview(bar_);
        auto tool = QZToolViewController::makeWithGLInstance<T>(gl_, Value(), false);
        tool->setDelegate(statuses_);
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
        driver_.advance(0.4);
        tool_ = tool;
        return tool;
    }

    // What the GL instance shows now (its last render), once everything queued has run.
    std::optional<Pixels> rendered()
    {
        std::shared_ptr<UIImage> image;
        bool read = false;
        gl_->getOutputImageFromLastRender([&](std::shared_ptr<UIImage> output) {
            image = std::move(output);
            read = true;
        });
        if (!qz_test::pumpUntil([&] { return read; }) || !image) return std::nullopt;
        return qz_test::pixelsOf(image);
    }
    bool tap(const std::string& label) { return driver_.tapViewWithLabel(label); }
    void tapApply(QZToolViewController& tool) { driver_.tap(*tool.applyButton()->customView()); }
    bool settled(QZToolViewController& tool)
    {
        return qz_test::drainGPUQueue() && qz_test::pumpUntil([&] { return tool.isReadyToApply(); });
    }

    Pixels photo_;
    std::shared_ptr<QZOpenGLInstance> gl_;
    std::shared_ptr<StatusRecorder> statuses_ = std::make_shared<StatusRecorder>();
    std::shared_ptr<NSNotificationCenter> center_;
    std::shared_ptr<NSObject> observer_;
    std::vector<Value> posted_;
};

}  // namespace pack_tools_gl
