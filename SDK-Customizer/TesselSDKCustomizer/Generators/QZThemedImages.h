#pragma once
// Every themed-image generator of the customizer, family by family. Each is a plain function
// that loads its masks by name, draws a new image and keeps no state; safe on any thread.

#include "Generators/QZBackButtonImages.h"
#include "Generators/QZBarImages.h"
#include "Generators/QZButtonImages.h"
#include "Generators/QZCameraImages.h"
#include "Generators/QZCanvasImages.h"
#include "Generators/QZConveyorImages.h"
#include "Generators/QZGalleryImages.h"
#include "Generators/QZIconImages.h"
#include "Generators/QZKnobImages.h"
#include "Generators/QZMemeFieldImages.h"
#include "Generators/QZRestoreButtonImages.h"
#include "Generators/QZSegmentedButtonImages.h"
#include "Generators/QZSelectionStripImages.h"
#include "Generators/QZSliderImages.h"
#include "Generators/QZToolMergeButtonImages.h"
#include "Generators/QZToolSelectionCellImages.h"
