#include <gtest/gtest.h>

#include <glib.h>

#include <thread>

#include "CTTestSupport.h"

namespace {

// Fonts made, text laid out and drawn from scratch: the work a queue does for one caption.
std::vector<uint8_t> drawCaption(const char* fontName)
{
    TextCanvas canvas(120, 60);
    HeldFont f = font(fontName, 15);
    CGColorRef ink = rgbColor(0, 0.5f, 1, 1);
    HeldString string = attributed("Threads draw the same text", f.get(), ink);
    CGColorRelease(ink);
    HeldFrame frame = frameOf(string.get(), CGRectMake(0, 0, 120, 60));
    const std::vector<CTLineRef>& lines = CTFrameGetLines(frame.get());
    std::vector<CGPoint> origins(lines.size());
    CTFrameGetLineOrigins(frame.get(), CFRangeMake(0, 0), origins.data());
    for (size_t i = 0; i < lines.size(); ++i) {
        CGContextSetTextPosition(canvas.context, origins[i].x, origins[i].y);
        CTLineDraw(lines[i], canvas.context);
    }
    return canvas.bytes;
}

TEST(CTThreads, LayoutAndDrawingOnManyThreadsGiveTheSamePixels)
{
    // Pango and GLib only warn when their structures are damaged: make that fatal.
    g_log_set_always_fatal(GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING));
    const char* names[] = {"ArialMT", "Impact", "Helvetica-Bold", "Arial-BoldMT"};
    std::vector<std::vector<uint8_t>> expected;
    for (const char* name : names) expected.push_back(drawCaption(name));
    std::vector<std::thread> threads;
    std::vector<int> mismatches(16, 0);
    for (size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 60; ++round) {
                size_t which = (t + size_t(round)) % std::size(names);
                if (drawCaption(names[which]) != expected[which]) ++mismatches[t];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (size_t t = 0; t < mismatches.size(); ++t) EXPECT_EQ(mismatches[t], 0) << "thread " << t;
}

}  // namespace
