// The class bindings, one per adapter file in classes/, in roster order.
#pragma once

#include "com/server.h"

namespace brv::com {

extern const ClassBinding kWin32APIBinding;
extern const ClassBinding kArrayHelperBinding;
extern const ClassBinding kDateHelperBinding;
extern const ClassBinding kVBObjectHelperBinding;
extern const ClassBinding kOS32HelperBinding;
extern const ClassBinding kTextHelperBinding;
extern const ClassBinding kCRegistryAdvancedBinding;
extern const ClassBinding kCDialogBinding;
extern const ClassBinding kCRegistryBasicBinding;
extern const ClassBinding kSQLRoutinesBinding;
extern const ClassBinding kclsCommandParamBinding;
extern const ClassBinding kCommandParamsBinding;
extern const ClassBinding kArrayCollectionHelperBinding;

}  // namespace brv::com
