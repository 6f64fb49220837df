#pragma once
// The customization option store: every screen reads its options here by dotted key path
// ("editor.tool.crop.cellWidth"), optionally followed by "-" and a modifier naming a variant kept
// apart. Which key paths exist is fixed by the key tree of the resource bundle
// ("QZCustomizationDictionary.plist"); a tool's key inherits the value of a less specific key
// ("editor.x" for "editor.tool.crop.x") unless it carries its own. Each option has a default and
// a validator, asked at every read: a refused value reads as the default, an invalid key path as
// nil, so a wrong setting never reaches a screen. Colours come from "Colors.plist", not from the
// store; "Status.plist" tells whether the theme customizer's export of the bundle completed.
//
// The public interface is the class methods (static), which forward to one shared instance made
// on first use and kept for the life of the process. Where a class method and an instance method
// share a name, the instance one carries the prefix "instance". Main thread only.

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "CoreGraphics/CGBase.h"
#include "Foundation/NSError.h"
#include "Foundation/NSObject.h"
#include "Foundation/Value.h"
#include "TesselSDKFoundation/QZOption.h"
#include "TesselSDKFoundation/QZOptionValidators.h"

class UIColor;

// Resource-bundle property lists the store reads.
inline constexpr const char* kQZOptionsDictionary = "QZCustomizationDictionary";
inline constexpr const char* kQZColorsDictionary = "Colors";
inline constexpr const char* kQZStatusDictionary = "Status";
// The "status" values of "Status.plist".
inline constexpr const char* BeganStatus = "Unfinished";
inline constexpr const char* CompletedStatus = "Completed";
inline constexpr const char* UncompressedStatus = "Uncompressed";

// Keys of the options dictionary a host hands to the editor's root screen.
inline constexpr const char* kQZPhotoEditorControllerToolsKey = "tools";
inline constexpr const char* kQZPhotoEditorControllerSupportedOrientationsKey = "supported_orientations";
inline constexpr const char* kQZPhotoEditorControllerBackgroundColorKey = "canvasColor";
inline constexpr const char* kQZPhotoEditorControllerCropPresetsKey = "cropPresets";
inline constexpr const char* kQZPhotoEditorControllerLeftNavigationButtonTitleKey = "leftNavTitle";
inline constexpr const char* kQZPhotoEditorControllerRightNavigationButtonTitleKey = "rightNavTitle";

// The navigation titles a host may choose.
inline constexpr const char* kQZLeftNavigationTitlePresetCancel = "Cancel";
inline constexpr const char* kQZLeftNavigationTitlePresetBack = "Back";
inline constexpr const char* kQZLeftNavigationTitlePresetExit = "Exit";
inline constexpr const char* kQZRightNavigationTitlePresetDone = "Done";
inline constexpr const char* kQZRightNavigationTitlePresetSave = "Save";
inline constexpr const char* kQZRightNavigationTitlePresetNext = "Next";
inline constexpr const char* kQZRightNavigationTitlePresetSend = "Send";

// The crop tool's list of presets in its settings.
inline constexpr const char* kQZCropPresetKey = "presets";

// The tool keys of the tool table ("TesselSDKPlugins.plist").
inline constexpr const char* kQZEnhance = "enhance";
inline constexpr const char* kQZEffects = "effects";
inline constexpr const char* kQZFrames = "frames";
inline constexpr const char* kQZStickers = "stickers";
inline constexpr const char* kQZFocus = "focus";
inline constexpr const char* kQZOrientation = "orientation";
inline constexpr const char* kQZCrop = "crop";
inline constexpr const char* kQZAdjustments = "adjustments";
inline constexpr const char* kQZSharpness = "sharpness";
inline constexpr const char* kQZSplash = "splash";
inline constexpr const char* kQZDraw = "draw";
inline constexpr const char* kQZText = "text";
inline constexpr const char* kQZRedeye = "redeye";
inline constexpr const char* kQZWhiten = "whiten";
inline constexpr const char* kQZBlemish = "blemish";
inline constexpr const char* kQZMeme = "meme";

// The domain of the export-status error.
inline constexpr const char* kQZResourceBundleErrorDomain = "com.tessel.TesselSDK.ResourceBundle";

class QZPhotoEditorCustomization : public NSObject {
public:
    using NSObject::NSObject;
    // ---- Class interface (the shared instance) ----

