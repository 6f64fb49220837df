#pragma once
// The shape shared by the processors that apply one library function to the whole image: the block
// holds its own copy of the values, returns at once when stopped, and otherwise makes the one call
// (the library picks the GPU or the CPU path from the bitmap's glData).

#include "TesselSDKImaging/QZBitmap.h"

#include <utility>

// `call` takes the bitmap and holds whatever values it uses by copy.
template <class Call>
QZQopBitmapBlock QZQopCallBlock(Call call)
{
    return [call = std::move(call)](QopBitmap_t* bitmap, const std::atomic<bool>* stop) {
        if (!bitmap || (stop && stop->load())) return;
        call(bitmap);
    };
}
