#include "field/ScenarioTranslations.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <set>
#include <tuple>

#include "common/Utility.h"
#include "field/ScenarioText.h"
#include "platform/Translator.h"

namespace field {

namespace {

constexpr std::string_view kSuffix = ".lang";

constexpr std::u16string_view kReportTexts[] = {
    TR_TEXT("report", "Tekkelスクリプト実行エラー"),
    TR_TEXT("report", "エラーが発生しました。デバッグしますか？"),
    TR_TEXT("report", "次の障害が発生しました。"),
    TR_TEXT("report", "ｴﾗｰ番号"),
    TR_TEXT("report", "メモリが不足しています。"),
    TR_TEXT("report", "プロシージャの呼び出し、または引数が不正です。"),
    TR_TEXT("report", "オーバーフローしました。"),
};

// A Tekkel string at line[at] (the opening quote), with the scripts' escapes; `end` comes back
// past the closing quote. Faults are recorded on the cursor.
std::optional<std::u16string> readString(std::string_view line, std::size_t at, std::size_t& end,
                                         Cursor& c) {
    std::string utf8;
    for (std::size_t i = at + 1; i < line.size(); ++i) {
        if (line[i] == '"') {
            end = i + 1;
            return common::fromUtf8(utf8);
        }
        if (line[i] != '\\') {
            utf8 += line[i];
            continue;
        }
        const char e = i + 1 < line.size() ? line[i + 1] : '\0';
        const std::string_view simple = "r\rn\nt\t\"\"\\\\";
        const std::size_t k = simple.find(e);
        if (e != '\0' && k != std::string_view::npos && k % 2 == 0) {
            utf8 += simple[k + 1];
            ++i;
            continue;
        }
        unsigned v = 0;
        const char* first = line.data() + std::min(i + 2, line.size());
        const char* last = line.data() + std::min(i + 6, line.size());
        const auto r = std::from_chars(first, last, v, 16);
        if (e != 'u' || last - first != 4 || r.ptr != last) {
            c.fail(i, "unknown escape; expected \\r \\n \\t \\\" \\\\ or \\uXXXX");
            return std::nullopt;
        }
        utf8 += common::toUtf8(std::u16string(1, static_cast<char16_t>(v)));
        i += 5;
    }
    c.fail(at, "unterminated text; expected a closing '\"'");
    return std::nullopt;
}

struct Pending {
    std::u16string original;
    std::int32_t line = 0, column = 0;
};

// One translation file into `table`.
class FileReader {
  public:
    FileReader(std::string file, TextTable& table, std::vector<ScenarioError>& errors)
        : file_(std::move(file)), table_(table), errors_(errors) {}

    void readLine(std::string_view line, std::int32_t number) {
        Cursor c(file_, line, number, errors_);
        if (const std::size_t bad = firstBadUtf8(line); bad != std::string_view::npos) {
            c.fail(bad, "the line is not valid UTF-8");
            return;
        }
        if (c.atEnd()) return;
        const bool translation = c.peek('=');
        if (translation) c.take();
        const std::size_t at = c.pos();
        if (!c.peek('"')) {
            c.fail(at, translation ? "expected the translation in quotes after '='"
                                   : "expected a text in quotes, or '=' and its translation");
            return;
        }
        std::size_t end = at;
        const std::optional<std::u16string> text = readString(line, at, end, c);
        if (!text) return;
        while (c.pos() < end)
            c.take();
        if (!c.expectEnd()) return;
        if (translation) {
            translate(*text, c, at);
        } else {
            finish();
            pending_ = Pending{*text, number, c.column(at)};
        }
    }

    // An original left without its translation at the end of the file.
    void finish() {
        if (!pending_) return;
        errors_.push_back({file_, pending_->line, pending_->column,
                           "this text has no translation; expected a line `= \"...\"` after it"});
        pending_.reset();
    }

  private:
    void translate(const std::u16string& shown, Cursor& c, std::size_t at) {
        if (!pending_) {
            c.fail(at, "a translation without its text; expected the text in quotes on the "
                       "line before");
            return;
        }
        const Pending p = std::move(*pending_);
        pending_.reset();
        const auto [it, fresh] =
            table_.try_emplace(p.original, TranslationEntry{shown, file_, p.line, p.column});
        if (!fresh) {
            errors_.push_back({file_, p.line, p.column,
                               "this text is already translated at " + it->second.file + ":" +
                                   std::to_string(it->second.line) + "; expected each once"});
        }
    }

