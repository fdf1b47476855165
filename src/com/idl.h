// The interfaces and enumerations generated from brevanto.idl. Three of their names are also
// windows.h macros: SW_SHOWNORMAL (an enumeration member) is hidden while the header is read;
// ReplaceText and GetDriveType (members) stay undefined so that the adapters, the interfaces
// and the core classes all use the plain names.
#pragma once

#include <windows.h>

#undef ReplaceText
#undef GetDriveType
#pragma push_macro("SW_SHOWNORMAL")
#undef SW_SHOWNORMAL
#include "brevanto.h"
#pragma pop_macro("SW_SHOWNORMAL")
