// Automation errors at the boundary: a core Error becomes an HRESULT plus IErrorInfo (number,
// source, description, the interface's GUID). No exception leaves a COM entry point.
#pragma once

// clang-format off
#include <windows.h>  // before the OLE headers, which need its types
#include <oleauto.h>
// clang-format on

#include "frame/error.h"
#include "frame/roster.h"

namespace brv::com {

// Positive numbers travel as 0x800A0000 + number so that clients read the plain number back;
// negative numbers already are HRESULTs.
HRESULT hresultOf(int32_t number);

HRESULT reportError(const Error& e, const ClassInfo& cls, REFIID iid) noexcept;
// For use inside a catch block: maps Error, HresultError and std::bad_alloc.
HRESULT reportCurrentException(const ClassInfo& cls, REFIID iid) noexcept;
// A failure without a description of its own (E_POINTER...): clears stale error information.
HRESULT reportPlain(HRESULT hr) noexcept;

// Moves the thread's error information into `ei` (for late-bound calls).
void fillExcepInfo(EXCEPINFO* ei, HRESULT hr) noexcept;

}  // namespace brv::com
