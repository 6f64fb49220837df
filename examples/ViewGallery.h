#pragma once
// The base views and heads-up panels of the editor, each drawn over one backdrop so transparent
// views show through: the table that view_gallery renders and its tests read.

#include "UIKit/UIImage.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace view_gallery {

struct Entry {
    std::string className;  // also the file name: CLASS.png
    std::function<std::shared_ptr<UIImage>()> render;
};

const std::vector<Entry>& entries();

// Writes every entry as OUTDIR/CLASS.png, creating OUTDIR. Answers false with a message when the
// folder cannot be made or a file cannot be written (no partial file is left).
bool writeGallery(const std::string& outdir, std::string* error);

}  // namespace view_gallery
