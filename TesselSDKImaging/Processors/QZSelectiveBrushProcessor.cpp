#include "TesselSDKImaging/Processors/QZSelectiveBrushProcessor.h"

#include "TesselSDKImaging/Processors/QZBrushDabPath.h"
#include "TesselSDKImaging/QZOpenGLInstance.h"
#include "TesselSDKImaging/QZOpenGLInstanceRenderingObjects.h"
#include "TesselSDKImaging/QZPixelSize.h"

#include "CoreGraphics/CGImage.h"
#include "Foundation/NSLog.h"
#include "QopLite/QopAlloc.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLData.h"
#include "QopLite/QopGLMask.h"
#include "UIKit/UIColor.h"

#include <cmath>
#include <cstring>
#include <optional>

const float kQZMaxColorSplashCircleSeparationConstant = 0.5f;

namespace {

constexpr const char* kBlockName = "-[QZSelectiveBrushProcessor qopBitmapBlock]_block_invoke";

// The mask in whole pixels, only when both sides are finite and at least 1: a replay file may
// hold any number, and a NaN has no integer to become.
std::optional<QZPixelSize> maskPixels(CGSize size)
{
    const std::optional<QZPixelSize> pixels = QZPixelSizeFromCGSize(size);
    if (!pixels || pixels->width < 1 || pixels->height < 1) return std::nullopt;
    return pixels;
}

// A relative position as a pixel index on a side of `side` pixels, clamped to it: 1.0 (and
// anything beyond, NaN included) stays on the image.
std::size_t clampedIndex(CGFloat relative, std::size_t side)
{
    const float position = float(relative) * float(side);
    if (!(position >= 0)) return 0;
    if (position >= float(side)) return side - 1;
    return std::min(std::size_t(position), side - 1);
}

// The colour's components as bytes, truncated; nullopt for no colour or a pattern.
std::optional<QopColor_t> colourBytes(const std::shared_ptr<UIColor>& color)
{
    CGFloat r = 0, g = 0, b = 0, a = 0;
    if (!color || !color->getRed(&r, &g, &b, &a)) return std::nullopt;
    const auto byte = [](CGFloat component) {
        return std::uint8_t(std::fmin(std::fmax(component * 255.0f, 0.0f), 255.0f));
    };
    return QopColor_t{byte(r), byte(g), byte(b), byte(a)};
}

QopToolColorSplashBrushMode cpuBrushMode(QZColorSplashMode mode)
{
    if (mode == QZColorSplashModeSmart) return QopToolColorSplashBrushModeSmart;
    if (mode == QZColorSplashModeErase) return QopToolColorSplashBrushModeErase;
    return QopToolColorSplashBrushModeFree;
}

// The image scaled into `working` (mask-sized) with high-quality interpolation.
bool drawScaled(const QopBitmap_t& image, QopBitmap_t& working)
{
    CGContextRef source =
        QZCGContextCreateWithData(image.data, CGSizeMake(CGFloat(image.width), CGFloat(image.height)));
    CGContextRef target =
        QZCGContextCreateWithData(working.data, CGSizeMake(CGFloat(working.width), CGFloat(working.height)));
    CGImageRef picture = source ? CGBitmapContextCreateImage(source) : nullptr;
    if (target && picture) {
        CGContextSetInterpolationQuality(target, kCGInterpolationHigh);
        CGContextDrawImage(target, CGRectMake(0, 0, CGFloat(working.width), CGFloat(working.height)), picture);
    }
    const bool drawn = target && picture;
    CGImageRelease(picture);
    CGContextRelease(target);
    CGContextRelease(source);
    return drawn;
}

}  // namespace

struct QZSelectiveBrushProcessor::Run {
    QZSelectiveBrushProcessor& processor;
    QopBitmap_t* bitmap;
    const std::vector<QZBrushStroke::Snapshot>& strokes;
    QZPixelSize mask;
    bool isHires;
    const std::shared_ptr<QZOpenGLInstance>& glInstance;

    CGSize maskSize() const { return CGSizeMake(CGFloat(mask.width), CGFloat(mask.height)); }

    // The stroke's colour for a smart dab, picked from the image the first time; nullopt (logged)
    // when there is still none, and the stroke is then skipped.
    std::optional<QopColor_t> smartColour(QZBrushStroke& stroke) const
    {
        if (!stroke.color()) setStrokeColor(stroke, bitmap, glInstance);
        const std::optional<QopColor_t> colour = colourBytes(stroke.color());
        if (!colour) NSLog("%s %@", kBlockName, "Stroke must have color if in smart mode");
        return colour;
    }

