#include "QZReplayRecipeCheck.h"

#include "QopLite/QLPL.h"
#include "QopLite/QopAlloc.h"
#include "QopLite/QopBitmap.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <vector>

namespace qz_replay {

namespace {

// The runner's processors and the parameters each reads, as the recipe format defines them.
struct ProcessorParameters {
    const char* name;
    std::vector<const char*> required;
    std::vector<const char*> optional;
};

const std::vector<ProcessorParameters>& processorTable()
{
    static const std::vector<ProcessorParameters> table = {
        {"original", {}, {}},
        {"vignette", {"color", "shape"}, {"blendMode"}},
        {"legacyProcessor", {"legacyName"}, {}},
        {"histogramMapping", {"histMap"}, {}},
        {"gamma", {"value"}, {}},
        {"colorMatrixTransform", {"operations"}, {}},
        {"intensityMap", {"histMap", "alpha"}, {"blendMode"}},
        {"flare", {"color", "blendMode", "type", "dx", "dy", "dsx", "dsy", "fScale"}, {}},
        {"contrast", {"value"}, {}},
        {"blendWithColor", {"color", "alpha"}, {"blendMode"}},
        {"noise", {"intensity"}, {}},
        {"sharpness", {"amount", "alpha"}, {"blendMode"}},
        {"gradient",
         {"colors", "opacities", "gradientShape", "scale", "xCenter", "yCenter", "angle", "alpha"},
         {"vignetteShape", "blendMode"}},
    };
    return table;
}

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// Edits (insertions, deletions, substitutions, swaps of neighbours) from a to b, ignoring case.
std::size_t editDistance(const std::string& first, const std::string& second)
{
    const std::string a = lowered(first), b = lowered(second);
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// The name among `names` that `word` most likely meant to be: at most two edits away (one for
// short names), or the same but for case. Null when none is that close.
const char* likelyMeant(const std::string& word, const std::vector<const char*>& names)
{
    const char* best = nullptr;
    std::size_t bestDistance = 0;
    for (const char* name : names) {
        const std::size_t limit = std::strlen(name) <= 4 ? 1 : 2;
        const std::size_t distance = editDistance(word, name);
        if (distance <= limit && (!best || distance < bestDistance)) {
            best = name;
            bestDistance = distance;
        }
    }
    return best;
}

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// The first number under `value` (a key path from `path`) that single precision cannot hold.
bool findNumberOutOfRange(yajl_val value, const std::string& path, std::string* where, std::string* text)
{
    if (YAJL_IS_NUMBER(value)) {
        const double number = YAJL_GET_DOUBLE(value);
        if (YAJL_IS_DOUBLE(value) && std::fabs(number) <= double(FLT_MAX)) return false;
        if (YAJL_IS_INTEGER(value) && std::fabs(double(YAJL_GET_INTEGER(value))) <= double(FLT_MAX)) return false;
        *where = path;
        *text = YAJL_GET_NUMBER(value) ? YAJL_GET_NUMBER(value) : "?";
        return true;
    }
    if (YAJL_IS_OBJECT(value)) {
        for (std::size_t i = 0; i < value->u.object.len; ++i)
            if (findNumberOutOfRange(value->u.object.values[i], path + "." + value->u.object.keys[i], where, text))
                return true;
    } else if (YAJL_IS_ARRAY(value)) {
        for (std::size_t i = 0; i < value->u.array.len; ++i)
            if (findNumberOutOfRange(value->u.array.values[i], path + "[" + std::to_string(i) + "]", where, text))
                return true;
    }
    return false;
}

yajl_val member(yajl_val object, const char* key)
{
    if (!YAJL_IS_OBJECT(object)) return nullptr;
    for (std::size_t i = 0; i < object->u.object.len; ++i)
        if (std::strcmp(object->u.object.keys[i], key) == 0) return object->u.object.values[i];
    return nullptr;
}

// Whether the runner takes the processor, tried on a small bitmap as a replay would run it.
bool runnerTakes(yajl_val processor)
{
    QopBitmap_t bitmap;
    if (!QopBitmapBuild(&bitmap, 8, 8)) return true;  // nothing learnt; the replay itself will tell
    for (std::size_t i = 0; i < 8 * 8; ++i)
        bitmap.data[i] = {std::uint8_t(i * 37), std::uint8_t(i * 11 + 90), std::uint8_t(255 - i * 3), 255};
    QopEffectParams_t params;
    QopEffectInitParams(&params);
    const bool taken = QLPLRunProcessor(processor, &bitmap, &params);
    QopBitmapFree(&bitmap);
    return taken;
}

std::string processorProblem(yajl_val processor, std::size_t position)
{
    const std::string at = "processor " + std::to_string(position);
    const yajl_val nameValue = member(processor, "name");
    const yajl_val parameters = member(processor, "parameters");
    if (!YAJL_IS_STRING(nameValue) || !YAJL_IS_OBJECT(parameters))
        return at + " needs a \"name\" string and a \"parameters\" object";
    const std::string name = YAJL_GET_STRING(nameValue);
    const auto& table = processorTable();
    const auto row = std::find_if(table.begin(), table.end(), [&](const auto& r) { return name == r.name; });
    if (row == table.end()) {
        std::vector<const char*> names;
        for (const auto& r : table) names.push_back(r.name);
        const char* meant = likelyMeant(name, names);
        return at + ": no processor is named " + quoted(name) +
               (meant ? " (did you mean " + quoted(meant) + "?)" : "") + "; the runner stops at it";
    }
    const std::string named = at + " " + quoted(name);
    std::vector<const char*> accepted = row->required;
    accepted.insert(accepted.end(), row->optional.begin(), row->optional.end());
    for (std::size_t i = 0; i < parameters->u.object.len; ++i) {
        const std::string key = parameters->u.object.keys[i];
        if (std::find_if(accepted.begin(), accepted.end(), [&](const char* a) { return key == a; }) != accepted.end())
            continue;
        if (const char* meant = likelyMeant(key, accepted))
            return named + " takes no parameter " + quoted(key) + " (did you mean " + quoted(meant) + "?)";
    }
    for (const char* key : row->required)
        if (!member(parameters, key)) return named + " lacks its parameter " + quoted(key);
    std::string where, number;
    if (findNumberOutOfRange(parameters, "", &where, &number))
        return named + ": " + quoted(where.substr(1)) + " is " + number +
               ", out of the range the processors read (at most about 3.4e38 either way)";
    if (!runnerTakes(processor))
        return named + ": the runner refuses its parameters (a value of the wrong kind, or outside its range)";
    return {};
}

}  // namespace

std::string recipeProblem(const std::string& json)
{
    QopJSONEffect effect = QLPLLoadEffect(json.c_str());
    if (!effect) return "it is not an effect recipe (an \"identifier\" string and a \"processors\" array)";
    std::string problem;
    const yajl_val processors = member(effect, "processors");
    for (std::size_t i = 0; problem.empty() && i < processors->u.array.len; ++i)
        problem = processorProblem(processors->u.array.values[i], i + 1);
    QLPLUnloadEffect(&effect);
    return problem;
}

}  // namespace qz_replay
