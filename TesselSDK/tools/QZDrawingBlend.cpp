#include "TesselSDK/tools/QZDrawingBlend.h"

#include "GLES/EAGLContext.h"
#include "TesselSDKImaging/Processors/QZImageBlendProcessor.h"
#include "TesselSDKImaging/QZImageServer.h"
#include "TesselSDKImaging/QZOpenGLInstance.h"

void QZBlendDrawingAndPresent(const std::shared_ptr<QZImageServer>& server, const std::uint8_t* bytes, CGSize size,
                              std::weak_ptr<QZOpenGLInstance> gl, std::function<void()> presented)
{
    if (bytes) {
        auto blend = QZImageBlendProcessor::make();
        blend->setImageData(bytes);
        blend->setImageSize(size);
        server->runProcessor(blend);
    }
    server->runBlock([gl = std::move(gl), presented = std::move(presented)] {
        if (auto instance = gl.lock()) instance->presentRenderbufferFromGLQueue();
        EAGLContext::dispatchSyncToMainHandingOverCurrentContext(presented);
    });
}
