#pragma once
// The remote library's start: registers its record classes by name (the object store makes
// records by the class names of its entities, and the mapping finds class objects by name) and
// hands the A/B test summary to the analytics facade. The host calls it once, before opening a
// content store; calling it again is harmless.

void TesselSDKRemoteRegisterClasses();
