// The interfaces and enumerations generated from brevanto.idl. Some enumeration members carry
// the platform's own names (SW_SHOWNORMAL), which windows.h defines as macros.
#pragma once

#include <windows.h>

#pragma push_macro("SW_SHOWNORMAL")
#undef SW_SHOWNORMAL
#include "brevanto.h"
#pragma pop_macro("SW_SHOWNORMAL")
