// The Windows and OLE Automation headers (with the registration results of olectl.h), in the
// one order that compiles: the others need the types of windows.h.
#pragma once

// clang-format off
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>
// clang-format on
