#include "field/script/mdlScriptProcesser.h"

namespace mdlScriptProcesser {

void psRunFrameScripts(field::World&, plat::Services&) {}

} // namespace mdlScriptProcesser
