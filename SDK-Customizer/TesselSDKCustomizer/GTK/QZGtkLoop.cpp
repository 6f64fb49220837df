#include "GTK/QZGtkLoop.h"

#include <glib.h>
#include <gtk/gtk.h>

#include <algorithm>

namespace customizer {

void QZGtkMainLoop::post(std::function<void()> block)
{
    auto* heap = new std::function<void()>(std::move(block));
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        heap, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

namespace {

struct Animation {
    double seconds;
    gint64 start;  // frame time of the first tick; -1 until then
    std::function<void(double)> step;
    std::function<void()> completion;
};

gboolean tick(GtkWidget*, GdkFrameClock* clock, gpointer data)
{
    auto* a = static_cast<Animation*>(data);
    const gint64 now = gdk_frame_clock_get_frame_time(clock);
    if (a->start < 0) a->start = now;
    const double fraction = a->seconds <= 0 ? 1.0 : std::min(1.0, double(now - a->start) / (a->seconds * 1e6));
    if (a->step) a->step(fraction);
    if (fraction < 1.0) return G_SOURCE_CONTINUE;
    if (a->completion) a->completion();
    return G_SOURCE_REMOVE;
}

}  // namespace

void QZGtkAnimator::animate(double seconds, std::function<void(double)> step, std::function<void()> completion)
{
    auto* animation = new Animation{seconds, -1, std::move(step), std::move(completion)};
    gtk_widget_add_tick_callback(clockOwner_.gobj(), tick, animation,
                                 [](gpointer data) { delete static_cast<Animation*>(data); });
}

}  // namespace customizer
