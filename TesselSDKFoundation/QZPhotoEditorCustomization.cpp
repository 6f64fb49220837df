#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"

#include <mutex>
#include <set>
#include <vector>

#include "Foundation/NSBundle.h"
#include "Foundation/NSLog.h"
#include "TesselSDKFoundation/QZDrawing.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"

namespace {

std::vector<std::string> split(std::string_view text, char separator)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(separator, start);
        pieces.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return pieces;
        start = end + 1;
    }
}

std::string join(const std::vector<std::string>& pieces, std::size_t count)
{
    std::string joined;
    for (std::size_t i = 0; i < count; ++i) {
        if (i) joined += '.';
        joined += pieces[i];
    }
    return joined;
}

void addKeys(const Value& dictionary, std::set<std::string>& names)
{
    for (const std::string& key : dictionary.allKeys()) names.insert(key);
}

void logFrom(const char* method, const std::string& message) { NSLog("%s %@", method, message); }

}  // namespace

// ---- Class interface ----

std::shared_ptr<QZPhotoEditorCustomization> QZPhotoEditorCustomization::options()
{
    static std::shared_ptr<QZPhotoEditorCustomization> shared;
    if (!shared) {
        Value keyTree;
        if (std::shared_ptr<NSBundle> bundle = QZSDKResources::resourceBundle())
            if (std::optional<std::string> path = bundle->pathForResource(kQZOptionsDictionary, "plist"))
                keyTree = Value::fromPropertyListFile(*path);
        shared = make(std::move(keyTree));
    }
    return shared;
}

Value QZPhotoEditorCustomization::optionValueForKey(std::string_view keyPath)
{
    return options()->instanceOptionValueForKey(keyPath);
}

void QZPhotoEditorCustomization::setOptionValue(Value value, std::string_view keyPath)
{
    options()->setOption(std::move(value), keyPath);
}

void QZPhotoEditorCustomization::setOptionValueWithBlock(QZOptionValueBlock block, std::string_view keyPath)
{
    options()->setOptionWithBlock(std::move(block), keyPath);
}

void QZPhotoEditorCustomization::setOptionWithImageNamed(const std::string& imageName, std::string_view keyPath)
{
    options()->instanceSetOptionWithImageNamed(imageName, keyPath);
}

void QZPhotoEditorCustomization::removeOptionValueForKey(std::string_view keyPath)
{
    options()->removeOptionValueAtKeyPath(keyPath);
}

std::shared_ptr<UIColor> QZPhotoEditorCustomization::colorOptionValueForKey(std::string_view keyPath)
{
    static const char* method = "+[QZPhotoEditorCustomization colorOptionValueForKey:]";
    // Read once: the theme is fixed for the life of the process, even across unloadResources.
    static Value colorTable;
    static std::once_flag once;
    std::call_once(once, [] {
        if (std::shared_ptr<NSBundle> bundle = QZSDKResources::resourceBundle())
            if (std::optional<std::string> path = bundle->pathForResource(kQZColorsDictionary, "plist"))
                colorTable = Value::fromPropertyListFile(*path);
    });

    std::vector<std::string> components = split(keyPath, '.');
    if (components.size() != 2 || components[0] != "editor")
        logFrom(method, "Invalid keypath for color option. Must be of the form editor.*");
    // A key of one component has no name to look up; the read ends here rather than reading past
    // the components.
    if (components.size() < 2) return nullptr;
    const std::string& name = components[1];

    Value entry = colorTable[name];
    if (entry.isNil()) {
        logFrom(method, NSStringWithFormat("Can't find option %@", name));
        return nullptr;
    }
    if (!entry.isDictionary()) {
        logFrom(method, NSStringWithFormat("Item for key path %@ is not a dictionary", name));
        return nullptr;
    }
    Value hex = entry["hex"], alpha = entry["alpha"];
    if (!hex.isString() || !alpha.isNumber()) {
        logFrom(method, NSStringWithFormat("Item for key path %@ does not have the expected hex and alpha entries. If "
                                           "they exist, they may be of the wrong type",
                                           name));
        return nullptr;
    }
    return QZUIColorWithHexString(hex.stringValue())->colorWithAlphaComponent(alpha.floatValue());
}