    std::string file_;
    TextTable& table_;
    std::vector<ScenarioError>& errors_;
    std::optional<Pending> pending_;
};

// Every text a script of the world writes.
std::set<std::u16string> scriptTexts(const World& world) {
    std::set<std::u16string> texts;
    const auto collect = [&texts](const Script& s) {
        for (const auto& command : s.commands)
            for (const tekkel::Value* v : {&command.p1, &command.p2, &command.p3})
                if (v->isString()) texts.insert(v->s);
    };
    for (const Script& s : world.machine.scripts)
        collect(s);
    for (const EventObject& e : world.events)
        collect(e.ownScript);
    return texts;
}

// A line "label : value" of a report: the label is a text of the catalog, the value is not.
std::u16string shownLine(const plat::Services& sv, const std::u16string& line) {
    const std::u16string whole = plat::shownText(sv, "report", line);
    if (whole != line) return whole;
    const std::size_t colon = line.rfind(u" : ");
    if (colon == std::u16string::npos) return line;
    return plat::shownText(sv, "report", line.substr(0, colon)) + line.substr(colon);
}

} // namespace

const TextTable* ScenarioTranslations::table(const std::string& language) const {
    const auto it = languages.find(language);
    return it == languages.end() ? nullptr : &it->second;
}

bool isTranslationFile(std::string_view name) {
    return name.size() > kSuffix.size() && name.ends_with(kSuffix);
}

void readTranslations(std::string_view folder, std::span<const File> files,
                      ScenarioTranslations& out, std::vector<ScenarioError>& errors) {
    for (const File& f : files) {
        if (!isTranslationFile(f.name)) continue;
        const std::string language = f.name.substr(0, f.name.size() - kSuffix.size());
        std::string path(folder);
        if (!path.empty() && path.back() != '/') path += '/';
        FileReader reader(path + f.name, out.languages[language], errors);
        std::int32_t number = 0;
        for (std::string_view line : splitLines(f.text))
            reader.readLine(line, ++number);
        reader.finish();
    }
}

std::vector<ScenarioError> unmatchedTranslations(const ScenarioTranslations& translations,
                                                 const World& world) {
    const std::set<std::u16string> texts = scriptTexts(world);
    std::vector<ScenarioError> warnings;
    for (const auto& [language, table] : translations.languages)
        for (const auto& [original, entry] : table)
            if (!texts.count(original))
                warnings.push_back({entry.file, entry.line, entry.column,
                                    "no script writes this text; the translation is never shown",
                                    true});
    std::sort(warnings.begin(), warnings.end(), [](const auto& a, const auto& b) {
        return std::tie(a.file, a.line) < std::tie(b.file, b.line);
    });
    return warnings;
}

std::span<const std::u16string_view> reportTexts() {
    return kReportTexts;
}

TranslatedBoxes::TranslatedBoxes(plat::Services& inner, const ScenarioTranslations& translations)
    : inner_(inner), services_{inner.clock, inner.keyboard, *this,         inner.process,
                               inner.text,  inner.random,   inner.session, inner.translator} {
    if (inner.translator) table_ = translations.table(inner.translator->language());
}

std::u16string TranslatedBoxes::shown(const std::u16string& text) const {
    if (table_)
        if (const auto it = table_->find(text); it != table_->end()) return it->second.shown;
    if (inner_.translator == nullptr) return text;
    std::u16string out;
    std::size_t start = 0;
    for (std::size_t cr; (cr = text.find(u'\r', start)) != std::u16string::npos; start = cr + 1)
        out += shownLine(inner_, text.substr(start, cr - start)) + u'\r';
    return out + shownLine(inner_, text.substr(start));
}

plat::MsgResult TranslatedBoxes::messageBox(const std::u16string& text, const std::u16string& title,
                                            plat::MsgButtons buttons, plat::MsgIcon icon) {
    return inner_.windows.messageBox(shown(text), plat::shownText(inner_, "report", title), buttons,
                                     icon);
}

} // namespace field
