// Red-eye: a pixel whose red outweighs green and blue together gets the mean of green and blue as
// its red. The test reads one image and writes another, so a processed copy can be made from the
// original without changing it.
#include "QopLite/QopTools.h"

extern "C" {

void QopRedEye(QopBitmap_t *bitmap, QopBitmap_t *src)
{
    if (!bitmap || !src || !bitmap->data || !src->data || bitmap->width != src->width ||
        bitmap->height != src->height || bitmap->height == 0)
        return;
    const size_t count = src->width * src->height;
    for (size_t i = 0; i < count; ++i) {
        const QopColor_t c = src->data[i];
        const int greenBlue = c.g + c.b;
        if (c.r >= greenBlue) {
            // (g + b) / 2 + 0.5 is at most 255.5, so it always fits a byte once truncated.
            bitmap->data[i].r = static_cast<uint8_t>(static_cast<float>(greenBlue) * 0.5f + 0.5f);
        }
    }
}

}
