#include "field/mdlDataCtrl.h"

namespace mdlDataCtrl {

bool pfBuildScripts(field::World&) { return true; }

} // namespace mdlDataCtrl
