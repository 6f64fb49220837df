// qop_apply: loads a photograph (PNG or JPEG), runs one named QopLite operation (or an effect
// recipe) on it and writes the result as PNG.
//
//   qop_apply [OPTIONS] INPUT OUTPUT.png OPERATION [ARGS...]
//   qop_apply --recipe RECIPE.json INPUT OUTPUT.png
//
// With --gpu the operation runs through the GPU library on a headless OpenGL ES context (one
// effect in Default mode, read back into the pixels at its end) instead of on the CPU.
//
// Exit status: 0 written; 1 the work failed (an unreadable input or recipe, no GL context, the
// operation or the write), with a message; 2 a malformed command line, with the usage. Nothing is
// written unless the status is 0. Options are "--name" or "--name VALUE" and may stand anywhere
// before "--"; a single dash is not an option, so negative numbers pass as arguments.
#include "QopApplyOperations.h"
#include "QopBitmapFile.h"

#include "GLES/EGLHeadlessContext.h"
#include "ImageIO/ImageIOCodec.h"
#include "QopLite/QLPL.h"
#include "QopLite/QopAlloc.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopGL.h"
#include "Files/FileContents.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Everything the command line asked for.
struct Invocation {
    bool help = false;
    bool gpu = false;   // run through the GPU library instead of on the CPU
    std::string recipe; // a recipe file to run instead of an operation
    std::string input;
    std::string output;
    std::string operation;
    std::vector<std::string> operationArguments;
};

// One command-line option: a flag when valueName is null, else it takes the next word.
struct Option {
    const char *name;
    const char *valueName;
    const char *help;
    void (*apply)(Invocation &invocation, const std::string &value);
};

const std::vector<Option> &options()
{
    static const std::vector<Option> table = {
        {"--help", nullptr, "lists the operations and their arguments",
         [](Invocation &invocation, const std::string &) { invocation.help = true; }},
        {"--recipe", "FILE", "runs the effect recipe (JSON) in FILE instead of an operation",
         [](Invocation &invocation, const std::string &value) { invocation.recipe = value; }},
        {"--gpu", nullptr, "runs through the GPU library (OpenGL ES 2.0 over a headless EGL context)",
         [](Invocation &invocation, const std::string &) { invocation.gpu = true; }},
    };
    return table;
}

const Option *findOption(const std::string &name)
{
    for (const Option &option : options())
        if (name == option.name)
            return &option;
    return nullptr;
}

bool parseCommandLine(int argc, char **argv, Invocation *invocation, std::string *error)
{
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || word.rfind("--", 0) != 0) {
            positional.push_back(word);
            continue;
        }
        const Option *option = findOption(word);
        if (!option) {
            *error = "unknown option '" + word + "'";
            return false;
        }
        std::string value;
        if (option->valueName) {
            if (i + 1 >= argc) {
                *error = word + " needs " + option->valueName;
                return false;
            }
            value = argv[++i];
        }
        option->apply(*invocation, value);
    }
    if (invocation->help)
        return true;
    if (!invocation->recipe.empty()) {
        if (positional.size() != 2) {
            *error = "with --recipe, expected INPUT OUTPUT.png";
            return false;
        }
        invocation->input = positional[0];
        invocation->output = positional[1];
        return true;
    }
    if (positional.size() < 3) {
        *error = "expected INPUT OUTPUT.png OPERATION";
        return false;
    }
    invocation->input = positional[0];
    invocation->output = positional[1];
    invocation->operation = positional[2];
    invocation->operationArguments.assign(positional.begin() + 3, positional.end());
    return true;
}

constexpr const char *kSynopsis = "usage: qop_apply [OPTIONS] INPUT OUTPUT.png OPERATION [ARGS...]\n"
                                  "       qop_apply --recipe RECIPE.json INPUT OUTPUT.png\n";

void printUsage(std::FILE *out)
{
    std::fprintf(out, "%s\n"
                      "Reads INPUT (PNG or JPEG), runs OPERATION (or the recipe) and writes OUTPUT as PNG.\n"
                      "Arguments left out take the default shown.\n\nOptions:\n",
                 kSynopsis);
    for (const Option &option : options()) {
        std::string form = option.name;
        if (option.valueName)
            form += std::string(" ") + option.valueName;
        std::fprintf(out, "  %-22s %s\n", form.c_str(), option.help);
    }
    std::fprintf(out, "\nOperations:\n");
    for (const qop_apply::Operation &operation : qop_apply::operations()) {
        std::fprintf(out, "  %-20s %s\n", operation.name, operation.help);
        const std::string args = qop_apply::synopsis(operation);
        if (!args.empty())
            std::fprintf(out, "  %-20s %s\n", "", args.c_str());
    }
    std::string modes;
    for (const std::string &mode : qop_apply::blendModeNames())
        modes += (modes.empty() ? "" : ", ") + mode;
    std::fprintf(out, "\nBlend modes: %s\n", modes.c_str());
}

int usageError(const std::string &message)
{
    std::fprintf(stderr, "qop_apply: %s\n%sRun 'qop_apply --help' for the operations.\n", message.c_str(), kSynopsis);
    return kExitUsage;
}

