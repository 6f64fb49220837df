#pragma once
// The last step of the tools that draw onto the photo (draw, text, meme, stickers): their drawing,
// made on the main thread at the preview's pixel size, blended over the preview before Apply ends.

#include "CoreGraphics/CGGeometry.h"

#include <cstdint>
#include <functional>
#include <memory>

class QZImageServer;
class QZOpenGLInstance;

// Blends `bytes` (RGBA of `size`; none: nothing blended) over the preview on the server's queue,
// presents the GL instance's renderbuffer there, then runs `presented` on the main thread with the
// context handed over. The blend copies the bytes before this returns, so the caller's buffer is
// free at once.
void QZBlendDrawingAndPresent(const std::shared_ptr<QZImageServer>& server, const std::uint8_t* bytes, CGSize size,
                              std::weak_ptr<QZOpenGLInstance> gl, std::function<void()> presented);