void QZPhotoEditorCustomization::checkForResourceBundleError(std::shared_ptr<NSError>* error)
{
    Value status;
    if (std::shared_ptr<NSBundle> bundle = QZSDKResources::resourceBundle())
        if (std::optional<std::string> path = bundle->pathForResource(kQZStatusDictionary, "plist"))
            status = Value::fromPropertyListFile(*path);

    const char* message = nullptr;
    if (!status.isDictionary()) {
        message = "Cannot determine the status of the Tessel Resource Bundle. Please try exporting from the "
                  "TesselSDKCustomizer again.";
    } else {
        std::string state = status["status"].isString() ? status["status"].stringValue() : std::string();
        if (state == BeganStatus)
            message = "Your export from the TesselSDKCustomizer did not complete. Please try exporting from the "
                      "TesselSDKCustomizer again.";
        else if (state == UncompressedStatus)
            message = "Your resource bundle contains uncompressed PNGS. Please be sure to export from the "
                      "TesselSDKCustomizer again with the \"Compress PNGs\" option checked before production.";
        else if (state != CompletedStatus)
            message = "It appears that you have manually modified the resource bundle. Please try exporting from the "
                      "TesselSDKCustomizer again.";
    }
    NSError::assign(error, message ? NSError::errorWithDescription(kQZResourceBundleErrorDomain, 1, message) : nullptr);
}

void QZPhotoEditorCustomization::clearCustomization()
{
    logFrom("+[QZPhotoEditorCustomization clearCustomization]", "should only be used in testing!!");
}

void QZPhotoEditorCustomization::useTDVStagingEnvironment(bool use)
{
    setOptionValue(use, "editor.useTDVStagingEnvironment");
}
void QZPhotoEditorCustomization::purgeGPUMemoryWhenPossible(bool purge) { setOptionValue(purge, "editor.purgesGPUMemory"); }
void QZPhotoEditorCustomization::setLeftNavigationBarButtonTitle(const std::string& title)
{
    setOptionValue(title, "editor.leftNavigationBarButtonTitle");
}
void QZPhotoEditorCustomization::setRightNavigationBarButtonTitle(const std::string& title)
{
    setOptionValue(title, "editor.rightNavigationBarButtonTitle");
}
void QZPhotoEditorCustomization::setToolOrder(const Value& toolKeys) { setOptionValue(toolKeys, "editor.toolOrder"); }
void QZPhotoEditorCustomization::disableLocalization(bool disable) { setOptionValue(disable, "editor.disableLocalization"); }
void QZPhotoEditorCustomization::setSupportedIpadOrientations(const Value& orientations)
{
    setOptionValue(orientations, "editor.supportedOrientations");
}
void QZPhotoEditorCustomization::setCropToolCustomEnabled(bool enabled)
{
    setOptionValue(enabled, "editor.tool.crop.enableCustom");
}
void QZPhotoEditorCustomization::setCropToolOriginalEnabled(bool enabled)
{
    setOptionValue(enabled, "editor.tool.crop.enableOriginal");
}
void QZPhotoEditorCustomization::setCropToolInvertEnabled(bool enabled)
{
    setOptionValue(enabled, "editor.tool.crop.enableInvert");
}
void QZPhotoEditorCustomization::setCropToolPresets(const Value& presets) { setOptionValue(presets, "editor.tool.crop.presets"); }
void QZPhotoEditorCustomization::setCropToolCellWidth(CGFloat width) { setOptionValue(width, "editor.tool.crop.cellWidth"); }
void QZPhotoEditorCustomization::setStatusBarBackgroundColor(std::shared_ptr<UIColor> color)
{
    setOptionValue(Value(std::move(color)), "editor.statusBarColor");
}
void QZPhotoEditorCustomization::setStatusBarStyle(NSInteger style) { setOptionValue(style, "editor.statusBarStyle"); }
void QZPhotoEditorCustomization::setUsingIOS6SDK(bool using6) { setOptionValue(using6, "editor.usingIOS6SDK"); }

// ---- Instances ----

std::shared_ptr<QZPhotoEditorCustomization> QZPhotoEditorCustomization::make(Value keyTree)
{
    return NSObject::create<QZPhotoEditorCustomization>(&QZPhotoEditorCustomization::initWithDictionary,
                                                        std::move(keyTree));
}

void QZPhotoEditorCustomization::initWithDictionary(Value keyTree)
{
    keyTree_ = std::move(keyTree);
    options_.clear();
    setEditorSettingsDefaults();
    setCropDefaults();
}

void QZPhotoEditorCustomization::addOption(const std::string& keyPath, Value defaultValue)
{
    QZValueClass expected = QZValueClass::classOf(defaultValue);
    addOption(keyPath, std::move(defaultValue), expected);
}

void QZPhotoEditorCustomization::addOption(const std::string& keyPath, Value defaultValue, const QZValueClass& expectedClass)
{
    addOption(keyPath, std::move(defaultValue), [expectedClass](const Value& v) { return expectedClass.isKindOfClass(v); });
}

void QZPhotoEditorCustomization::addOption(const std::string& keyPath, Value defaultValue, validatorBlock validator)
{
    if (!validateKeyPath(keyPath))
        logFrom("-[QZPhotoEditorCustomization addOption:defaultValue:validate:]",
                NSStringWithFormat("invalid default key, %@", keyPath));
    options_.insert_or_assign(keyPath, QZOption::make(std::move(defaultValue), std::move(validator)));
}

