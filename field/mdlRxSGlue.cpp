#include "field/mdlRxSGlue.h"

namespace mdlRxSGlue {

void psConfigureAtStartup(Searchers&) {}

} // namespace mdlRxSGlue
