// The root screen where no GL context can be made (the EGL route "none", on any machine): the host
// can read why the editor cannot edit as soon as it is made, the editor says so when it appears,
// in the person's language, and the alert's one button ends it through the host's cancel path.
#include "QZPhotoEditorReplaySupport.h"
#include "QZShellTestSupport.h"
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "TesselSDK/shell/QZPhotoEditorController.h"
#include "TesselSDK/shell/QZSDKViewController.h"

#include "Dispatch/DispatchRunLoop.h"
#include "UIKit/UIAlertView.h"
#include "UIKit/UIViewController.h"

#include <cstdlib>

namespace {

struct HostRecorder : QZPhotoEditorControllerDelegate {
    int finished = 0;
    int cancelled = 0;
    bool sessionCancelled = false;
    void photoEditorFinishedWithImage(QZSDKViewController*, std::shared_ptr<UIImage>) override { ++finished; }
    void photoEditorCanceled(QZSDKViewController* editor) override
    {
        ++cancelled;
        sessionCancelled = editor->session()->isCancelled();
    }
};

class QZSDKViewControllerWithoutGLTest : public QZShellTest {
protected:
    void SetUp() override
    {
        setenv("TESSEL_EGL_PLATFORM", "none", 1);
        QZShellTest::SetUp();
        PlatformSettings::setScreenSize(320, 568);
        root_ = UIViewController::make();
        window_->setRootViewController(root_);
    }
    void TearDown() override
    {
        if (root_->presentedViewController()) root_->dismissViewControllerAnimated(false);
        settle();
        window_->setRootViewController(nullptr);
        EXPECT_TRUE(qz_test::drainGPUQueue());
        QZShellTest::TearDown();
        unsetenv("TESSEL_EGL_PLATFORM");
    }
    static void settle()
    {
        for (int round = 0; round < 50 && DispatchRunLoop::drain() > 0; ++round) {}
    }

    std::shared_ptr<UIViewController> root_;
};

TEST_F(QZSDKViewControllerWithoutGLTest, AnAlertSaysSoAndItsButtonCancelsThroughTheHost)
{
    struct Case {
        const char* language;
        const char* message;
        const char* button;
    };
    const Case cases[] = {
        {"en", "Photo editing needs OpenGL ES, which is not available here.", "Cancel"},
        {"pt", "A edição de fotos precisa de OpenGL ES, que não está disponível aqui.", "Cancelar"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        PlatformSettings::setPreferredLanguages({c.language});
        auto host = std::make_shared<HostRecorder>();
        auto editor = QZPhotoEditorController::initWithImage(qz_test::imageOf(qz_test::gradient(120, 80)));
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->glInstance(), nullptr);
        EXPECT_EQ(editor->setupFailure(), c.message) << "the host cannot read it before presenting";
        editor->setDelegate(host);
        root_->presentViewController(editor, false);
        settle();

        std::shared_ptr<UIAlertView> alert = UIAlertView::visibleAlert();
        ASSERT_NE(alert, nullptr) << "no alert on appearing";
        EXPECT_EQ(alert->message(), c.message);
        EXPECT_EQ(alert->numberOfButtons(), 1);
        EXPECT_EQ(host->cancelled, 0);
        ASSERT_TRUE(driver_.pressAlertButton(c.button));
        driver_.advance(0.3);
        settle();
        EXPECT_EQ(UIAlertView::visibleAlert(), nullptr);
        EXPECT_EQ(host->cancelled, 1);
        EXPECT_TRUE(host->sessionCancelled);
        EXPECT_EQ(host->finished, 0);

        root_->dismissViewControllerAnimated(false);
        settle();
    }
}

// An editor that can edit has nothing to say.
TEST_F(QZSDKViewControllerWithoutGLTest, WithAContextThereIsNoFailureAndNoAlert)
{
    unsetenv("TESSEL_EGL_PLATFORM");
    auto editor = QZPhotoEditorController::initWithImage(qz_test::imageOf(qz_test::gradient(120, 80)));
    ASSERT_NE(editor, nullptr);
    if (!editor->glInstance()) GTEST_SKIP() << "no GL context here";
    EXPECT_EQ(editor->setupFailure(), "");
    root_->presentViewController(editor, false);
    settle();
    EXPECT_EQ(UIAlertView::visibleAlert(), nullptr);
}

}  // namespace
