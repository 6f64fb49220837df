#pragma once
// tessel_editor's host: a plain application that opens the editor on one photo and takes what its
// delegate hears. A window with a root controller of its own presents the editor (not animated);
// a replay context made from the editor's session at start renders the edits on the full-size
// photo once Done closes the session. Main thread only; also used in-process by the tests.

#include "TesselEditorQuickLaunch.h"

#include "TesselSDK/shell/QZPhotoEditorContext.h"
#include "TesselSDK/shell/QZPhotoEditorController.h"
#include "TesselSDK/shell/QZSDKViewController.h"

#include "TesselSDKFoundation/QZProgressHUDView.h"

#include "UIKit/UIImage.h"
#include "UIKit/UIViewController.h"
#include "UIKit/UIWindow.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tessel_editor {

enum class Device { Phone, Tablet };

// Phone: 320 x 568 points; tablet: 768 x 1024; system "7.0", portrait; `scale` pixels per point
// (the screenshots' and the window's, never the edited photo's).
void configureDevice(Device device, float scale = 2);

// Where the editor keeps its content and which content service it asks: tessel_editor's
// --content-root and --server.
struct ContentOptions {
    // The content store, downloaded packs and the editor's user defaults live here; made when
    // missing. None: defaultContentRoot().
    std::optional<std::string> contentRoot;
    // The content service's root, as tessel_content --server takes it (isContentServiceRoot).
    std::optional<std::string> server;
};

// $TESSEL_SANDBOX_ROOT when set (tests), else $XDG_DATA_HOME/Tessel when that is an absolute path,
// else ~/.local/share/Tessel.
std::string defaultContentRoot();
// An http or https URL with a host.
bool isContentServiceRoot(const std::string& url);
// Runs before anything reads a standard directory: the root made and taken as the sandbox, the
// content store, translations and defaults opened afresh there on next use; with a server, its
// root and tessel_content's API key, a loopback server counting as reachable. False, with the
// reason, when the root cannot be made (nothing else changes then).
bool applyContentOptions(const ContentOptions& options, std::string* error);

class EditorHost : public QZPhotoEditorControllerDelegate, public std::enable_shared_from_this<EditorHost> {
public:
    enum class Outcome { Editing, Finished, Cancelled };

    // The photo from a PNG or JPEG file; null with the reason when it cannot be read.
    static std::shared_ptr<UIImage> readPhoto(const std::string& path, std::string* error);

    // The clock the editor runs on: the real one (a window), or the virtual one a script moves.
    enum class Clock { Real, Script };
    // A window with a root controller presenting the editor on the photo (opened on the quick
    // launch's tool or pack when one is given); null with the reason when the editor cannot be
    // made. Cancel asks first once a tool has been applied. On Clock::Script virtual time is on
    // before the editor opens: what it starts as it opens (its entrance, a message card coming in)
    // then runs on the clock the script's waits move. Begun on the real clock, it would lie as far
    // ahead of the script's clock as the process is old, and a card still "coming in" takes every
    // touch meanwhile.
    static std::shared_ptr<EditorHost> open(const std::shared_ptr<UIImage>& photo, std::string* error,
                                            Clock clock = Clock::Real, const QuickLaunch& launch = {});
    ~EditorHost() override;
    EditorHost(const EditorHost&) = delete;
    EditorHost& operator=(const EditorHost&) = delete;

    // Runs the main queue until every block queued on the GPU and CPU queues so far has run and the
    // main queue has nothing left, however long that work takes; the clock does not move. It also
    // waits, in real time and at most 90 s, until no content or message update runs and no pack
    // download is under way: false when that work did not finish.
    static bool settle();

    const std::shared_ptr<UIWindow>& window() const { return window_; }
    const std::shared_ptr<QZSDKViewController>& editor() const { return editor_; }
    Outcome outcome() const { return outcome_; }
    // After Finished: the edits replayed on the full-size photo, or the photo itself when the
    // session recorded nothing; null until the replay has delivered (settle() waits for it), and
    // null for good when the replay failed.
    const std::shared_ptr<UIImage>& result() const { return result_; }
    // Where the full-size replay stands after Finished: it is working until it delivers the
    // edited photo or reports that it failed (it delivered nothing for an edited session, or it
    // was cancelled). Failed before Finished: nothing is rendered then.
    enum class Delivery { Working, Delivered, Failed };
    Delivery delivery() const;
    // After Finished: calls `turn` (one turn of the host's loop) for as long as the replay is
    // working, however long it takes; answers the result, null when the replay failed.
    std::shared_ptr<UIImage> waitForResult(const std::function<void()>& turn);
    // From Done until the host closes: the shell's progress HUD over the photo, at the window's
    // centre, above the editor (null before Done).
    const std::shared_ptr<QZProgressHUDView>& progressView() const { return progressView_; }
    // After the result: the editor and its GPU memory go (the window keeps its last picture, the
    // progress over the photo, until close()), then the result is written as a PNG to `path`;
    // false with the reason when it cannot be.
    bool writeResult(const std::string& path, std::string* error);
    // The full-size replay of the session (null when none could be made).
    const std::shared_ptr<QZPhotoEditorContext>& context() const { return context_; }
    // The editor gone (dismissed, released) and the queues drained: nothing of it runs after this.
    void close();

    void photoEditorFinishedWithImage(QZSDKViewController* editor, std::shared_ptr<UIImage> image) override;
    void photoEditorCanceled(QZSDKViewController* editor) override;

    struct Key {};
    explicit EditorHost(Key) {}

private:
    // The editor dismissed and released, its replay cancelled, the queues drained.
    void releaseEditor();

    std::shared_ptr<UIImage> photo_;
    std::shared_ptr<UIWindow> window_;
    std::shared_ptr<UIViewController> rootController_;
    std::shared_ptr<QZSDKViewController> editor_;
    std::shared_ptr<QZPhotoEditorContext> context_;
    Outcome outcome_ = Outcome::Editing;
    bool delivered_ = false;
    std::shared_ptr<UIImage> result_;
    std::shared_ptr<QZProgressHUDView> progressView_;
    // What the window showed when the editor went, under the progress HUD.
    std::shared_ptr<UIView> heldPicture_;
};

}  // namespace tessel_editor
