#pragma once
// Test support for running processors as an image server does, on QopLite's test bitmaps: a CPU
// server drawn from one and its buffer read back as one (over the image servers' own support).

#include "TesselSDKImaging/tests/QZImageServerTestSupport.h"

#include "CoreGraphics/CGImage.h"
#include "QopTestBitmap.h"

#include <cstring>
#include <memory>

namespace qz_test {

// A CPU server holding the bitmap, drawn into its buffer.
inline std::shared_ptr<QZBitmapImageServer> makeDrawnCpuServer(const qop_test::TestBitmap& bitmap)
{
    CGImageRef image = CGImageCreateWithRGBABytes(bitmap.width(), bitmap.height(), bitmap.width() * 4,
                                                  reinterpret_cast<const std::uint8_t*>(bitmap.data()));
    std::shared_ptr<QZBitmapImageServer> server = QZBitmapImageServer::make(image, 1, UIImageOrientationUp);
    CGImageRelease(image);
    if (server) server->drawImage();
    return server;
}

// The CPU server's buffer once everything queued so far has run.
inline qop_test::TestBitmap readCpuServer(const std::shared_ptr<QZBitmapImageServer>& server)
{
    const Pixels pixels = readBack(server);
    if (pixels.width == 0 || pixels.height == 0) return {};
    qop_test::TestBitmap bitmap(pixels.width, pixels.height);
    std::memcpy(bitmap.data(), pixels.rgba.data(), bitmap.pixelCount() * 4);
    return bitmap;
}

}  // namespace qz_test
