// Glue between the two movement searchers and their callers.
#pragma once

namespace mdlRxSGlue {

// State of the glue and both searchers (filled in with the searchers).
struct Searchers {};

// Start-up configuration: both searchers on, direct preferred, reset, options 5/true/true/
// true/false.
void psConfigureAtStartup(Searchers& s);

} // namespace mdlRxSGlue
