#pragma once
// The progress view of one export, addressed by its outlet names: "savingImagesLabel",
// "compressingPNGSLabel", "savingStatusLabel", "compressingStatusLabel",
// "savingProgressIndicator", "compressingProgressIndicator", "savingCompleteCheck",
// "compressingCompleteCheck".

#include <string>

namespace customizer {

class QZExportView {
public:
    virtual ~QZExportView() = default;
    virtual void setHidden(const std::string& outlet, bool hidden) = 0;
    virtual void setText(const std::string& outlet, const std::string& text) = 0;
    virtual void setSpinning(const std::string& outlet, bool spinning) = 0;
};

}  // namespace customizer
