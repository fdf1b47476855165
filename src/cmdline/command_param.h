// clsCommandParam: one parameter of a command line, its name and its value. Clients receive
// instances only from CommandParams.
#pragma once

#include "frame/roster.h"

namespace brv {

class clsCommandParam : public ClassObject {
  public:
    clsCommandParam() : ClassObject(ClassId::clsCommandParam) {}

    // Stored and returned unchanged: no trimming, no change of case.
    void let_ParamValue(const String& vData) { value_ = vData; }
    String get_ParamValue() const { return value_; }
    void let_ParamName(const String& vData) { name_ = vData; }
    String get_ParamName() const { return name_; }

  private:
    String name_;
    String value_;
};

}  // namespace brv
