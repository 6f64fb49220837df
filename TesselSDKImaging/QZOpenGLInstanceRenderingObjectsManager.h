#pragma once
// Lets rendering-objects sets of one size share one pair of processing textures: each set owns
// only its source texture. All calls run in GL blocks with the context current and the caller's
// state in the record.

#include "CoreGraphics/CGBase.h"
#include "Foundation/NSObject.h"
#include "TesselSDKImaging/QZOpenGLInstanceRenderingObjects.h"
#include "QopLite/QopGLData.h"

#include <cstdint>
#include <map>
#include <memory>
#include <utility>

class QZOpenGLInstanceRenderingObjectsManager : public NSObject {
public:
    // The entry of one size: the shared pair ("kTesselProcessingTexture1" and
    // "kTesselProcessingTexture2") and the sets that use it by hashValueAsObject, held strongly
    // ("kTesselReferencedByRenderingObjects").
    struct SharedTextures {
        GLuint processingTexture1 = 0;
        GLuint processingTexture2 = 0;
        std::map<std::uint64_t, std::shared_ptr<QZOpenGLInstanceRenderingObjects>> referencedByRenderingObjects;
    };
    // (width, height) as the floats of a CGSize.
    using SizeKey = std::pair<CGFloat, CGFloat>;

    using NSObject::NSObject;
    static std::shared_ptr<QZOpenGLInstanceRenderingObjectsManager> make()
    {
        return NSObject::create<QZOpenGLInstanceRenderingObjectsManager>();
    }

    const std::map<SizeKey, SharedTextures>& renderingObjectsDictionary() const { return renderingObjectsDictionary_; }

    // Gives the set a source texture holding the pixels (RGBA, width x height) and the pair of its
    // size, made now when it is the first set of that size.
    void setupRenderingObjects(const std::shared_ptr<QZOpenGLInstanceRenderingObjects>& renderingObjects,
                               const std::uint8_t* pixels, int width, int height, QopGLData_t* glData);
    // The record's current result (its read texture) becomes the set's source image: the old
    // source takes the result's slot in the pair, in the entry and in every set of that size.
    void commitCurrentFramebufferToRenderingObjects(
        const std::shared_ptr<QZOpenGLInstanceRenderingObjects>& renderingObjects, QopGLData_t* glData);
    // Deletes the set's source texture, and the pair with the entry when no other set uses it. A
    // set not registered in its size's entry (removed already) deletes nothing.
    void removeRenderingObjects(const std::shared_ptr<QZOpenGLInstanceRenderingObjects>& renderingObjects,
                                QopGLData_t* glData);

private:
    std::map<SizeKey, SharedTextures> renderingObjectsDictionary_;
};
