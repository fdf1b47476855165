// SQLRoutines: the splitter, the clause properties and the assembler in any order, with any
// values for the select numbers and clauses.
#include "fuzz_support.h"
#include "sql/sql_routines.h"

namespace {

using namespace fuzz;

constexpr StringView kWords[] = {u" ",       u"SELECT ",    u" FROM ",   u" WHERE ",
                                 u" UNION ", u" GROUP BY ", u" HAVING ", u" ORDER BY ",
                                 u" PIVOT ", u"\r\n",       u";",        u"and ",
                                 u"AND",     u"x",          u"10",       u"  "};

using Get = Variant (brv::SQLRoutines::*)(const Variant&);
using Let = void (brv::SQLRoutines::*)(const Variant&, const Variant&);
constexpr std::pair<Get, Let> kClauses[] = {
    {&brv::SQLRoutines::get_Where, &brv::SQLRoutines::let_Where},
    {&brv::SQLRoutines::get_From, &brv::SQLRoutines::let_From},
    {&brv::SQLRoutines::get_OrderBy, &brv::SQLRoutines::let_OrderBy},
    {&brv::SQLRoutines::get_GroupBy, &brv::SQLRoutines::let_GroupBy},
    {&brv::SQLRoutines::get_Having, &brv::SQLRoutines::let_Having},
    {&brv::SQLRoutines::get_SelectSQL, &brv::SQLRoutines::let_SelectSQL},
    {&brv::SQLRoutines::get_Pivot, &brv::SQLRoutines::let_Pivot},
};

// A select number: mostly a valid one, otherwise any value.
Variant selectNumber(Input& in) {
    if (in.choice(4) != 0) return Variant(in.number<int16_t>(0, 11));
    return in.value(kWords);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Input in(data, size);
    brv::SQLRoutines s(standIns());
    for (int step = 0; step < 16 && in.more(); ++step) {
        switch (in.choice(8)) {
            case 0: {
                Variant sql = in.choice(8) ? Variant(in.text(kWords, 48)) : in.value(kWords);
                attempt([&] { s.SQLParse(sql); });
                break;
            }
            case 1: {
                const auto& clause = kClauses[in.choice(7)];
                const Get get = clause.first;
                const Let let = clause.second;
                const Variant n = selectNumber(in);
                const Variant v = in.choice(4) ? Variant(in.text(kWords, 8)) : in.value(kWords);
                attempt([&] { (s.*let)(n, v); });
                attempt([&] { (s.*get)(n); });
                break;
            }
            case 2: {
                const Get get = kClauses[in.choice(7)].first;
                attempt([&] { (s.*get)(selectNumber(in)); });
                break;
            }
            case 3:
                attempt([&] { s.WhereAppend(in.text(kWords, 6), selectNumber(in)); });
                break;
            case 4:
                attempt([&] { s.SQLAppend(); });
                break;
            case 5:
                attempt([&] { s.Clear(); });
                break;
            case 6:
                attempt([&] { s.let_SQL(in.value(kWords)); });
                break;
            default:
                attempt([&] { s.get_SQL(); });
                break;
        }
        if (s.selectCount() < 0 || s.selectCount() > brv::SQLRoutines::kMaxSelects)
            finding("SelectCount out of 0 to 10:", std::to_string(s.selectCount()));
    }
    return 0;
}
