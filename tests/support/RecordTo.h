// Where a bot's session is recorded: the stream the recording goes to and its header. The bot
// wraps its test seams in the recorder, so the file holds exactly what the real program,
// started with --replay, reads back.
#pragma once

#include <memory>
#include <ostream>

#include "platform/Recorder.h"

namespace testsupport {

struct RecordTo {
    std::ostream& out;
    plat::RecordingHeader header;
};

// The services to give the program: `base`, or the recorder's seams over it.
inline plat::Services& recordedServices(plat::Services& base, const RecordTo* record,
                                        std::unique_ptr<plat::Recorder>& recorder) {
    if (!record) return base;
    recorder = std::make_unique<plat::Recorder>(base, record->out, record->header);
    return recorder->services();
}

} // namespace testsupport