    // The shared store; made on first use with the resource bundle's key tree.
    static std::shared_ptr<QZPhotoEditorCustomization> options();
    static Value optionValueForKey(std::string_view keyPath);
    static void setOptionValue(Value value, std::string_view keyPath);
    static void setOptionValueWithBlock(QZOptionValueBlock block, std::string_view keyPath);
    // Stores a block that loads the main bundle's image of that name at every read.
    static void setOptionWithImageNamed(const std::string& imageName, std::string_view keyPath);
    static void removeOptionValueForKey(std::string_view keyPath);
    // "editor.<name>" read from "Colors.plist" (loaded once per process). Nil when the table has
    // no usable entry for the name; every fault is logged.
    static std::shared_ptr<UIColor> colorOptionValueForKey(std::string_view keyPath);
    // Sets *error (when given) to the export-status error of the bundle, or to null when the
    // export completed.
    static void checkForResourceBundleError(std::shared_ptr<NSError>* error);
    // Resets nothing: the store lives for the process (tests run one process each).
    static void clearCustomization();

    static void useTDVStagingEnvironment(bool use);
    static void purgeGPUMemoryWhenPossible(bool purge);
    static void setLeftNavigationBarButtonTitle(const std::string& title);
    static void setRightNavigationBarButtonTitle(const std::string& title);
    static void setToolOrder(const Value& toolKeys);
    static void disableLocalization(bool disable);
    static void setSupportedIpadOrientations(const Value& orientations);
    static void setCropToolCustomEnabled(bool enabled);
    static void setCropToolOriginalEnabled(bool enabled);
    static void setCropToolInvertEnabled(bool enabled);
    static void setCropToolPresets(const Value& presets);
    static void setCropToolCellWidth(CGFloat width);
    static void setStatusBarBackgroundColor(std::shared_ptr<UIColor> color);
    static void setStatusBarStyle(NSInteger style);
    static void setUsingIOS6SDK(bool using6);

    // ---- Instances ----

    // `initWithDictionary:`: a store over the key tree with every default registered.
    static std::shared_ptr<QZPhotoEditorCustomization> make(Value keyTree);

    const Value& keyTree() const { return keyTree_; }
    // Key path without modifier -> option.
    const std::map<std::string, std::shared_ptr<QZOption>, std::less<>>& instanceOptions() const { return options_; }

    // Registers (replacing any earlier option) even when the key path is invalid, which is logged.
    void addOption(const std::string& keyPath, Value defaultValue);  // kind of the default's class
    void addOption(const std::string& keyPath, Value defaultValue, const QZValueClass& expectedClass);
    void addOption(const std::string& keyPath, Value defaultValue, validatorBlock validator);

    bool validateKeyPath(std::string_view keyPath) const;
    // The option that answers the key path: the most specific one holding a value for the
    // modifier, else the most specific registered one; null for an invalid key path.
    std::shared_ptr<QZOption> optionForKey(std::string_view keyPath) const;
    Value instanceOptionValueForKey(std::string_view keyPath) const;
    // Values are not validated here but at every read. A key path with no option on any level
    // stores nothing.
    void setOption(Value value, std::string_view keyPath);
    void setOptionWithBlock(QZOptionValueBlock block, std::string_view keyPath);
    void instanceSetOptionWithImageNamed(const std::string& imageName, std::string_view keyPath);
    void removeOptionValueAtKeyPath(std::string_view keyPath);
    // NO for options the key tree lists at their own place (they keep their registration).
    bool shouldDeleteValueAtKeyPath(std::string_view keyPath) const;
    // The modifier: the second piece when "-" splits the key path into exactly two, else "".
    std::string modifierForKey(std::string_view keyPath) const;
    // The key path proper: everything before the first "-".
    std::string unModifiedKeyForKey(std::string_view keyPath) const;

    // Category Defaults.
    void setEditorSettingsDefaults();
    void setCropDefaults();
    // Every tool key of the tool table.
    Value fetchToolKeys() const;
    // The crop tool's presets in the tool table; nil (logged) when the table is missing.
    Value fetchDefaultCropPresets() const;


protected:
    virtual void initWithDictionary(Value keyTree);

private:
    Value keyTree_;
    std::map<std::string, std::shared_ptr<QZOption>, std::less<>> options_;
};
