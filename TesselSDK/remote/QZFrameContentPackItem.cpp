#include "TesselSDK/remote/QZFrameContentPackItem.h"

#include "Foundation/NSLog.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDK/remote/QZContentPack.h"

std::string QZFrameContentPackItem::suffixForPiece(QZFramePiece piece)
{
    static constexpr const char* kSuffixes[] = {"_t", "_tr", "_r", "_br", "_b", "_bl", "_l", "_tl"};
    const int index = static_cast<int>(piece);
    return std::string(kSuffixes[index % 8]) + (index >= 8 ? "-editing" : "");
}

std::shared_ptr<UIImage> QZFrameContentPackItem::thumbnailImage()
{
    const std::string name = resourceName("_thumbnail.png");
    std::shared_ptr<UIImage> thumbnail;
    if (!name.empty()) {
        thumbnail = QZSDKResources::imageNamed(name);
        if (!thumbnail)
            if (std::shared_ptr<QZContentPack> owner = pack()) thumbnail = owner->thumbnailImageNamed(name);
    }
    if (!thumbnail) thumbnail = QZSDKResources::imageNamed("frame_thumbnail_default.png");
    if (!thumbnail) NSLog("%s %@", "-[QZFrameContentPackItem thumbnailImage]", "expected non-null thumbnail");
    return thumbnail;
}

std::shared_ptr<UIImage> QZFrameContentPackItem::pieceImage(QZFramePiece piece)
{
    std::shared_ptr<UIImage>& kept = pieces_[static_cast<std::size_t>(piece)];
    if (!kept) {
        const std::string name = resourceName(suffixForPiece(piece) + ".png");
        if (std::shared_ptr<QZContentPack> owner = pack(); owner && !name.empty()) {
            kept = owner->highResolutionImageNamed(name);
            if (kept) keptImages(owner);
        }
    }
    return kept;
}

void QZFrameContentPackItem::setPieceImage(QZFramePiece piece, std::shared_ptr<UIImage> image)
{
    if (image) keptImages(pack());
    pieces_[static_cast<std::size_t>(piece)] = std::move(image);
}
