// tessel_editor: the editor as a host application embeds it, on one photo.
//
//   tessel_editor [--headless] [--script FILE] [--output OUT.png] [--screenshots DIR]
//                 [--device phone|tablet] INPUT
//
// With a display and none of --headless, --script, --screenshots it shows the editor in a window
// for the mouse. Otherwise it runs the script (by default: a screenshot, then Done) on the virtual
// clock. Done writes the edited photo at full size to OUT.png; Cancel prints "cancelled".
//
// Exit status: 0 done (written), cancelled, or the script ended without either (nothing written);
// 1 the work failed (an unreadable INPUT or script, a failed write), nothing written; 2 a malformed
// command line, with the usage; 3 a script line failed, with its number and why.
#include "TesselEditorHost.h"
#include "TesselEditorScript.h"

#include "TesselSDKFoundation/QZSDKResources.h"

#include "Files/FileContents.h"
#include "Foundation/PlatformSettings.h"

#ifdef TESSEL_EDITOR_HAS_SDL
#include "UIKit/sdl/UISDLHost.h"
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
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
    "                     [--device phone|tablet] INPUT\n"
    "Opens the editor on the photo INPUT (PNG or JPEG). With a display it shows a window; with --headless\n"
    "(or no display) it runs the script, one command per line:\n"
    "  tap LABEL | tap X,Y | drag X1,Y1 X2,Y2 SECONDS | press X,Y SECONDS | wait SECONDS\n"
    "  screenshot NAME | expect LABEL\n"
    "Done writes the edited photo to OUT.png; Cancel prints \"cancelled\".\n";

struct Options {
    bool headless = false;
    std::optional<std::string> script;
    std::optional<std::string> output;
    std::optional<std::string> screenshots;
    Device device = Device::Phone;
    std::string input;
};

std::optional<Options> parse(int argc, char** argv)
{
    Options options;
    bool haveInput = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc && argv[i + 1][0] != '\0';
        if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--script" || arg == "--output" || arg == "--screenshots" || arg == "--device") {
            if (!hasValue) return std::nullopt;
            const std::string value = argv[++i];
            if (arg == "--script") options.script = value;
            if (arg == "--output") options.output = value;
            if (arg == "--screenshots") options.screenshots = value;
            if (arg == "--device") {
                if (value == "phone")
                    options.device = Device::Phone;
                else if (value == "tablet")
                    options.device = Device::Tablet;
                else
                    return std::nullopt;
            }
        } else if (arg.empty() || arg[0] == '-' || haveInput) {
            return std::nullopt;
        } else {
            options.input = arg;
            haveInput = true;
        }
    }
    if (!haveInput) return std::nullopt;
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

int runHeadless(const Options& options, const std::shared_ptr<UIImage>& photo, const std::string& scriptText)
{
    std::string error;
    std::shared_ptr<EditorHost> host = EditorHost::open(photo, &error);
    if (!host) return failed(error);
    int status = 0;
    {
        ScriptRunner runner(*host, options.screenshots.value_or("."));
        const ScriptResult result = runner.run(splitLines(scriptText));
        switch (result.status) {
        case ScriptResult::Status::Failed:
            std::fprintf(stderr, "tessel_editor: line %d: %s\n", result.line, result.message.c_str());
            status = kExitScript;
            break;
        case ScriptResult::Status::Cancelled: std::printf("cancelled\n"); break;
        case ScriptResult::Status::Finished:
            EditorHost::settle();
            if (!host->result())
                status = failed("the edited photo was not delivered");
            else if (options.output && !writePNG(host->result(), *options.output, &error))
                status = failed("cannot write " + error);
            break;
        case ScriptResult::Status::Ended: break;
        }
    }
    host->close();
    return status;
}

#ifdef TESSEL_EDITOR_HAS_SDL
int runWindow(const Options& options, const std::shared_ptr<UIImage>& photo)
{
    std::string error;
    std::shared_ptr<EditorHost> host = EditorHost::open(photo, &error);
    if (!host) return failed(error);
    std::unique_ptr<UISDLHost> window = UISDLHost::open(host->window(), "Tessel editor", &error);
    if (!window) {
        host->close();
        return failed("no window: " + error);
    }
    // The window runs until it is closed (a turn returning before its time) or the editor ends.
    while (host->outcome() == EditorHost::Outcome::Editing) {
        const auto start = std::chrono::steady_clock::now();
        window->run(kWindowTurn);
        if (std::chrono::steady_clock::now() - start < std::chrono::duration<double>(kWindowTurn)) break;
    }
    int status = 0;
    if (host->outcome() == EditorHost::Outcome::Cancelled) std::printf("cancelled\n");
    if (host->outcome() == EditorHost::Outcome::Finished) {
        EditorHost::settle();
        if (!host->result())
            status = failed("the edited photo was not delivered");
        else if (options.output && !writePNG(host->result(), *options.output, &error))
            status = failed("cannot write " + error);
    }
    window.reset();
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
    configureDevice(options->device);
    if (!QZSDKResources::resourceBundle())
        return failed("TesselSDKResources.bundle is missing beside the program (" + PlatformSettings::mainBundlePath() +
                      ")");

    std::string scriptText = kDefaultScript;
    if (options->script) {
        std::string reason;
        if (!FileReadText(*options->script, kMaximumScriptBytes, &scriptText, &reason))
            return failed("cannot read the script " + *options->script + ": " + reason);
    }
    std::string error;
    std::shared_ptr<UIImage> photo = EditorHost::readPhoto(options->input, &error);
    if (!photo) return failed("cannot read " + error);

    const bool headless = options->headless || options->script || options->screenshots || !hasDisplay();
#ifdef TESSEL_EDITOR_HAS_SDL
    if (!headless) return runWindow(*options, photo);
#endif
    (void)headless;
    return runHeadless(*options, photo, scriptText);
}
