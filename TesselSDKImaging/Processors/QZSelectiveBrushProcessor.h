#pragma once
// Paints brush strokes into a mask and shows an effect through it: on the GPU during the live
// preview (the effect image and the mask persist; each run paints only the points that arrived
// since the last), and on the GPU or the CPU for the full-size result (`isHires`: every point, a
// new mask each run). Subclasses supply the effect.

#include "TesselSDKImaging/Processors/QZBrushStrokesProcessor.h"

#include "QopLite/QopTools.h"

#include <GLES2/gl2.h>

#include <memory>

class QZOpenGLInstance;
class QZOpenGLInstanceRenderingObjects;

// The largest gap between two dabs, as a fraction of the brush radius.
extern const float kQZMaxColorSplashCircleSeparationConstant;

class QZSelectiveBrushProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    ~QZSelectiveBrushProcessor() override;

    const QZBrushStrokeList& brushStrokes() const { return brushStrokes_; }
    void setBrushStrokes(QZBrushStrokeList strokes) { brushStrokes_ = std::move(strokes); }
    // The mask in pixels: the preview's size, for the preview and the full-size processor alike.
    CGSize maskSize() const { return maskSize_; }
    void setMaskSize(CGSize size) { maskSize_ = size; }
    bool isHires() const { return isHires_; }
    void setIsHires(bool hires) { isHires_ = hires; }
    // The editor's instance; set for the live preview only.
    const std::shared_ptr<QZOpenGLInstance>& glInstance() const { return glInstance_; }
    void setGlInstance(std::shared_ptr<QZOpenGLInstance> instance) { glInstance_ = std::move(instance); }
    // The whole image with the effect applied, and the GPU mask. Read and written on the GPU queue.
    const std::shared_ptr<QZOpenGLInstanceRenderingObjects>& processedTextureRenderingObjects() const
    {
        return processedTextureRenderingObjects_;
    }
    const std::shared_ptr<QZOpenGLInstanceRenderingObjects>& maskTextureRenderingObjects() const
    {
        return maskTextureRenderingObjects_;
    }

    // The whole image with the effect applied, as a texture of the instance (never deleted here).
    virtual GLuint runQopPreprocessFunction(QopBitmap_t* bitmap) = 0;
    virtual QopToolType qopCPUToolType() const = 0;
    virtual bool shouldRenderWithNoStrokes() const { return false; }
    // With YES the painted areas keep the image and the effect shows elsewhere.
    virtual bool effectedImageOnTop() const { return true; }
    // The opacity of one GPU dab.
    virtual float brushAlpha() const { return 1.0f; }

    // The block captures the strokes (each as a snapshot of its points), the mask size, the hi-res
    // flag and the instance when it is made.
    QZQopBitmapBlock qopBitmapBlock() const override;

    // Sets the stroke's colour from the pixel under its first point, clamped to the image: from the
    // instance's current image, the bitmap's GPU image, or the bitmap's pixels.
    static void setStrokeColor(QZBrushStroke& stroke, const QopBitmap_t* bitmap,
                               const std::shared_ptr<QZOpenGLInstance>& glInstance);

private:
    QZBrushStrokeList brushStrokes_;
    CGSize maskSize_{0, 0};
    bool isHires_ = false;
    std::shared_ptr<QZOpenGLInstance> glInstance_;
    std::shared_ptr<QZOpenGLInstanceRenderingObjects> processedTextureRenderingObjects_;
    std::shared_ptr<QZOpenGLInstanceRenderingObjects> maskTextureRenderingObjects_;

    struct Run;
};
