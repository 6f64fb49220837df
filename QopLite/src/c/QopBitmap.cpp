// Effect parameters, the library's versions, and the effects that only redraw the current image.
#include "QopLite/QopBitmap.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLBitmapBlend.h"

extern "C" {

void QopEffectInitParams(QopEffectParams_t *params)
{
    params->seed = 0;
    params->intensity = 1.0;
    params->border = true;
    params->scale = 1.0;
}

void QopEffectOriginal(QopBitmap_t *bitmap, QopEffectParams_t *)
{
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    if (bitmap->glData)
        QopGLDrawCurrentBitmapIdentity(bitmap->glData);
    QopBitmapEndGLEffectIfEnabled(bitmap);
}

QopVersion_t QopLiteVersion(void) { return QopVersion_t{1, 4, 3}; }

QopLiteProclistVersion_t QopLiteProclistVersion(void) { return QopLiteProclistVersion_t{1, 0, 1}; }

void QopBitmapOriginal(QopBitmap_t *bitmap)
{
    if (bitmap->glData)
        QopGLDrawCurrentBitmapIdentity(bitmap->glData);
}

void QopBitmapBeginGLEffectIfEnabled(QopBitmap_t *bitmap)
{
    if (bitmap->glData)
        QopGLCreateEffect(bitmap);
}

void QopBitmapEndGLEffectIfEnabled(QopBitmap_t *bitmap)
{
    if (bitmap->glData)
        QopGLFinalizeEffect(bitmap);
}

void QopBitmapEffectBitmapComposite(QopBitmap_t *bitmap, QopBitmap_t *src)
{
    if (!bitmap->glData)
        return;
    QopGLCreateEffect(bitmap);
    QopGLDrawCurrentBitmapIdentity(bitmap->glData);
    QopGLBitmapComposite(bitmap, src);
    QopGLFinalizeEffect(bitmap);
}

void QopBitmapEffectBitmapResize(QopBitmap_t *bitmap, const QopBitmapResizeRect_t *resizeRect)
{
    if (!bitmap->glData)
        return;
    QopGLCreateEffect(bitmap);
    QopGLDrawCurrentBitmapWithResizeRect(bitmap->glData, resizeRect);
    QopGLFinalizeEffect(bitmap);
}

}
