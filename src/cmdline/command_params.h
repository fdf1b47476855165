// CommandParams: the slash-switch command line ('/name value /name value') as an ordered
// collection of clsCommandParam objects, keyed by name without regard to letter case.
#pragma once

#include <memory>

#include "cmdline/command_param.h"
#include "frame/collection.h"
#include "frame/roster.h"
#include "platform/platform.h"

namespace brv {

class CommandParams : public ClassObject {
  public:
    // The process service supplies the fallback when no line was assigned.
    explicit CommandParams(const platform::Platform& platform)
        : ClassObject(ClassId::CommandParams),
          process_(*platform.process),
          params_(*platform.regional) {}

    // Falls back to the process's arguments while the stored line is empty, and stores a
    // leading "/" when the line lacks one; so the get can change the stored line.
    String get_CommandLine();
    // Stores the line trimmed; nothing else (the slash comes with the next get).
    void let_CommandLine(const String& vNewValue);

    // The default member: a number is a position, a string a key (errors 5, 9).
    std::shared_ptr<clsCommandParam> get_Item(const Variant& vntIndexKey) const;
    int32_t get_Count() const { return params_.count(); }
    // The value as a String Variant; Empty when the name was not given.
    Variant GetCommandLineItem(const String& strParamName) const;
    bool FindCommandLineItem(const String& strParamName) const;
    // Adds one parameter per switch; never empties the collection, so a second call on the
    // same line stops with 457 at the first name.
    void ParseCommandLine();
    Enumeration get_NewEnum() const { return Enumeration{params_.snapshot()}; }

  private:
    std::shared_ptr<clsCommandParam> addParam(const String& name, const String& value,
                                              const String& key);
    static String ReplaceText(StringView source, StringView search, StringView replacement);

    const platform::Process& process_;
    String commandLine_;
    Collection params_;
};

}  // namespace brv
