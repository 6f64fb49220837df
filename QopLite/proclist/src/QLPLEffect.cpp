// Loading, running and unloading a recipe, and the dispatch of one processor object by name.
#include "QLPLJSONValues.h"
#include "QopLite/QLPL.h"
#include "QopLite/QopBitmap.h"

#include <cstring>

namespace {

// Freeing a yajl tree recurses once per nesting level, so a hostile text of a few hundred
// kilobytes of "[" could exhaust the stack. Real recipes nest a handful of levels; anything
// deeper than QLPL_MAX_NESTING is refused before yajl builds a tree. The scan skips strings and
// the comments yajl's tree parser accepts, so a quote inside a comment cannot hide brackets.
bool nestingWithinLimit(const char *text)
{
    int depth = 0;
    for (const char *p = text; *p != '\0'; ++p) {
        if (*p == '"') {
            for (++p; *p != '\0' && *p != '"'; ++p) {
                if (*p == '\\' && p[1] != '\0')
                    ++p;
            }
        } else if (p[0] == '/' && p[1] == '*') {
            const char *end = std::strstr(p + 2, "*/");
            p = end ? end + 1 : p + std::strlen(p) - 1;
        } else if (p[0] == '/' && p[1] == '/') {
            while (p[1] != '\0' && p[1] != '\n')
                ++p;
        } else if (*p == '[' || *p == '{') {
            if (++depth > QLPL_MAX_NESTING)
                return false;
        } else if (*p == ']' || *p == '}') {
            --depth;
        }
        if (*p == '\0')
            break;
    }
    return true;
}

bool isRecipeRoot(yajl_val root)
{
    return YAJL_IS_STRING(QLPLObjectMember(root, "identifier")) && YAJL_IS_ARRAY(QLPLObjectMember(root, "processors"));
}

bool runOriginalProcessor(yajl_val, QopBitmap_t *bitmap, QopEffectParams_t *)
{
    QopBitmapOriginal(bitmap);
    return true;
}

using QLPLProcessorRunner = bool (*)(yajl_val parameters, QopBitmap_t *bitmap, QopEffectParams_t *effectParams);

// Processor names, matched exactly, and the runner of each; looked up in this order.
struct QLPLProcessorEntry {
    const char *name;
    QLPLProcessorRunner run;
};

const QLPLProcessorEntry kProcessors[] = {
    {"original", runOriginalProcessor},
    {"vignette", QLPLRunVignetteProcessor},
    {"legacyProcessor", QLPLRunLegacyProcessor},
    {"histogramMapping", QLPLRunHistogramMappingProcessor},
    {"gamma", QLPLRunGammaProcessor},
    {"colorMatrixTransform", QLPLRunColorMatrixTransformProcessor},
    {"intensityMap", QLPLRunIntensityMapProcessor},
    {"flare", QLPLRunFlareProcessor},
    {"contrast", QLPLRunContrastProcessor},
    {"blendWithColor", QLPLRunBlendWithColorProcessor},
    {"noise", QLPLRunNoiseProcessor},
    {"sharpness", QLPLRunSharpnessProcessor},
    {"gradient", QLPLRunGradientProcessor},
};

} // namespace

extern "C" {

QopJSONEffect QLPLLoadEffect(const char *inputEffectJSON)
{
    if (inputEffectJSON == nullptr || !nestingWithinLimit(inputEffectJSON))
        return nullptr;
    char errorText[8];
    yajl_val root = yajl_tree_parse(inputEffectJSON, errorText, sizeof errorText);
    if (root == nullptr)
        return nullptr;
    if (!isRecipeRoot(root)) {
        yajl_tree_free(root);
        return nullptr;
    }
    return root;
}

void QLPLUnloadEffect(yajl_val *effectNode)
{
    if (effectNode == nullptr)
        return;
    yajl_tree_free(*effectNode);
    *effectNode = nullptr;
}

bool QLPLRunEffect(QopJSONEffect effect, QopBitmap_t *bitmap, QopEffectParams_t *effectParams)
{
    if (effect == nullptr || bitmap == nullptr || effectParams == nullptr || !isRecipeRoot(effect))
        return false;
    yajl_val processors = QLPLObjectMember(effect, "processors");
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    bool ok = true;
    for (size_t i = 0; ok && i < processors->u.array.len; ++i)
        ok = QLPLRunProcessor(processors->u.array.values[i], bitmap, effectParams);
    // Closed on failure too: an effect left open would keep the GPU record marked busy (the
    // background pause would wait for it in vain) and the next effect would begin inside it.
    // The passes recorded before the failing processor stay, as they do on the CPU.
    QopBitmapEndGLEffectIfEnabled(bitmap);
    return ok;
}

bool QLPLRunProcessor(yajl_val processor, QopBitmap_t *bitmap, QopEffectParams_t *effectParams)
{
    const char *name = QLPLStringMember(processor, "name");
    yajl_val parameters = QLPLObjectMember(processor, "parameters");
    if (name == nullptr || !YAJL_IS_OBJECT(parameters) || bitmap == nullptr || effectParams == nullptr)
        return false;
    for (const QLPLProcessorEntry &entry : kProcessors) {
        if (QLPLStringIs(name, entry.name))
            return entry.run(parameters, bitmap, effectParams);
    }
    return false;
}

} // extern "C"
