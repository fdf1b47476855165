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

    STDMETHODIMP SQLAppend(VARIANT* result) override { return notWired(u"SQLAppend", result); }
    STDMETHODIMP SQLParse(VARIANT* strSQL, short* result) override {
        return notWired(u"SQLParse", strSQL, result);
    }
    STDMETHODIMP get_Where(VARIANT* intSelectNumber, VARIANT* result) override {
        return notWired(u"Where", intSelectNumber, result);
    }
    STDMETHODIMP put_Where(VARIANT* intSelectNumber, VARIANT vNewValue) override {
        return notWired(u"Where", intSelectNumber, vNewValue);
    }
    STDMETHODIMP get_From(VARIANT* intSelectNumber, VARIANT* result) override {
        return notWired(u"From", intSelectNumber, result);
    }
    STDMETHODIMP put_From(VARIANT* intSelectNumber, VARIANT vNewValue) override {
        return notWired(u"From", intSelectNumber, vNewValue);
    }
    STDMETHODIMP get_OrderBy(VARIANT* intSelectNumber, VARIANT* result) override {
        return notWired(u"OrderBy", intSelectNumber, result);
    }
    STDMETHODIMP put_OrderBy(VARIANT* intSelectNumber, VARIANT vNewValue) override {
        return notWired(u"OrderBy", intSelectNumber, vNewValue);
    }
    STDMETHODIMP get_GroupBy(VARIANT* intSelectNumber, VARIANT* result) override {
        return notWired(u"GroupBy", intSelectNumber, result);
    }
    STDMETHODIMP put_GroupBy(VARIANT* intSelectNumber, VARIANT vNewValue) override {
        return notWired(u"GroupBy", intSelectNumber, vNewValue);
    }
    STDMETHODIMP get_Having(VARIANT* intSelectNumber, VARIANT* result) override {
        return notWired(u"Having", intSelectNumber, result);
    }
    STDMETHODIMP put_Having(VARIANT* intSelectNumber, VARIANT vNewValue) override {
        return notWired(u"Having", intSelectNumber, vNewValue);
    }
    STDMETHODIMP get_SelectSQL(VARIANT* intSelectNumber, VARIANT* result) override {
        return notWired(u"SelectSQL", intSelectNumber, result);
    }
    STDMETHODIMP put_SelectSQL(VARIANT* intSelectNumber, VARIANT vNewValue) override {
        return notWired(u"SelectSQL", intSelectNumber, vNewValue);
    }
    STDMETHODIMP get_SQL(VARIANT* result) override { return notWired(u"SQL", result); }
    STDMETHODIMP put_SQL(VARIANT vNewValue) override { return notWired(u"SQL", vNewValue); }
    STDMETHODIMP get_Pivot(VARIANT* intSelectNumber, VARIANT* result) override {
        return notWired(u"Pivot", intSelectNumber, result);
    }
    STDMETHODIMP put_Pivot(VARIANT* intSelectNumber, VARIANT vNewValue) override {
        return notWired(u"Pivot", intSelectNumber, vNewValue);
    }
    STDMETHODIMP Clear(VARIANT* result) override { return notWired(u"Clear", result); }
    STDMETHODIMP WhereAppend(BSTR strAdditionalWhere, VARIANT* intSelectNumber) override {
        return notWired(u"WhereAppend", strAdditionalWhere, intSelectNumber);
    }
};

using Binder = Bind<SQLRoutinesCom, SQLRoutines>;

}  // namespace

const ClassBinding kSQLRoutinesBinding{ClassId::SQLRoutines, &__uuidof(::SQLRoutines),
                                       &__uuidof(_SQLRoutines), &Binder::wrap, &Binder::create};

}  // namespace brv::com
