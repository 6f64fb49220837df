// Fuzz target for image decoding: any bytes are offered to UIImage as a PNG or JPEG. A decoded
// image must have a size; anything else must be refused (null), never read out of bounds.
#include "CoreGraphics/CGImage.h"
#include "UIKit/UIImage.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    auto image = UIImage::imageWithData(std::vector<uint8_t>(data, data + size));
    if (image == nullptr)
        return 0;
    if (image->CGImage() == nullptr || CGImageGetWidth(image->CGImage()) == 0 || CGImageGetHeight(image->CGImage()) == 0)
        std::abort();
    (void)image->size();
    return 0;
}
