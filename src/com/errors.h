// Failures at the boundary. Two kinds leave an entry point: a runtime error (brv::Error: number,
// source, description), which becomes an HRESULT plus IErrorInfo, and a Fault, a bare HRESULT
// for a call the platform itself refuses (E_POINTER, DISP_E_TYPEMISMATCH for an argument that
// cannot convert), which clears any stale error information. Every entry point ends in a
// catch-all that calls report(); nothing else turns an exception into an HRESULT, and no
// exception crosses the ABI.
#pragma once

#include "com/ole.h"
#include "frame/error.h"
#include "frame/roster.h"

namespace brv::com {

struct Fault {
    HRESULT hr;
};

// Positive numbers travel as 0x800A0000 + number so that clients read the plain number back;
// negative numbers already are HRESULTs.
HRESULT hresultOf(int32_t number) noexcept;

// For use inside a catch block: the HRESULT of the exception in flight, with the thread's error
// information set for a runtime error (source defaults to the class's programmatic identifier;
// out of memory is error 7, anything unforeseen error 51) and cleared for a Fault. `cls` may be
// null where no class is involved (the source is then the library's name).
HRESULT report(const ClassInfo* cls, REFIID iid) noexcept;

// For a late-bound call that failed with `hr`: moves the thread's error information into `ei`
// and says whether there was any (a runtime error, which Invoke answers with DISP_E_EXCEPTION).
// Without `ei` the information stays for the caller to read.
bool takeErrorInfo(EXCEPINFO* ei, HRESULT hr) noexcept;

}  // namespace brv::com
