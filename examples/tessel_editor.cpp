// tessel_editor: the editor as a host application embeds it, on one photo.
//
//   tessel_editor [--headless] [--script FILE] [--output OUT.png] [--screenshots DIR]
//                 [--device phone|tablet] [--scale S] [--content-root DIR] [--server URL]
//                 [--tool KEY | --pack IDENTIFIER] INPUT
//
// --content-root DIR holds the content store, downloaded packs and the editor's user defaults
// (made when missing; a new one starts from the packs the editor ships); by default
// $XDG_DATA_HOME/Tessel, else ~/.local/share/Tessel. --server URL is the content service's root
// (http or https), asked with tessel_content's API key; without it nothing is asked.
//
// With a display and none of --headless, --script, --screenshots it shows the editor in a window
// for the mouse. Otherwise it runs the script (by default: a screenshot, then Done) on the virtual
// clock. --tool opens the editor on that tool of the tool table, whose right bar button then
// finishes the edit; --pack opens the pack's tool on that pack's page. Done writes the edited photo at full size to
// OUT.png; Cancel prints "cancelled" (once a tool has been applied, after the person confirms:
// "Retake Photo" cancels, "Restore Original" takes the edits back). A screenshot needs
// --screenshots; nothing is ever written over INPUT. --scale
// is the pixels per point of the window and the screenshots, a number from 0.1 to 4 (2 by default;
// a window that would not fit the display's usable area at 2 is drawn at 1, or at the largest
// scale below 1 at which it fits); the photo never depends on it.
//
// Exit status: 0 done (written) or cancelled; 1 the work failed (an unreadable INPUT or script, an
// editor that cannot edit because no GL context can be made, a content root that cannot be made, a
// script that ended before Done or Cancel, a failed write), nothing written; 2 a malformed command
// line, with the usage (also an unknown tool, or an OUT.png or screenshot that is INPUT's own
// file); 3 a script line failed, with its number and why.
#include "TesselEditorHost.h"
#include "TesselEditorOutputs.h"
#include "TesselEditorScript.h"

#include "TesselSDKFoundation/QZSDKResources.h"

#include "Files/FileContents.h"
#include "Foundation/PlatformSettings.h"

#include "UIKit/UIImage.h"
#ifdef TESSEL_EDITOR_HAS_SDL
#include "UIKit/sdl/UISDLHost.h"
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace tessel_editor;

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitScript = 3;
// A script is a few hundred lines of taps and drags; anything much larger was not meant as one.
constexpr std::size_t kMaximumScriptBytes = std::size_t{1} << 20;
// Seconds the window runs between looks at the editor's outcome.
constexpr double kWindowTurn = 0.1;

const char* const kUsage =
    "usage: tessel_editor [--headless] [--script FILE] [--output OUT.png] [--screenshots DIR]\n"
    "                     [--device phone|tablet] [--scale S]\n"
    "                     [--content-root DIR] [--server URL] [--tool KEY | --pack IDENTIFIER] INPUT\n"
    "Opens the editor on the photo INPUT (PNG or JPEG). With a display it shows a window; with --headless\n"
    "(or no display) it runs the script, one command per line:\n"
    "  tap LABEL | tap X,Y | drag X1,Y1 X2,Y2 SECONDS | press X,Y SECONDS | wait SECONDS\n"
    "  screenshot NAME | expect LABEL | type TEXT | key return|backspace\n"
    "Done writes the edited photo to OUT.png; Cancel prints \"cancelled\". --scale: pixels per point of the\n"
    "window and the screenshots, 0.1 to 4 (default 2; a window fits the display).\n"
    "--content-root DIR keeps the content store, packs and settings (default $XDG_DATA_HOME/Tessel);\n"
    "--server URL is the content service's root (http or https).\n"
    "--tool KEY opens that tool at start (its right button, Done, finishes); --pack IDENTIFIER that pack's page.\n"
    "screenshot needs --screenshots DIR; nothing is written over INPUT.\n";

struct Options {
    bool headless = false;
    std::optional<std::string> script;
    std::optional<std::string> output;
    std::optional<std::string> screenshots;
    Device device = Device::Phone;
    std::optional<float> scale;
    ContentOptions content;
    QuickLaunch launch;
    std::string input;
};

