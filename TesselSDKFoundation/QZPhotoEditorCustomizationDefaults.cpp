// The registered options with their defaults and validators (category Defaults of the store).

#include "Foundation/NSLog.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "UIKit/UIColor.h"

void QZPhotoEditorCustomization::setEditorSettingsDefaults()
{
    addOption("editor.disableLocalization", false, QZValueClass::NSNumber());
    addOption("editor.leftNavigationBarButtonTitle", kQZLeftNavigationTitlePresetCancel,
              stringValueValidator(Value::array({kQZLeftNavigationTitlePresetCancel, kQZLeftNavigationTitlePresetBack,
                                                 kQZLeftNavigationTitlePresetExit})));
    addOption("editor.rightNavigationBarButtonTitle", kQZRightNavigationTitlePresetDone,
              stringValueValidator(Value::array({kQZRightNavigationTitlePresetDone, kQZRightNavigationTitlePresetSave,
                                                 kQZRightNavigationTitlePresetNext, kQZRightNavigationTitlePresetSend})));
    addOption("editor.supportedOrientations", Value::array({1}), supportedOrientationsValidator());
    addOption("editor.toolOrder",
              Value::array({kQZEnhance, kQZEffects, kQZFrames, kQZStickers, kQZFocus, kQZOrientation, kQZCrop,
                            kQZAdjustments, kQZSharpness, kQZSplash, kQZDraw, kQZText, kQZRedeye, kQZWhiten, kQZBlemish,
                            kQZMeme}),
              toolOrderValidator(fetchToolKeys()));
    addOption("editor.purgesGPUMemory", false);
    addOption("editor.statusBarColor", Value(UIColor::blackColor()), QZValueClass::objectsOf<UIColor>("UIColor"));
    addOption("editor.statusBarStyle", 1, QZValueClass::NSNumber());
    addOption("editor.useTDVStagingEnvironment", false, QZValueClass::NSNumber());
    addOption("editor.usingIOS6SDK", false, QZValueClass::NSNumber());
    addOption("editor.tool.text.fontName", "ArialMT");
}

void QZPhotoEditorCustomization::setCropDefaults()
{
    addOption("editor.tool.crop.cellWidth", 60.0f, cellWidthValidator());
    addOption("editor.tool.crop.presets", fetchDefaultCropPresets(), cropPresetsValidator());
    addOption("editor.tool.crop.enableInvert", true, QZValueClass::NSNumber());
    addOption("editor.tool.crop.enableOriginal", true, QZValueClass::NSNumber());
    addOption("editor.tool.crop.enableCustom", true, QZValueClass::NSNumber());
}

Value QZPhotoEditorCustomization::fetchToolKeys() const
{
    Value keys = Value::array();
    for (const std::string& key : QZSDKResources::plugins().allKeys()) keys.addObject(key);
    return keys;
}

Value QZPhotoEditorCustomization::fetchDefaultCropPresets() const
{
    Value plugins = QZSDKResources::plugins();
    if (plugins.isNil()) {
        NSLog("%s %@", "-[QZPhotoEditorCustomization(Defaults) fetchDefaultCropPresets]", "nil plugins!");
        return Value();
    }
    return plugins[kQZCrop]["settings"][kQZCropPresetKey];
}
