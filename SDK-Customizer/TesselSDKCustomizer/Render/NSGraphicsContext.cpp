#include "Render/NSGraphicsContext.h"

namespace customizer {
namespace {

thread_local CGContextRef currentContext = nullptr;

}  // namespace

CGContextRef NSGraphicsContext::currentGraphicsPort() { return currentContext; }

NSGraphicsContext::Scope::Scope(CGContextRef context) : previous_(currentContext) { currentContext = context; }

NSGraphicsContext::Scope::~Scope() { currentContext = previous_; }

}  // namespace customizer
