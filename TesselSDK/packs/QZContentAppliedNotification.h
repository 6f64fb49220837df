#pragma once
// Posted (object nil) when a pack item reaches the photo: an effect, a frame, each placed sticker.
// Nothing in the editor observes it; it is published for the host application. Each name's value is
// its own name.

inline constexpr const char* QZContentAppliedNotification = "QZContentAppliedNotification";
// userInfo keys: the pack's "packType", the pack's identifier, the item's identifier.
inline constexpr const char* kQZContentPackType = "kQZContentPackType";
inline constexpr const char* kQZContentPackIdentifier = "kQZContentPackIdentifier";
inline constexpr const char* kQZContentItemIdentifier = "kQZContentItemIdentifier";
