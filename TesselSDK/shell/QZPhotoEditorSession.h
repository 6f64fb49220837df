#pragma once
// The ordered record of what the user applied in one editor, and the replay contexts made from it.
// The root screen opens it, adds each applied tool's module and closes (or cancels, then closes)
// it; a host makes contexts from it to get the edits replayed on another image. Main thread only.

#include "TesselSDKImaging/Modules/QZModule.h"

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"
#include "UIKit/UIImage.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

class QZPhotoEditorContext;

// Posted on the default centre, with the session as object, when the session is cancelled.
extern const std::string QZPhotoEditorSessionCancelledNotification;

class QZPhotoEditorSession : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<QZPhotoEditorSession> make();
    ~QZPhotoEditorSession() override;

    // Any thread (a cancelled context's queue reads it).
    bool isOpen() const { return open_.load(); }
    // Closing sends sessionDidClose to every context, in order; an unchanged value does nothing.
    void setOpen(bool open);
    bool isCancelled() const { return cancelled_; }
    // Cancelling posts the cancelled notification; an unchanged value does nothing.
    void setCancelled(bool cancelled);
    bool isModified() const { return !modules_.empty(); }
    // The size of the image the modules were made on (the preview).
    CGSize editingSize() const { return editingSize_; }
    void setEditingSize(CGSize size) { editingSize_ = size; }
    const std::vector<std::shared_ptr<QZModule>>& modules() const { return modules_; }
    // Contexts made here that have not finished.
    const std::vector<std::shared_ptr<QZPhotoEditorContext>>& contexts() const { return contexts_; }

    // Records the module and replays it in every context's render under way.
    void addModulesObject(const std::shared_ptr<QZModule>& module);
    // Forgets every module (the editor's Restore Original); renders under way start again from their
    // input, so the host never gets edits the person took back.
    void removeAllModules();
    void removeContextsObject(const QZPhotoEditorContext* context);

    // A context replaying on the image, its output fitted into maxSize; none (logged) for no image.
    // A context of a cancelled session is cancelled from the start.
    std::shared_ptr<QZPhotoEditorContext> createContextWithImage(const std::shared_ptr<UIImage>& image, CGSize maxSize);
    std::shared_ptr<QZPhotoEditorContext> createContextWithImage(const std::shared_ptr<UIImage>& image);
    // A context whose image comes later (renderInputImage), fitted into size.
    std::shared_ptr<QZPhotoEditorContext> createContextWithSize(CGSize size);
    std::shared_ptr<QZPhotoEditorContext> createContext();

private:
    std::shared_ptr<QZPhotoEditorContext> adopt(std::shared_ptr<QZPhotoEditorContext> context);

    std::atomic<bool> open_{false};
    bool cancelled_ = false;
    CGSize editingSize_{0, 0};
    std::vector<std::shared_ptr<QZModule>> modules_;
    std::vector<std::shared_ptr<QZPhotoEditorContext>> contexts_;
};
