#pragma once
// Replays a session's modules on another image (typically the full-size photo) and hands the result
// to the host once the session closes. Made by the session; one render per context.
//
// GPU path (the context has its own GL instance): the instance's queue is paused from set-up; the
// input load and every module's pass queue up on it as they come, and closing the session queues the
// read-back and resumes the queue. CPU path (no GL instance: at full size where GL is rasterised in
// software or TESSEL_FULL_SIZE=cpu, or wherever none could be made): modules run on a CPU server as
// they come; the completion waits in a suspended serial operation queue that the close resumes. A
// cancelled or unmodified context delivers nil. Threads: see docs/ARCHITECTURE.md.

#include "TesselSDK/shell/QZPhotoEditorContextJob.h"

#include "TesselSDKImaging/Modules/QZModule.h"
#include "TesselSDKImaging/QZBitmapImageServer.h"
#include "TesselSDKImaging/QZOpenGLInstance.h"

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"
#include "Foundation/NSOperationQueue.h"
#include "UIKit/UIImage.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class QZPhotoEditorSession;

class QZPhotoEditorContext : public NSObject {
public:
    // The rendered image, or nil when nothing was rendered. Called once, on the main queue.
    using RenderCompletion = std::function<void(std::shared_ptr<UIImage> image)>;

    using NSObject::NSObject;
    // initWithSession:image:maxSize:. At the image's own size, on the server
    // QZDeviceInfo::fullSizeServer() names; smaller, on the GPU; the CPU wherever no GL instance
    // can be made.
    static std::shared_ptr<QZPhotoEditorContext> make(const std::shared_ptr<QZPhotoEditorSession>& session,
                                                      const std::shared_ptr<UIImage>& image, CGSize maxSize);
    // initWithSession:size: (the image comes through renderInputImage).
    static std::shared_ptr<QZPhotoEditorContext> make(const std::shared_ptr<QZPhotoEditorSession>& session,
                                                      CGSize size);
    ~QZPhotoEditorContext() override;

    // The largest output area of an image context, in pixels; negative: no limit. Any thread.
    static float highResOutputSizeLimit();
    static void setHighResOutputSizeLimit(float limit);

    std::shared_ptr<QZPhotoEditorSession> session() const { return session_.lock(); }
    void setSession(const std::shared_ptr<QZPhotoEditorSession>& session) { session_ = session; }
    CGSize size() const { return size_; }
    bool isCanceled() const;
    bool isModified() const { return modified_; }
    bool hasBegunRendering() const { return hasBegunRendering_; }
    std::vector<std::shared_ptr<QZPhotoEditorContextJob>> renderJobs() const;
    const std::shared_ptr<NSOperationQueue>& completionQueue() const { return completionQueue_; }
    const std::shared_ptr<QZOpenGLInstance>& glInstance() const { return glInstance_; }
    const std::shared_ptr<QZBitmapImageServer>& imageServer() const { return imageServer_; }
    float scale() const { return scale_; }

    // Fits the image into `size` and under the limit, and makes the server holding it (with a GL
    // instance of the output size when useGL and one can be made).
    void setupImageServerWithImage(const std::shared_ptr<UIImage>& image, bool useGL);
    // The first call replays the session and delivers once it closes; later calls are logged and
    // ignored (their completion is never called).
    void render(RenderCompletion completion);
    // Sets up a CPU server on the image, then render. No image: the completion gets nil.
    void renderInputImage(const std::shared_ptr<UIImage>& image, RenderCompletion completion);
    // Any thread; idempotent. The pending result becomes nil.
    void cancelRendering();
    // Marks a context of a cancelled session before it is handed out.
    void markCanceled();

    void sessionDidAddModule(const std::shared_ptr<QZPhotoEditorSession>& session,
                             const std::shared_ptr<QZModule>& module);
    void sessionDidClose(const std::shared_ptr<QZPhotoEditorSession>& session);
    // The session forgot its modules while open: a render under way drops what it replayed and
    // starts again from the input, on the same path.
    void sessionDidRemoveAllModules(const std::shared_ptr<QZPhotoEditorSession>& session);

private:
    // The image fitted into `size` and under the limit, and the scale that takes it there.
    CGSize outputSizeForImage(const UIImage& image, CGFloat* scale) const;
    CGFloat outputScaleForImage(const UIImage& image) const;
    void initWithSession(const std::shared_ptr<QZPhotoEditorSession>& session, CGSize size);
    void addModuleToJob(const std::shared_ptr<QZModule>& module, const QZPhotoEditorContextJob& job);
    // The job is done: drop it, and leave the session when none is left.
    void finishJob(const std::shared_ptr<QZPhotoEditorContextJob>& job);
    RenderCompletion takeCompletionBlock();

    std::weak_ptr<QZPhotoEditorSession> session_;
    CGSize size_{0, 0};
    bool modified_ = false;
    bool hasBegunRendering_ = false;
    std::shared_ptr<NSOperationQueue> completionQueue_;
    // Written on the main thread only, under the mutex (cancelRendering reads them from any thread).
    std::shared_ptr<QZOpenGLInstance> glInstance_;
    std::shared_ptr<QZBitmapImageServer> imageServer_;
    // What the server was made from, for a render that starts again.
    std::shared_ptr<UIImage> inputImage_;
    float scale_ = 1;

    // Guards canceled_, completionBlock_, renderJobs_ (and each job's server) and the writes of
    // glInstance_ and imageServer_: the main thread, the GL queue's read-back and cancelRendering
    // (any thread) meet here.
    mutable std::mutex mutex_;
    bool canceled_ = false;
    // The pending GPU completion; taken (under the mutex) by whoever delivers, so it runs once.
    RenderCompletion completionBlock_;
    // The close queued the read-back.
    bool readBackQueued_ = false;
    std::vector<std::shared_ptr<QZPhotoEditorContextJob>> renderJobs_;
};
