// A quest's texts in other languages. A scenario folder may hold one file per language, named
// after it (`en.lang`, `ja.lang`): entries of a text as the quest's scripts write it and the
// same text as a player reads it in that language, both as Tekkel strings:
//
//     "お願いです。助けてください。"      ; the text as a script writes it
//     = "Please, I beg you. Help me."      ; as the player reads it in this language
//
// The World keeps the original texts; a message box shows the translation of its text in the
// player's language, or the text itself when there is none. So a quest plays the same in every
// language, and a recording replays in any.
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "field/ScenarioReader.h"
#include "field/World.h"
#include "platform/Seams.h"

namespace field {

struct TranslationEntry {
    std::u16string shown;
    std::string file;
    std::int32_t line = 0, column = 0; // of the original
};

// Original text -> its entry.
using TextTable = std::map<std::u16string, TranslationEntry>;

struct ScenarioTranslations {
    std::map<std::string, TextTable> languages; // by language, from the file name
    // The table of `language`, nullptr when the folder has none.
    const TextTable* table(const std::string& language) const;
};

// "en.lang": a translation file, its language the name before ".lang".
bool isTranslationFile(std::string_view name);

// Reads every translation file among `files` into `out`; faults go to `errors` as
// FILE:LINE:COLUMN (a malformed line, an original without a translation, a text written twice).
void readTranslations(std::string_view folder, std::span<const File> files,
                      ScenarioTranslations& out, std::vector<ScenarioError>& errors);

// The entries whose original no script of `world` writes (a text changed in the scripts, or
// mistyped here), as warnings in file and line order.
std::vector<ScenarioError> unmatchedTranslations(const ScenarioTranslations& translations,
                                                 const World& world);

// The program's own texts that reach a message box from below the field (the script error
// report, the common error box), looked up line by line in the catalog's context "report".
std::span<const std::u16string_view> reportTexts();

// The window system the field runs on: every message box in the player's language (the
// quest's texts from its translations, the program's from the services' translator), the rest
// handed on unchanged. services() are the given ones with these boxes.
class TranslatedBoxes : public plat::IWindowSystem {
  public:
    TranslatedBoxes(plat::Services& inner, const ScenarioTranslations& translations);
    plat::Services& services() { return services_; }

    // The text a box shows for `text`.
    std::u16string shown(const std::u16string& text) const;

    void doEvents() override { inner_.windows.doEvents(); }
    void waitEvents(std::uint32_t ms) override { inner_.windows.waitEvents(ms); }
    bool isActive(const plat::Form& form) override { return inner_.windows.isActive(form); }
    plat::MsgResult messageBox(const std::u16string& text, const std::u16string& title,
                               plat::MsgButtons buttons, plat::MsgIcon icon) override;
    void show(plat::Form& form) override { inner_.windows.show(form); }
    bool unload(plat::Form& form) override { return inner_.windows.unload(form); }
    void unloadAll() override { inner_.windows.unloadAll(); }
    void repaint(plat::PictureBox& box) override { inner_.windows.repaint(box); }
    void sync(plat::Form& form) override { inner_.windows.sync(form); }

  private:
    plat::Services& inner_;
    const TextTable* table_ = nullptr;
    plat::Services services_;
};

} // namespace field
