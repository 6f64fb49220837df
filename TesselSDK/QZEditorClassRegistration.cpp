// The one list of classes made by name: the tool table's classes and the screens and views the
// tool screens are built from. A tool library adds its line here when it lands.
#include "TesselSDK/shell/QZEditorClassRegistration.h"

#include "TesselSDK/packs/QZEffectContentPackUnifiedSelectionViewController.h"
#include "TesselSDK/packs/QZFrameContentPackUnifiedSelectionViewController.h"
#include "TesselSDK/packs/QZStickerContentPackListSelectionViewController.h"
#include "TesselSDK/shell/QZConveyorViewController.h"
#include "TesselSDK/shell/QZNavigationBar.h"
#include "TesselSDK/shell/QZScrollingImageView.h"
#include "TesselSDK/shell/QZToolViewController.h"
#include "TesselSDK/tools/QZAdjustViewController.h"
#include "TesselSDK/tools/QZCropViewController.h"
#include "TesselSDK/tools/brush/QZBlemishViewController.h"
#include "TesselSDK/tools/brush/QZColorSplashViewController.h"
#include "TesselSDK/tools/brush/QZDrawViewController.h"
#include "TesselSDK/tools/brush/QZRedeyeViewController.h"
#include "TesselSDK/tools/brush/QZWhitenViewController.h"
#include "TesselSDK/tools/QZEnhanceViewController.h"
#include "TesselSDK/tools/QZOrientationViewController.h"
#include "TesselSDK/tools/QZSharpnessViewController.h"
#include "TesselSDK/tools/QZSliderViewController.h"
#include "TesselSDK/tools/text/QZTextViewController.h"
#include "TesselSDK/tools/QZTiltShiftViewController.h"
#include "TesselSDK/tools/meme/QZMemeViewController.h"

#include "Foundation/NSClass.h"

void QZRegisterEditorClasses()
{
    NSClass::registerClass<QZToolViewController>("QZToolViewController");
    NSClass::registerClass<QZConveyorViewController>("QZConveyorViewController");
    NSClass::registerClass<QZScrollingImageView>("QZScrollingImageView");
    NSClass::registerClass<QZNavigationBar>("QZNavigationBar");
    // Abstract (its value hook): known by name as a tool class, it makes no instance.
    NSClass::registerClass<QZSliderViewController>("QZSliderViewController");
    NSClass::registerClass<QZSharpnessViewController>("QZSharpnessViewController");
    NSClass::registerClass<QZAdjustViewController>("QZAdjustViewController");
    NSClass::registerClass<QZEnhanceViewController>("QZEnhanceViewController");
    NSClass::registerClass<QZCropViewController>("QZCropViewController");
    NSClass::registerClass<QZOrientationViewController>("QZOrientationViewController");
    NSClass::registerClass<QZColorSplashViewController>("QZColorSplashViewController");
    NSClass::registerClass<QZBlemishViewController>("QZBlemishViewController");
    NSClass::registerClass<QZWhitenViewController>("QZWhitenViewController");
    NSClass::registerClass<QZRedeyeViewController>("QZRedeyeViewController");
    NSClass::registerClass<QZDrawViewController>("QZDrawViewController");
    NSClass::registerClass<QZTextViewController>("QZTextViewController");
    NSClass::registerClass<QZTiltShiftViewController>("QZTiltShiftViewController");
    NSClass::registerClass<QZMemeViewController>("QZMemeViewController");
    NSClass::registerClass<QZEffectContentPackUnifiedSelectionViewController>(
        "QZEffectContentPackUnifiedSelectionViewController");
    NSClass::registerClass<QZFrameContentPackUnifiedSelectionViewController>(
        "QZFrameContentPackUnifiedSelectionViewController");
    NSClass::registerClass<QZStickerContentPackListSelectionViewController>(
        "QZStickerContentPackListSelectionViewController");
}
