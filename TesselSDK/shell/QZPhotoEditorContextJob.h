#pragma once
// One render of a replay context: the server its modules replay on and the output scale.

#include "TesselSDKImaging/QZBitmapImageServer.h"

#include "Foundation/NSObject.h"

#include <memory>

class QZPhotoEditorContextJob : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<QZPhotoEditorContextJob> make(std::shared_ptr<QZBitmapImageServer> imageServer, float scale)
    {
        return NSObject::create<QZPhotoEditorContextJob>([&](QZPhotoEditorContextJob& job) {
            job.imageServer = std::move(imageServer);
            job.scale = scale;
        });
    }

    std::shared_ptr<QZBitmapImageServer> imageServer;
    float scale = 1;
};