    // The dabs still to paint of one stroke; empty when it has none. Marks them painted.
    std::vector<CGPoint> newDabs(const QZBrushStroke::Snapshot& snapshot) const
    {
        const std::vector<CGPoint>& points = *snapshot.points;
        const int next = snapshot.stroke->nextRenderIndex();
        const std::size_t start = isHires || next < 0 ? 0 : std::size_t(next);
        if (start >= points.size()) return {};
        const float maxSeparation = snapshot.brushSize * 0.5f * kQZMaxColorSplashCircleSeparationConstant;
        std::vector<CGPoint> dabs =
            QZBrushStrokeDabPoints(points, start, snapshot.isComplete, maxSeparation, maskSize());
        snapshot.stroke->setNextRenderIndex(int(points.size()));
        return dabs;
    }

    void onCPU() const
    {
        QopBitmap_t working{};
        if (!QopBitmapBuild(&working, mask.width, mask.height)) return;
        QopBitmap_t maskBitmap{};
        if (!drawScaled(*bitmap, working) || !QopBitmapBuild(&maskBitmap, mask.width, mask.height)) {
            QopBitmapFree(&working);
            return;
        }
        const QopToolType toolType = processor.qopCPUToolType();
        // Colour splash starts all covered: its dabs uncover the colour, Erase covers it again.
        if (toolType == QopToolTypeColorSplash) std::memset(maskBitmap.data, 255, mask.width * mask.height * 4);

        QopToolDrawParams_t params{};
        bool paramsSet = false;
        for (const QZBrushStroke::Snapshot& snapshot : strokes) {
            if (snapshot.points->empty()) continue;
            QopColor_t colour = colourBytes(snapshot.stroke->color()).value_or(QopColor_t{0, 0, 0, 0});
            if (snapshot.colorSplashMode == QZColorSplashModeSmart) {
                const std::optional<QopColor_t> picked = smartColour(*snapshot.stroke);
                if (!picked) continue;
                colour = *picked;
            }
            QopToolDrawParamsInit(&params);
            params.radius = snapshot.brushSize * 0.5f;
            params.alpha = 1.0;
            params.toolType = toolType;
            params.color = colour;
            params.colorSplashBrushMode = cpuBrushMode(snapshot.colorSplashMode);
            paramsSet = true;
            for (const CGPoint& dab : newDabs(snapshot)) {
                params.x = double(dab.x) * double(mask.width);
                params.y = double(dab.y) * double(mask.height);
                QopToolDraw(&working, &maskBitmap, &params);
            }
        }
        // Without a painted stroke the parameters were never set: the image stays as it was.
        if (paramsSet) QopToolRenderHiRes(bitmap, &maskBitmap, &params);
        QopBitmapFree(&maskBitmap);
        QopBitmapFree(&working);
    }

    void onGPU() const
    {
        QopGLData_t* glData = bitmap->glData;
        if (isHires && !shouldRenderAnything()) return;
        // The mask first: a mask that could not be made leaves the image unchanged, before the
        // effect (which may open an effect on the record) is rendered.
        if (!processor.maskTextureRenderingObjects_) {
            GLuint maskID = 0;
            QopGLMaskCreate(&maskID, int(mask.width), int(mask.height), glData);
            if (!maskID) return;
            auto record = QZOpenGLInstanceRenderingObjects::make();
            record->setTextureID(maskID);
            processor.maskTextureRenderingObjects_ = record;
        }
        const GLuint maskID = processor.maskTextureRenderingObjects_->textureID();
        if (!processor.processedTextureRenderingObjects_) {
            auto record = QZOpenGLInstanceRenderingObjects::make();
            processor.processedTextureRenderingObjects_ = record;
            record->setTextureID(processor.runQopPreprocessFunction(bitmap));
        }
        const GLuint effectID = processor.processedTextureRenderingObjects_->textureID();

        for (const QZBrushStroke::Snapshot& snapshot : strokes) {
            if (snapshot.points->empty()) continue;
            QopColor_t colour = colourBytes(snapshot.stroke->color()).value_or(QopColor_t{0, 0, 0, 0});
            if (snapshot.colorSplashMode == QZColorSplashModeSmart) {
                const std::optional<QopColor_t> picked = smartColour(*snapshot.stroke);
                if (!picked) continue;
                colour = *picked;
            }
            const std::vector<CGPoint> dabs = newDabs(snapshot);
            if (dabs.empty()) continue;
            std::vector<float> positions;
            positions.reserve(dabs.size() * 2);
            for (const CGPoint& dab : dabs) {
                positions.push_back(float(dab.x));
                positions.push_back(float(dab.y));
            }
            QopGLMaskAddPoints(maskID, int(mask.width), int(mask.height), positions.data(), int(positions.size()),
                               snapshot.brushSize * 0.5f, 10.0f, processor.brushAlpha(),
                               snapshot.colorSplashMode == QZColorSplashModeSmart ? QopGLMaskTypeSplash
                                                                                  : QopGLMaskTypeNormal,
                               &colour, snapshot.colorSplashMode == QZColorSplashModeErase, glData);
        }

        QopGLBitmapDrawExistingProcessedTextureWithMaskTexture(bitmap, effectID, maskID,
                                                               processor.effectedImageOnTop());
        if (isHires) {
            QopGLMaskDestroy(maskID);
            processor.maskTextureRenderingObjects_ = nullptr;
        }
    }

