#pragma once
// The progress view's presenter. The saver reports on its worker thread; each report is handed to
// the main loop, which applies it to the view. The presenter must outlive what it posted.

#include "App/QZExportView.h"
#include "App/QZMainLoop.h"
#include "Export/QZImageSaver.h"

namespace customizer {

class QZExportViewController : public QZImageSaverDelegate {
public:
    QZExportViewController(QZExportView& view, QZMainLoop& mainLoop) : view_(view), mainLoop_(mainLoop) {}

    // The saving line's title shown and its spinner running; everything else hidden.
    void loadView();

    void imageSaverFinishedSavingImageGroup(QZImageSaver&, int64_t saved, int64_t total) override;
    void imageSaverFinishedSavingAllImages(QZImageSaver&) override;
    void imageSaverFinishedCrushingImage(QZImageSaver&, int64_t crushed, int64_t total) override;
    void imageSaverFinishedCrushingAllImages(QZImageSaver&) override;

    QZExportView& view() { return view_; }

private:
    QZExportView& view_;
    QZMainLoop& mainLoop_;
};

}  // namespace customizer