// A decimal number from 0.1 to 4, written whole ("1.5", "0.75", "2"); anything else is malformed.
std::optional<float> parseScale(const std::string& text)
{
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !(value >= 0.1 && value <= 4)) return std::nullopt;
    return float(value);
}

std::optional<Options> parse(int argc, char** argv)
{
    Options options;
    bool haveInput = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc && argv[i + 1][0] != '\0';
        if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--script" || arg == "--output" || arg == "--screenshots" || arg == "--device" ||
                   arg == "--scale" || arg == "--content-root" || arg == "--server" || arg == "--tool" ||
                   arg == "--pack") {
            if (!hasValue) return std::nullopt;
            const std::string value = argv[++i];
            if (arg == "--script") options.script = value;
            if (arg == "--output") options.output = value;
            if (arg == "--screenshots") options.screenshots = value;
            if (arg == "--content-root") options.content.contentRoot = value;
            if (arg == "--tool") options.launch.tool = value;
            if (arg == "--pack") options.launch.pack = value;
            if (arg == "--server") {
                if (!isContentServiceRoot(value)) return std::nullopt;
                options.content.server = value;
            }
            if (arg == "--device") {
                if (value == "phone")
                    options.device = Device::Phone;
                else if (value == "tablet")
                    options.device = Device::Tablet;
                else
                    return std::nullopt;
            }
            if (arg == "--scale") {
                options.scale = parseScale(value);
                if (!options.scale) return std::nullopt;
            }
        } else if (arg.empty() || arg[0] == '-' || haveInput) {
            return std::nullopt;
        } else {
            options.input = arg;
            haveInput = true;
        }
    }
    if (!haveInput || (options.launch.tool && options.launch.pack)) return std::nullopt;
    return options;
}

int failed(const std::string& message)
{
    std::fprintf(stderr, "tessel_editor: %s\n", message.c_str());
    return kExitFailed;
}

bool hasDisplay()
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

// The editor's set-up failure, when it has one: the reason is printed and the host closed.
std::optional<int> cannotEdit(EditorHost& host)
{
    // After a write the editor is gone: it could edit.
    if (!host.editor()) return std::nullopt;
    const std::string reason = host.editor()->setupFailure();
    if (reason.empty()) return std::nullopt;
    host.close();
    return failed(reason);
}

// After Done: the edited photo written to OUT.png when one is asked for. `turn` runs the host's loop
// while the full-size photo renders (the progress shows over the photo meanwhile), for as long as
// that takes.
int deliver(const Options& options, EditorHost& host, const std::function<void()>& turn)
{
    std::string error;
    if (!host.waitForResult(turn)) return failed("the edited photo was not delivered");
    // A window keeps showing the progress over the photo until it closes after the write.
    if (options.output && !host.writeResult(*options.output, &error)) return failed("cannot write " + error);
    return 0;
}

int runHeadless(const Options& options, const std::shared_ptr<UIImage>& photo, const std::string& scriptText)
{
    std::string error;
    std::shared_ptr<EditorHost> host = EditorHost::open(photo, &error, EditorHost::Clock::Script, options.launch);
    if (!host) return failed(error);
    if (std::optional<int> status = cannotEdit(*host)) return *status;
    int status = 0;
    {
        ScriptRunner runner(*host, options.screenshots);
        const ScriptResult result = runner.run(splitLines(scriptText));
        switch (result.status) {
        case ScriptResult::Status::Failed:
            std::fprintf(stderr, "tessel_editor: line %d: %s\n", result.line, result.message.c_str());
            status = kExitScript;
            break;
        case ScriptResult::Status::Cancelled: std::printf("cancelled\n"); break;
        case ScriptResult::Status::Finished:
            status = deliver(options, *host, [] { EditorHost::settle(); });
            break;
        case ScriptResult::Status::Ended: status = failed("the script ended before Done or Cancel"); break;
        }
    }
    host->close();
    return status;
}

