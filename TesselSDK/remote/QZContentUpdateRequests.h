#pragma once
// The requests of the content update: every HTTP exchange goes through the queue the archive
// downloads share, at most three at a time.

#include <memory>

#include "Foundation/NSOperationQueue.h"

std::shared_ptr<NSOperationQueue> QZContentUpdateRequestQueue();
