// The interfaces and enumerations generated from brevanto.idl. Two member names are also
// windows.h macros: ReplaceText and GetDriveType stay undefined so that the adapters, the
// interfaces and the core classes all use the plain names.
#pragma once

#include <windows.h>

#undef ReplaceText
#undef GetDriveType
#include "brevanto.h"
