// Fuzz target for the option store as a content pack feeds it: the bytes before the first NUL are
// the key tree's property list, the lines after it key paths. Every key path of the tree and of the
// lines is read, given each leaf of the tree as its value (so wrong kinds meet the validators),
// read again and removed. A value read must be nil, the default or the value given.
#include "Foundation/NSLogCapture.h"
#include "Foundation/Value.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void collect(const Value &tree, const std::string &prefix, std::vector<std::string> &paths, std::vector<Value> &leaves)
{
    const Value::Dictionary *entries = tree.asDictionary();
    if (entries == nullptr) {
        if (leaves.size() < 16)
            leaves.push_back(tree);
        return;
    }
    for (const auto &[key, value] : *entries) {
        if (paths.size() >= 64)
            return;
        std::string path = prefix.empty() ? key : prefix + "." + key;
        paths.push_back(path);
        collect(value, path, paths, leaves);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    NSLogCapture quiet; // refused key paths are logged; keep the run's output readable
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::size_t split = std::min(input.find('\0'), input.size());
    Value keyTree = Value::fromPropertyList(input.substr(0, split));
    auto store = QZPhotoEditorCustomization::make(keyTree);

    std::vector<std::string> paths;
    std::vector<Value> leaves{Value(), Value("text"), Value(3), Value(2.5), Value(true)};
    collect(keyTree, "", paths, leaves);
    std::string_view lines = split < input.size() ? input.substr(split + 1) : std::string_view();
    while (!lines.empty() && paths.size() < 96) {
        const std::size_t end = std::min(lines.find('\n'), lines.size());
        paths.emplace_back(lines.substr(0, end));
        lines.remove_prefix(std::min(end + 1, lines.size()));
    }

    for (const std::string &path : paths) {
        const Value before = store->instanceOptionValueForKey(path);
        (void)store->modifierForKey(path);
        (void)store->unModifiedKeyForKey(path);
        for (const Value &leaf : leaves) {
            store->setOption(leaf, path);
            const Value after = store->instanceOptionValueForKey(path);
            if (!after.isNil() && !before.isNil() && !(after == before) && !(after == leaf) && !leaf.isNil())
                std::abort(); // neither the default nor the value given
        }
        store->removeOptionValueAtKeyPath(path);
    }
    (void)store->fetchToolKeys();
    return 0;
}
