#pragma once
// A frame item: a thumbnail and sixteen border pieces, eight for the picture and eight for
// editing, each "<identifier><suffix>.png" from the high-resolution set and kept once loaded.

#include <array>

#include "TesselSDK/remote/QZContentPackItem.h"

// In declaration order: the picture's pieces, then their editing variants.
enum class QZFramePiece : int {
    Top,
    TopRight,
    Right,
    BottomRight,
    Bottom,
    BottomLeft,
    Left,
    TopLeft,
    TopEditing,
    TopRightEditing,
    RightEditing,
    BottomRightEditing,
    BottomEditing,
    BottomLeftEditing,
    LeftEditing,
    TopLeftEditing,
};
inline constexpr std::size_t kQZFramePieceCount = 16;

class QZFrameContentPackItem : public QZContentPackItem {
public:
    using QZContentPackItem::QZContentPackItem;

    // "_t", "_tr", "_r", "_br", "_b", "_bl", "_l", "_tl", then the same followed by "-editing".
    static std::string suffixForPiece(QZFramePiece piece);

    double width() { return valueForKey("width").doubleValue(); }
    // "<identifier>_thumbnail.png" from the editor's resource bundle, else the pack's thumbnails,
    // else "frame_thumbnail_default.png"; nil (logged) when none exists.
    std::shared_ptr<UIImage> thumbnailImage() override;
    std::shared_ptr<UIImage> pieceImage(QZFramePiece piece);
    // Replaces the kept image.
    void setPieceImage(QZFramePiece piece, std::shared_ptr<UIImage> image);
    void dropCachedImages() override { pieces_ = {}; }

private:
    std::array<std::shared_ptr<UIImage>, kQZFramePieceCount> pieces_;
};
