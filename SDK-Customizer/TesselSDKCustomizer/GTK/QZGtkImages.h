#pragma once
// Our images and colours as GDK's: Cairo's ARGB32 is GDK's B8G8R8A8 premultiplied on
// little-endian machines.

#include <gdkmm/rgba.h>
#include <gdkmm/texture.h>

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

Glib::RefPtr<Gdk::Texture> QZTextureFromImage(const NSImagePtr& image);
Gdk::RGBA QZRGBAFromColor(const NSColorPtr& color);  // nil is transparent
NSColorPtr QZColorFromRGBA(const Gdk::RGBA& rgba);

}  // namespace customizer