bool QZPhotoEditorCustomization::validateKeyPath(std::string_view keyPath) const
{
    std::set<std::string> inheritable, nonInheritable;
    Value node = keyTree_;
    for (const std::string& component : split(unModifiedKeyForKey(keyPath), '.')) {
        Value entry = node[component];
        if (!entry.isNil()) {
            addKeys(entry["inheritable"], inheritable);
            nonInheritable.clear();
            addKeys(entry["non-inheritable"], nonInheritable);
            node = entry["subkeys"];
        } else if (!inheritable.count(component) && !nonInheritable.count(component)) {
            return false;
        }
    }
    return true;
}

std::shared_ptr<QZOption> QZPhotoEditorCustomization::optionForKey(std::string_view keyPath) const
{
    if (!validateKeyPath(keyPath)) return nullptr;
    std::string modifier = modifierForKey(keyPath);
    std::vector<std::string> components = split(unModifiedKeyForKey(keyPath), '.');
    std::string leaf = components.back();
    std::size_t prefixLength = components.size() - 1;
    if (prefixLength == 0) return nullptr;

    std::shared_ptr<QZOption> firstMet;
    for (; prefixLength > 0; --prefixLength) {
        auto it = options_.find(join(components, prefixLength) + "." + leaf);
        if (it == options_.end()) continue;
        if (it->second->hasValueForModifier(modifier)) return it->second;
        if (!firstMet) firstMet = it->second;
    }
    return firstMet;
}

Value QZPhotoEditorCustomization::instanceOptionValueForKey(std::string_view keyPath) const
{
    if (!validateKeyPath(keyPath))
        logFrom("-[QZPhotoEditorCustomization optionValueForKey:]", NSStringWithFormat("invalid key, %@", keyPath));
    std::shared_ptr<QZOption> option = optionForKey(keyPath);
    return option ? option->valueWithModifier(modifierForKey(keyPath)) : Value();
}

void QZPhotoEditorCustomization::setOption(Value value, std::string_view keyPath)
{
    std::string proper = unModifiedKeyForKey(keyPath), modifier = modifierForKey(keyPath);
    if (auto it = options_.find(proper); it != options_.end()) {
        it->second->setValue(std::move(value), modifier);
        return;
    }
    if (std::shared_ptr<QZOption> inherited = optionForKey(proper)) {
        std::shared_ptr<QZOption> copy = QZOption::optionWithOption(inherited);
        copy->setValue(std::move(value), modifier);
        options_.emplace(proper, copy);
    }
}

void QZPhotoEditorCustomization::setOptionWithBlock(QZOptionValueBlock block, std::string_view keyPath)
{
    std::string proper = unModifiedKeyForKey(keyPath), modifier = modifierForKey(keyPath);
    if (auto it = options_.find(proper); it != options_.end()) {
        it->second->setValueWithBlock(std::move(block), modifier);
        return;
    }
    if (std::shared_ptr<QZOption> inherited = optionForKey(keyPath)) {
        std::shared_ptr<QZOption> copy = QZOption::optionWithOption(inherited);
        copy->setValueWithBlock(std::move(block), modifier);
        options_.emplace(proper, copy);
    }
}

void QZPhotoEditorCustomization::instanceSetOptionWithImageNamed(const std::string& imageName, std::string_view keyPath)
{
    setOptionWithBlock([imageName] { return Value(UIImage::imageNamed(imageName)); }, keyPath);
}

void QZPhotoEditorCustomization::removeOptionValueAtKeyPath(std::string_view keyPath)
{
    std::string proper = unModifiedKeyForKey(keyPath), modifier = modifierForKey(keyPath);
    bool shouldDelete = shouldDeleteValueAtKeyPath(proper);
    auto it = options_.find(proper);
    if (it == options_.end()) return;
    it->second->removeValueForModifier(modifier);
    if (shouldDelete && it->second->isEmpty()) options_.erase(it);
}

bool QZPhotoEditorCustomization::shouldDeleteValueAtKeyPath(std::string_view keyPath) const
{
    std::vector<std::string> components = split(keyPath, '.');
    const std::string& leaf = components.back();
    if (components.size() < 2) return true;
    Value node = keyTree_, entry;
    for (std::size_t i = 0; i + 1 < components.size(); ++i) {
        entry = node[components[i]];
        if (entry.isNil()) return true;
        node = entry["subkeys"];
    }
    std::set<std::string> listed;
    addKeys(entry["inheritable"], listed);
    addKeys(entry["non-inheritable"], listed);
    return !listed.count(leaf);
}

std::string QZPhotoEditorCustomization::modifierForKey(std::string_view keyPath) const
{
    std::vector<std::string> pieces = split(keyPath, '-');
    return pieces.size() == 2 ? pieces[1] : std::string();
}

std::string QZPhotoEditorCustomization::unModifiedKeyForKey(std::string_view keyPath) const
{
    return std::string(keyPath.substr(0, keyPath.find('-')));
}
