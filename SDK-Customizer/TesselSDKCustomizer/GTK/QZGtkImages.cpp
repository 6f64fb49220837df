#include "GTK/QZGtkImages.h"

#include <cairo.h>
#include <gdk/gdk.h>

#include "Render/CGImage.h"

namespace customizer {

Glib::RefPtr<Gdk::Texture> QZTextureFromImage(const NSImagePtr& image)
{
    if (!image || !image->isValid() || !image->CGImage()) return {};
    cairo_surface_t* surface = image->CGImage()->surface();
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    GBytes* bytes = g_bytes_new(cairo_image_surface_get_data(surface), gsize(stride) * gsize(height));
    GdkTexture* texture = gdk_memory_texture_new(width, height, GDK_MEMORY_B8G8R8A8_PREMULTIPLIED, bytes, stride);
    g_bytes_unref(bytes);
    return Glib::wrap(texture);
}

Gdk::RGBA QZRGBAFromColor(const NSColorPtr& color)
{
    if (!color) return Gdk::RGBA(0, 0, 0, 0);
    return Gdk::RGBA(color->redComponent(), color->greenComponent(), color->blueComponent(), color->alphaComponent());
}

NSColorPtr QZColorFromRGBA(const Gdk::RGBA& rgba)
{
    return NSColor::colorWithCalibratedRed(rgba.get_red(), rgba.get_green(), rgba.get_blue(), rgba.get_alpha());
}

}  // namespace customizer
