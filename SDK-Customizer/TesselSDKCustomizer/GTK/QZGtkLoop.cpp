#include "GTK/QZGtkLoop.h"

#include <glib.h>

#include <memory>

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
    gint64 start;
    std::function<void(double)> step;
    std::function<void()> completion;
};

}  // namespace

void QZGtkAnimator::animate(double seconds, std::function<void(double)> step, std::function<void()> completion)
{
    auto* animation = new Animation{seconds, g_get_monotonic_time(), std::move(step), std::move(completion)};
    g_timeout_add_full(
        G_PRIORITY_DEFAULT, 16,
        [](gpointer data) -> gboolean {
            auto* a = static_cast<Animation*>(data);
            const double fraction = a->seconds <= 0 ? 1.0 : std::min(1.0, (g_get_monotonic_time() - a->start) / (a->seconds * 1e6));
            if (a->step) a->step(fraction);
            if (fraction < 1.0) return G_SOURCE_CONTINUE;
            if (a->completion) a->completion();
            return G_SOURCE_REMOVE;
        },
        animation, [](gpointer data) { delete static_cast<Animation*>(data); });
}

}  // namespace customizer
