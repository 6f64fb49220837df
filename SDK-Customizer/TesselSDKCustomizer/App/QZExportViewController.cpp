#include "App/QZExportViewController.h"

#include <string>

namespace customizer {

void QZExportViewController::loadView()
{
    view_.setHidden("savingImagesLabel", false);
    view_.setHidden("savingProgressIndicator", false);
    view_.setSpinning("savingProgressIndicator", true);
    for (const char* outlet : {"compressingPNGSLabel", "compressingProgressIndicator", "savingStatusLabel",
                               "compressingStatusLabel", "savingCompleteCheck", "compressingCompleteCheck"})
        view_.setHidden(outlet, true);
}

void QZExportViewController::imageSaverFinishedSavingImageGroup(QZImageSaver&, int64_t saved, int64_t total)
{
    const std::string text = std::to_string(saved) + " / " + std::to_string(total) + " Image Groups Saved";
    mainLoop_.post([this, text] {
        view_.setText("savingStatusLabel", text);
        view_.setHidden("savingStatusLabel", false);
    });
}

void QZExportViewController::imageSaverFinishedSavingAllImages(QZImageSaver&)
{
    mainLoop_.post([this] {
        view_.setSpinning("savingProgressIndicator", false);
        view_.setHidden("savingProgressIndicator", true);
        view_.setText("savingStatusLabel", "Saving Completed.");
        view_.setHidden("savingCompleteCheck", false);
        view_.setHidden("compressingPNGSLabel", false);
        view_.setHidden("compressingProgressIndicator", false);
        view_.setSpinning("compressingProgressIndicator", true);
    });
}

void QZExportViewController::imageSaverFinishedCrushingImage(QZImageSaver&, int64_t crushed, int64_t total)
{
    const std::string text = std::to_string(crushed) + " / " + std::to_string(total) + " Images Compressed";
    mainLoop_.post([this, text] {
        view_.setText("compressingStatusLabel", text);
        view_.setHidden("compressingStatusLabel", false);
    });
}

void QZExportViewController::imageSaverFinishedCrushingAllImages(QZImageSaver&)
{
    mainLoop_.post([this] {
        view_.setSpinning("compressingProgressIndicator", false);
        view_.setText("compressingStatusLabel", "Compression Completed.");
        view_.setHidden("compressingCompleteCheck", false);
    });
}

}  // namespace customizer
