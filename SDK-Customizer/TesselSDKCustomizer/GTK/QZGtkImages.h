#pragma once
// Our images and colours as GDK's: Cairo's ARGB32 is GDK's B8G8R8A8 premultiplied on
// little-endian machines.

#include <gdkmm/rgba.h>
#include <gdkmm/texture.h>

#include <string>

#include "Render/NSColor.h"
#include "Render/NSImage.h"

namespace customizer {

Glib::RefPtr<Gdk::Texture> QZTextureFromImage(const NSImagePtr& image);
// Exactly width x height: the image scaled to fit inside, centred, when its size differs.
Glib::RefPtr<Gdk::Texture> QZTextureFromImageFittingSize(const NSImagePtr& image, int width, int height);
// A PNG or JPEG file stretched to width x height; null when it cannot be read.
Glib::RefPtr<Gdk::Texture> QZTextureFromFileStretched(const std::string& path, int width, int height);
Gdk::RGBA QZRGBAFromColor(const NSColorPtr& color);  // nil is transparent
NSColorPtr QZColorFromRGBA(const Gdk::RGBA& rgba);

}  // namespace customizer
