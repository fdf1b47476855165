// SQLRoutines as clients see it: each member of _SQLRoutines calls the core member of the same
// name.
#include "sql/sql_routines.h"

#include "com/classes.h"
#include "com/idl.h"
#include "com/object.h"

namespace brv::com {
namespace {

class SQLRoutinesCom final : public Dispatch<_SQLRoutines> {
  public:
    using Dispatch::Dispatch;

    STDMETHODIMP SQLAppend(VARIANT* result) override {
        return call(&SQLRoutines::SQLAppend, result);
    }
    // The statement reaches the caller's variable with its line breaks replaced also when the
    // split fails afterwards (too many selects, clauses out of order), as a by-reference
    // argument does in the runtime: call() writes a changed argument back after a failure too.
    STDMETHODIMP SQLParse(VARIANT* strSQL, short* result) override {
        return call(&SQLRoutines::SQLParse, strSQL, result);
    }
    STDMETHODIMP get_Where(VARIANT* intSelectNumber, VARIANT* result) override {
        return call(&SQLRoutines::get_Where, intSelectNumber, result);
    }
    STDMETHODIMP put_Where(VARIANT* intSelectNumber, VARIANT vNewValue) override {
        return call(&SQLRoutines::let_Where, intSelectNumber, vNewValue);
    }
    STDMETHODIMP get_From(VARIANT* intSelectNumber, VARIANT* result) override {
        return call(&SQLRoutines::get_From, intSelectNumber, result);
    }
    STDMETHODIMP put_From(VARIANT* intSelectNumber, VARIANT vNewValue) override {
        return call(&SQLRoutines::let_From, intSelectNumber, vNewValue);
    }
    STDMETHODIMP get_OrderBy(VARIANT* intSelectNumber, VARIANT* result) override {
        return call(&SQLRoutines::get_OrderBy, intSelectNumber, result);
    }
    STDMETHODIMP put_OrderBy(VARIANT* intSelectNumber, VARIANT vNewValue) override {
        return call(&SQLRoutines::let_OrderBy, intSelectNumber, vNewValue);
    }
    STDMETHODIMP get_GroupBy(VARIANT* intSelectNumber, VARIANT* result) override {
        return call(&SQLRoutines::get_GroupBy, intSelectNumber, result);
    }
    STDMETHODIMP put_GroupBy(VARIANT* intSelectNumber, VARIANT vNewValue) override {
        return call(&SQLRoutines::let_GroupBy, intSelectNumber, vNewValue);
    }
    STDMETHODIMP get_Having(VARIANT* intSelectNumber, VARIANT* result) override {
        return call(&SQLRoutines::get_Having, intSelectNumber, result);
    }
    STDMETHODIMP put_Having(VARIANT* intSelectNumber, VARIANT vNewValue) override {
        return call(&SQLRoutines::let_Having, intSelectNumber, vNewValue);
    }
    STDMETHODIMP get_SelectSQL(VARIANT* intSelectNumber, VARIANT* result) override {
        return call(&SQLRoutines::get_SelectSQL, intSelectNumber, result);
    }
    STDMETHODIMP put_SelectSQL(VARIANT* intSelectNumber, VARIANT vNewValue) override {
        return call(&SQLRoutines::let_SelectSQL, intSelectNumber, vNewValue);
    }
    STDMETHODIMP get_SQL(VARIANT* result) override { return call(&SQLRoutines::get_SQL, result); }
    STDMETHODIMP put_SQL(VARIANT vNewValue) override {
        return call(&SQLRoutines::let_SQL, vNewValue);
    }
    STDMETHODIMP get_Pivot(VARIANT* intSelectNumber, VARIANT* result) override {
        return call(&SQLRoutines::get_Pivot, intSelectNumber, result);
    }
    STDMETHODIMP put_Pivot(VARIANT* intSelectNumber, VARIANT vNewValue) override {
        return call(&SQLRoutines::let_Pivot, intSelectNumber, vNewValue);
    }
    STDMETHODIMP Clear(VARIANT* result) override { return call(&SQLRoutines::Clear, result); }
    STDMETHODIMP WhereAppend(BSTR strAdditionalWhere, VARIANT* intSelectNumber) override {
        return call(&SQLRoutines::WhereAppend, strAdditionalWhere, intSelectNumber);
    }
};

}  // namespace

BREVANTO_BIND_CLASS(SQLRoutines, SQLRoutinesCom)

}  // namespace brv::com
