// SQLRoutines: a SELECT statement as up to ten selects of seven clauses, split from a statement
// text, changed clause by clause and joined again.
#pragma once

#include <array>

#include "frame/roster.h"
#include "platform/platform.h"

namespace brv {

// One select of the statement. Each clause holds its own keyword; empty means absent.
struct SelectClauses {
    String SelectSQL, From, Where, GroupBy, Having, OrderBy, Pivot;
    friend bool operator==(const SelectClauses&, const SelectClauses&) = default;
};

class SQLRoutines : public ClassObject {
  public:
    static constexpr int kMaxSelects = 10;

    explicit SQLRoutines(const platform::Platform& platform)
        : ClassObject(ClassId::SQLRoutines), locale_(*platform.regional) {}

    // Joins records 1 to SelectCount into SQL; the result is Empty.
    Variant SQLAppend();

    // Splits the statement into the model and writes it back with every CR LF replaced by a
    // space. Always returns 0. Errors: 32000 for an empty text, 94 for Null, 6 beyond 32767
    // characters (all three leave everything unchanged); 9 for more than ten selects (the first
    // ten are kept and SelectCount is 10); 5 for clauses out of order (earlier selects kept).
    int16_t SQLParse(Variant& strSQL);

    // The clause properties. The select number is converted to a Long and must lie in 1 to 10
    // (error 9); lets prefix the clause's keyword when the value does not begin with it, and
    // raise SelectCount to the select number.
    Variant get_Where(const Variant& intSelectNumber);
    void let_Where(const Variant& intSelectNumber, const Variant& vNewValue);
    Variant get_From(const Variant& intSelectNumber);
    void let_From(const Variant& intSelectNumber, const Variant& vNewValue);
    Variant get_OrderBy(const Variant& intSelectNumber);
    void let_OrderBy(const Variant& intSelectNumber, const Variant& vNewValue);
    Variant get_GroupBy(const Variant& intSelectNumber);
    void let_GroupBy(const Variant& intSelectNumber, const Variant& vNewValue);
    Variant get_Having(const Variant& intSelectNumber);
    void let_Having(const Variant& intSelectNumber, const Variant& vNewValue);
    Variant get_SelectSQL(const Variant& intSelectNumber);
    void let_SelectSQL(const Variant& intSelectNumber, const Variant& vNewValue);
    Variant get_SQL();
    void let_SQL(const Variant& vNewValue);
    Variant get_Pivot(const Variant& intSelectNumber);
    void let_Pivot(const Variant& intSelectNumber, const Variant& vNewValue);

    // Empties every record and sets SelectCount to 0; SQL stays. The result is Empty.
    Variant Clear();

    // Adds "AND s" to the select's WHERE clause, or " WHERE s" when it has none. A leading
    // "AND" (any case, just the three letters) of the addition is dropped.
    void WhereAppend(const String& strAdditionalWhere, const Variant& intSelectNumber);

    // Not part of the automation interface: the model as it stands, for tests and tools.
    int16_t selectCount() const { return selectCount_; }
    const SelectClauses& record(int number) const { return records_.at(number - 1); }

    // How a clause let recognises and adds its keyword.
    struct ClauseRule;

  private:
    Variant getClause(const Variant& number, String SelectClauses::*field);
    void letClause(const Variant& number, const Variant& value, const ClauseRule& rule);

    const Locale& locale_;
    int16_t selectCount_ = 0;
    std::array<SelectClauses, kMaxSelects> records_;
    String sql_;
};

}  // namespace brv
