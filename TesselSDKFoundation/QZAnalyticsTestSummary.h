#pragma once
// The A/B test summary the analytics facade puts into its standard attributes. The facade sits
// below the pipeline and must not link the remote services, so the remote library registers the
// A/B test manager's summary here when the host registers its classes. With nothing registered
// there are no A/B entries.

#include <functional>

#include "Foundation/Value.h"

using QZAnalyticsTestSummarySource = std::function<Value()>;

// Replaces the source (an empty function removes it). Any thread.
void QZAnalyticsSetTestSummarySource(QZAnalyticsTestSummarySource source);
// The registered source's dictionary, or an empty dictionary.
Value QZAnalyticsTestSummary();
