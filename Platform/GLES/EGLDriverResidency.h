#pragma once
// Mesa's drivers keep some compiler state for the life of the process and let it go only by being
// unloaded at exit, which LeakSanitizer then reports as leaked from an unknown module. Keeping the
// loaded drivers resident leaves that state reachable, so a sanitizer run reports only our leaks.
// Harmless elsewhere: a driver that was loaded stays loaded.

// Marks every GL driver loaded so far as never to be unloaded. The display connection calls it
// once a display has initialised (which is when the driver loads).
void EGLKeepDriversResident();
