// CDialog: the open-file and save-file dialogs.
#pragma once

#include "frame/roster.h"

namespace brv {

class CDialog : public ClassObject {
  public:
    CDialog() : ClassObject(ClassId::CDialog) {}
};

}  // namespace brv
