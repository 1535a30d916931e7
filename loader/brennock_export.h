#pragma once

// Symbols of libBrennock are hidden unless marked; the program links the
// marked ones and also loads the library by name.
#if defined(BRENNOCK_BUILDING)
#define BRENNOCK_EXPORT __attribute__((visibility("default")))
#else
#define BRENNOCK_EXPORT
#endif