#ifdef TESSEL_EDITOR_HAS_SDL
// --scale as given; else 2 where the window fits the display's usable area at 2, else 1, else the
// largest scale below 1 (in hundredths) at which it fits, said on stderr.
float windowScale(const Options& options)
{
    if (options.scale) return *options.scale;
    const CGSize points = options.device == Device::Tablet ? CGSizeMake(768, 1024) : CGSizeMake(320, 568);
    const std::optional<CGSize> display = UISDLHost::usableDisplaySize();
    if (!display) return 2;
    auto fits = [&](double s) {
        return std::ceil(points.width * s) <= display->width && std::ceil(points.height * s) <= display->height;
    };
    if (fits(2)) return 2;
    double scale = 1;
    if (!fits(1)) {
        scale = std::floor(std::min(display->width / points.width, display->height / points.height) * 100) / 100;
        while (scale > 0.1 && !fits(scale)) scale -= 0.01;
        scale = std::max(scale, 0.1);
    }
    std::fprintf(stderr,
                 "tessel_editor: the window at scale 2 (%d x %d pixels) does not fit the display's usable area "
                 "(%d x %d): drawn at scale %g; --scale S draws it at S anyway\n",
                 int(points.width * 2), int(points.height * 2), int(display->width), int(display->height), scale);
    return float(scale);
}

int runWindow(const Options& options, const std::shared_ptr<UIImage>& photo)
{
    std::string error;
    std::shared_ptr<EditorHost> host = EditorHost::open(photo, &error, EditorHost::Clock::Real, options.launch);
    if (!host) return failed(error);
    std::unique_ptr<UISDLHost> window = UISDLHost::open(host->window(), "Tessel editor", &error);
    if (!window) {
        host->close();
        return failed("no window: " + error);
    }
    // The window runs until it is closed or the editor ends. An editor that cannot edit says so
    // in its window; the person's answer ends it.
    while (host->outcome() == EditorHost::Outcome::Editing && !window->isClosed()) window->run(kWindowTurn);
    // After Done the window stays, the progress over the photo, until OUT.png is written; closed
    // meanwhile, the photo is still written.
    int status = 0;
    if (host->outcome() == EditorHost::Outcome::Finished)
        status = deliver(options, *host, [&window] {
            if (window->isClosed())
                EditorHost::settle();
            else
                window->run(kWindowTurn);
        });
    window.reset();
    if (std::optional<int> failure = cannotEdit(*host)) return *failure;
    if (host->outcome() == EditorHost::Outcome::Cancelled) std::printf("cancelled\n");
    host->close();
    return status;
}
#endif

}  // namespace

int main(int argc, char** argv)
{
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    std::string scriptText = options->screenshots ? kDefaultScript : kDefaultScriptWithoutScreenshots;
    if (options->script) {
        std::string reason;
        if (!FileReadText(*options->script, kMaximumScriptBytes, &scriptText, &reason))
            return failed("cannot read the script " + *options->script + ": " + reason);
    }
    // Refused before anything is opened or made: the person's own file is never the one written.
    if (const std::string target = writeOverInput(options->input, options->output, options->screenshots, scriptText);
        !target.empty()) {
        std::fprintf(stderr, "tessel_editor: %s is the photo INPUT itself; it is never written over\n", target.c_str());
        return kExitUsage;
    }
    // Before anything reads a standard directory.
    std::string error;
    if (!applyContentOptions(options->content, &error)) return failed(error);
    const bool headless = options->headless || options->script || options->screenshots || !hasDisplay();
    float scale = options->scale.value_or(2);
#ifdef TESSEL_EDITOR_HAS_SDL
    if (!headless) scale = windowScale(*options);
#endif
    configureDevice(options->device, scale);
    if (!QZSDKResources::resourceBundle())
        return failed("TesselSDKResources.bundle is missing beside the program (" + PlatformSettings::mainBundlePath() +
                      ")");

    if (options->launch.tool) {
        const std::vector<std::string> keys = toolKeys();
        if (std::find(keys.begin(), keys.end(), *options->launch.tool) == keys.end()) {
            std::fprintf(stderr, "tessel_editor: no tool \"%s\"; the tools: %s\n", options->launch.tool->c_str(),
                         joinedToolKeys().c_str());
            return kExitUsage;
        }
    }

    std::shared_ptr<UIImage> photo = EditorHost::readPhoto(options->input, &error);
    if (!photo) return failed("cannot read " + error);

#ifdef TESSEL_EDITOR_HAS_SDL
    if (!headless) return runWindow(*options, photo);
#else
    (void)headless;
#endif
    return runHeadless(*options, photo, scriptText);
}