    // A full-size run whose strokes all lack points paints nothing, as one without strokes: the
    // image stays (on the CPU too), rather than showing the effect everywhere.
    bool shouldRenderAnything() const
    {
        if (processor.shouldRenderWithNoStrokes()) return true;
        for (const QZBrushStroke::Snapshot& snapshot : strokes) {
            if (!snapshot.points->empty()) return true;
        }
        return false;
    }
};

QZSelectiveBrushProcessor::~QZSelectiveBrushProcessor()
{
    if (glInstance_ && maskTextureRenderingObjects_)
        glInstance_->destroyMaskRenderingObjects(maskTextureRenderingObjects_);
}

QZQopBitmapBlock QZSelectiveBrushProcessor::qopBitmapBlock() const
{
    std::vector<QZBrushStroke::Snapshot> strokes;
    strokes.reserve(brushStrokes_.size());
    for (const auto& stroke : brushStrokes_) {
        if (stroke) strokes.push_back(stroke->snapshot());
    }
    auto processor = std::const_pointer_cast<QZSelectiveBrushProcessor>(self<QZSelectiveBrushProcessor>());
    return [processor, strokes = std::move(strokes), maskSize = maskSize_, isHires = isHires_,
            glInstance = glInstance_](QopBitmap_t* bitmap, const std::atomic<bool>* stop) {
        if (!bitmap || (stop && stop->load())) return;
        if (isHires && glInstance) {
            NSLog("%s %@", kBlockName, "Should not have glinstance set if is hires b/c its not necessasry.");
        }
        const bool onGPU = bitmap->glData != nullptr;
        const bool preview = onGPU && !isHires;
        // The preview goes on without strokes: it composites through the mask it has.
        if (strokes.empty() && !processor->shouldRenderWithNoStrokes() && !preview) return;
        const std::optional<QZPixelSize> mask = maskPixels(maskSize);
        if (!mask) return;
        const Run run{*processor, bitmap, strokes, *mask, isHires, glInstance};
        if (onGPU) {
            run.onGPU();
        } else if (bitmap->data) {
            run.onCPU();
        }
    };
}

void QZSelectiveBrushProcessor::setStrokeColor(QZBrushStroke& stroke, const QopBitmap_t* bitmap,
                                               const std::shared_ptr<QZOpenGLInstance>& glInstance)
{
    const std::vector<CGPoint> points = stroke.points();
    if (points.empty() || !bitmap) return;
    const CGPoint first = points.front();
    std::uint8_t pixel[4] = {0, 0, 0, 0};
    if (bitmap->glData) {
        QopGLData_t* record = glInstance && glInstance->glData() ? glInstance->glData() : bitmap->glData;
        const std::size_t width = record->glImageData.width, height = record->glImageData.height;
        if (width == 0 || height == 0) return;
        QopGLRenderingObjects_t& objects = record->glRenderingObjects;
        glBindFramebuffer(GL_FRAMEBUFFER, objects.offscreenFramebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, record->glImageData.texID, 0);
        glReadPixels(GLint(clampedIndex(first.x, width)), GLint(clampedIndex(first.y, height)), 1, 1, GL_RGBA,
                     GL_UNSIGNED_BYTE, pixel);
        // The passes render through this framebuffer into the write texture.
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, objects.writeTexture, 0);
    } else {
        if (!bitmap->data || bitmap->width == 0 || bitmap->height == 0) return;
        const std::size_t column = clampedIndex(first.x, bitmap->width);
        const std::size_t row = clampedIndex(first.y, bitmap->height);
        const QopColor_t& source = bitmap->data[row * bitmap->width + column];
        pixel[0] = source.r;
        pixel[1] = source.g;
        pixel[2] = source.b;
        pixel[3] = source.a;
    }
    stroke.setColor(UIColor::colorWithRed(pixel[0] / 255.0f, pixel[1] / 255.0f, pixel[2] / 255.0f, pixel[3] / 255.0f));
}
