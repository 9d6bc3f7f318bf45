#include "platform/testing/TestSeams.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace plat::testing {

void ScriptedWindowSystem::doEvents() {
    ++pumps;
    if (onEvents) onEvents();
}

void ScriptedWindowSystem::waitEvents(std::uint32_t ms) {
    if (clock && ms > 0) clock->sleep(ms);
    doEvents();
}

bool ScriptedWindowSystem::isActive(const Form& form) {
    return activeFor ? activeFor(form) : active;
}

MsgResult ScriptedWindowSystem::messageBox(const std::u16string& text, const std::u16string& title,
                                           MsgButtons buttons, MsgIcon icon) {
    RecordedBox box{text, title, buttons, icon, MsgResult::Ok};
    if (responder) {
        box.answer = responder(box);
    } else if (!answers.empty()) {
        box.answer = answers.front();
        answers.pop_front();
    } else {
        box.answer = buttons == MsgButtons::Ok ? MsgResult::Ok : defaultAnswer;
    }
    boxes.push_back(box);
    return box.answer;
}

void ScriptedWindowSystem::show(Form& form) {
    form.visible = true;
    form.loaded = true;
    if (std::find(shown.begin(), shown.end(), &form) == shown.end()) shown.push_back(&form);
}

bool ScriptedWindowSystem::unload(Form& form) {
    if (!form.loaded) return true;
    bool cancel = false;
    form.queryUnload(cancel);
    if (cancel) return false;
    // The close query may itself have unloaded every form, this one included.
    if (!form.loaded) return true;
    form.loaded = false;
    form.visible = false;
    unloaded.push_back(&form);
    shown.erase(std::remove(shown.begin(), shown.end(), &form), shown.end());
    form.unloaded();
    return true;
}

void ScriptedWindowSystem::unloadAll() {
    const std::vector<Form*> open = shown;
    for (Form* f : open)
        unload(*f);
}

TempProcess::TempProcess() {
    std::string folderTemplate =
        (std::filesystem::temp_directory_path() / "haruvel-test-XXXXXX").string();
    if (mkdtemp(folderTemplate.data()) == nullptr) {
        // Never fall back to a folder this helper did not make: its destructor removes the folder.
        std::fprintf(stderr, "TempProcess: cannot make a temporary folder %s: %s\n",
                     folderTemplate.c_str(), std::strerror(errno));
        std::abort();
    }
    folder = made_ = folderTemplate;
}

TempProcess::~TempProcess() {
    // Removes the folder it made, whatever a test has since put in `folder`.
    std::error_code ec;
    std::filesystem::permissions(made_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(made_, ec);
}

bool TempProcess::appendToFile(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

void TempProcess::exitNow(int code) {
    throw ProcessExit{code};
}

std::string TempProcess::readFile(const std::string& fileName) const {
    std::ifstream in(std::filesystem::path(folder) / fileName, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

int RecordingText::textOut(Surface&, int x, int y, std::string_view utf8) {
    calls.push_back({x, y, std::string(utf8)});
    return result;
}

} // namespace plat::testing
