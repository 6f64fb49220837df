// QLPLTestSupport.h: small helpers shared by the recipe runner's tests: the legacy names, owned
// yajl trees, the recipe corpus, and one-processor recipes built from a parameters text.
#pragma once

#include "QopLite/QLPL.h"

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace qlpl_test {

// Every legacy name of the runner's table, in the table's order.
inline constexpr const char *kLegacyNames[] = {
    "san_carmenBorder", "tam_brewBorder", "vexaBorder", "singeBorder", "aquaBorder", "threshBorder",
    "edgewoodBorder", "purpleBorder", "cherryBorder", "cross_processBorder", "fadedBorder", "ithacaBorder",
    "sunburnBorder", "earthyBorder", "solarBorder", "old_threshBorder", "tova_quinbelBorder", "brownieBorder",
    "orcaBorder", "chronoBorder", "titanBorder", "cabanaBorder", "bordeauxBorder", "covertBorder",
    "ithacaFlare", "sunburnFlare", "soft_focus", "san_carmenAutoColors", "pellarBWBorder", "pellarTintypeBorder",
    "pellarTintypeColorMatrixTransform", "pellarTintypeDiamondSquare", "pellarVintageColorMatrixTransform",
    "sarnithGrittySBSat", "sarnithGrittyDots", "sarnithBWSBSat", "sarnithCinematicSBSat", "clarityEnhance"};
static_assert(sizeof kLegacyNames / sizeof kLegacyNames[0] == 38);

struct TreeDeleter {
    void operator()(yajl_val v) const { yajl_tree_free(v); }
};
using Tree = std::unique_ptr<std::remove_pointer_t<yajl_val>, TreeDeleter>;

// Parses any JSON text (not only recipes); null when it is malformed.
inline Tree parse(const std::string &text)
{
    char error[64];
    return Tree(yajl_tree_parse(text.c_str(), error, sizeof error));
}

inline std::string corpusPath(const std::string &relative) { return std::string(QLPL_RECIPE_DIR) + "/" + relative; }

inline std::string readCorpus(const std::string &relative)
{
    std::ifstream in(corpusPath(relative), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string recipeWith(const std::string &name, const std::string &parameters)
{
    return R"({"identifier": "t", "processors": [{"name": ")" + name + R"(", "parameters": )" + parameters + "}]}";
}

// Loads and runs a recipe text; false when it does not load.
inline bool runRecipe(const std::string &text, QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    QopJSONEffect effect = QLPLLoadEffect(text.c_str());
    const bool ok = effect != nullptr && QLPLRunEffect(effect, bitmap, params);
    QLPLUnloadEffect(&effect);
    return ok;
}

// A 256-entry array text whose entry i is f(i).
template <typename F>
std::string mapArray(F f, size_t count = 256)
{
    std::string s = "[";
    for (size_t i = 0; i < count; ++i) {
        if (i)
            s += ',';
        s += std::to_string(f(static_cast<int>(i)));
    }
    s += ']';
    return s;
}

} // namespace qlpl_test
