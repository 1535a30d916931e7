#pragma once
#include <QtGlobal>

#if defined(PAVO_LIBRARY)
#define PAVO_EXPORT Q_DECL_EXPORT
#else
#define PAVO_EXPORT Q_DECL_IMPORT
#endif
