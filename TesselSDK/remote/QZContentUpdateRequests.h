#pragma once
// The requests of the content and message updates: every HTTP exchange goes through the queue the
// archive downloads share, at most three at a time.

#include <functional>
#include <memory>
#include <string>

#include "Foundation/NSError.h"
#include "Foundation/NSOperationQueue.h"
#include "Foundation/Value.h"
#include "Network/NSURL.h"
#include "Network/NSURLRequest.h"

std::shared_ptr<NSOperationQueue> QZContentUpdateRequestQueue();

// Sends the request on that queue. The body reaches `success` on a global queue of default
// priority (the documents are parsed off the main thread); `failure` runs where the operation ends.
void QZFetchUpdateDocument(const std::shared_ptr<NSURLRequest>& request,
                           std::function<void(const Value::Data&)> success,
                           std::function<void(const std::shared_ptr<NSError>&)> failure);

// The error's description for an outcome's reason; "unknown error" for none.
std::string QZDescribeUpdateError(const std::shared_ptr<NSError>& error);

// Whether the host asked for the staging content service ("editor.useTDVStagingEnvironment").
bool QZUsesStagingContentService();

// A document of the content service for the configured API key ("<root><path><key>/<document>"),
// on the staging service when `staging`; none when no root or no key is configured. Any thread.
std::shared_ptr<NSURL> QZContentServiceDocumentURL(bool staging, const std::string& document);