int failed(const std::string &message)
{
    std::fprintf(stderr, "qop_apply: %s\n", message.c_str());
    return kExitFailed;
}

// --gpu: a headless GL context and a GPU record lent to the bitmap for one effect.
struct GpuRun {
    EGLHeadlessContext context;
    QopGLData_t *record = nullptr;

    // Makes the context and record and opens the effect (which uploads the pixels).
    bool begin(QopBitmap_t *bitmap, std::string *error)
    {
        std::string why;
        if (!context.open(&why)) {
            *error = "--gpu: " + why;
            return false;
        }
        record = static_cast<QopGLData_t *>(std::calloc(1, sizeof(QopGLData_t)));
        if (!record || !QopGLInitialize(record, QopGLDeviceGPUSpeedFast, QopGLRenderingModeDefault)) {
            *error = "--gpu: the GPU record could not be set up";
            end(nullptr);
            return false;
        }
        bitmap->glData = record;
        QopGLCreateEffect(bitmap);
        return true;
    }

    // Finishes the effect (reading the result into the pixels) and releases everything. false when
    // a GPU program failed to build on the way (the image then lacks the passes it would have drawn).
    bool end(QopBitmap_t *bitmap)
    {
        bool ok = true;
        if (bitmap && bitmap->glData) {
            QopGLFinalizeEffect(bitmap);
            bitmap->glData = nullptr;
            ok = record->state == QopGLStateOk;
        }
        if (record) {
            QopGLDestroy(record);
            std::free(record);
            record = nullptr;
        }
        context.close();
        return ok;
    }
};

// Applies `apply` to the image (inside one GPU effect with --gpu) and writes the result, reporting
// the first failure; the exit status. apply says why it failed in *error. The image is not freed.
int applyAndWrite(const Invocation &invocation, QopBitmap_t *bitmap,
                  const std::function<bool(QopBitmap_t *bitmap, std::string *error)> &apply)
{
    std::string error;
    int status = 0;
    GpuRun gpu;
    if (invocation.gpu && !gpu.begin(bitmap, &error)) {
        std::fprintf(stderr, "qop_apply: %s\n", error.c_str());
        status = kExitFailed;
    } else if (!apply(bitmap, &error)) {
        std::fprintf(stderr, "qop_apply: %s\n", error.c_str());
        status = kExitFailed;
    } else if (invocation.gpu && !gpu.end(bitmap)) {
        std::fprintf(stderr, "qop_apply: a GPU program failed to build\n");
        status = kExitFailed;
    } else if (!ImageIOWritePNGFile(invocation.output, bitmap->data, bitmap->width, bitmap->height, &error)) {
        std::fprintf(stderr, "qop_apply: cannot write %s\n", error.c_str());
        status = kExitFailed;
    }
    if (invocation.gpu)
        gpu.end(bitmap);
    return status;
}

// Runs the recipe file at full intensity (seed 0, borders on), the way an effect pack applies it.
int runRecipe(const Invocation &invocation)
{
    std::string text, reason;
    // A recipe is a page of JSON; a few megabytes is more than any holds.
    if (!FileReadText(invocation.recipe, std::size_t{4} << 20, &text, &reason))
        return failed("cannot read recipe " + invocation.recipe + ": " + reason);
    QopJSONEffect effect = QLPLLoadEffect(text.c_str());
    if (!effect)
        return failed(invocation.recipe + " is not an effect recipe");

    QopBitmap_t bitmap;
    std::string error;
    if (!qop_examples::readBitmapFile(invocation.input, &bitmap, &error)) {
        QLPLUnloadEffect(&effect);
        return failed("cannot read " + error);
    }
    QopEffectParams_t params;
    QopEffectInitParams(&params);
    const int status = applyAndWrite(invocation, &bitmap, [&](QopBitmap_t *image, std::string *why) {
        if (QLPLRunEffect(effect, image, &params))
            return true;
        *why = "the recipe " + invocation.recipe + " failed (a processor is malformed or not available)";
        return false;
    });
    QLPLUnloadEffect(&effect);
    QopBitmapFree(&bitmap);
    return status;
}

} // namespace

int main(int argc, char **argv)
{
    Invocation invocation;
    std::string error;
    if (!parseCommandLine(argc, argv, &invocation, &error))
        return usageError(error);
    if (invocation.help) {
        printUsage(stdout);
        return 0;
    }

    if (!invocation.recipe.empty())
        return runRecipe(invocation);

    // Everything that can be checked without pixels is checked before the input is read.
    const qop_apply::Operation *operation = qop_apply::findOperation(invocation.operation);
    if (!operation)
        return usageError("unknown operation '" + invocation.operation + "'");
    std::vector<double> values;
    if (!qop_apply::parseArguments(*operation, invocation.operationArguments, &values, &error))
        return usageError(error);

    QopBitmap_t bitmap;
    if (!qop_examples::readBitmapFile(invocation.input, &bitmap, &error))
        return failed("cannot read " + error);

    const int status = applyAndWrite(invocation, &bitmap, [&](QopBitmap_t *image, std::string *why) {
        return operation->run(*image, qop_apply::ArgumentValues(std::move(values)), why);
    });
    QopBitmapFree(&bitmap);
    return status;
}
