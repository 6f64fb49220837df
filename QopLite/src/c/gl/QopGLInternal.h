// QopGLInternal.h: helpers the GPU library's own sources share (not part of the interface).
#pragma once

#include "QopLite/QopGLData.h"

#include <atomic>

namespace qopgl {

// The pause bytes are shared with the thread that backgrounds the application: every access is
// one atomic byte load or store, nothing more (no lock, no read-modify-write).
static_assert(std::atomic_ref<bool>::is_always_lock_free);

inline bool loadFlag(bool &flag) { return std::atomic_ref<bool>(flag).load(); }
inline void storeFlag(bool &flag, bool value) { std::atomic_ref<bool>(flag).store(value); }

// The GL bracket around calls that issue GL commands outside an effect. Closing it leaves
// isMakingGLCalls set while an effect is still open: the background handler must keep waiting for
// the effect's next pause point instead of calling glFinish under its feet.
void openBracket(QopGLData_t *glData);
void closeBracket(QopGLData_t *glData);

// Clears isMakingGLCalls unless an effect is open.
void endGLActions(QopGLData_t *glData);

} // namespace qopgl
