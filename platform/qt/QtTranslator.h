// The programs' own texts in the player's language, from the catalogs built into them
// (translations/<language>.ts, compiled to :/i18n/<language>.qm).
#pragma once

#include <QStringList>
#include <QTranslator>
#include <string>

#include "platform/Translator.h"

namespace plat::qt {

// The language to show: `option` when given ("ja" or "en"), else the first of the desktop's
// languages (QLocale::uiLanguages: LANGUAGE, LC_ALL, LANG) that the programs speak, else
// English.
std::string chooseLanguage(const QString& option, const QStringList& desktopLanguages);

class QtTranslator : public ITranslator {
  public:
    // Loads the catalog of `language`; Japanese, the language the code is written in, needs
    // none.
    explicit QtTranslator(std::string language);
    // Makes the catalog Qt's own too (QCoreApplication::translate, which the windows use).
    void install();

    std::string language() const override { return language_; }
    std::u16string translate(std::string_view context, std::u16string_view source) const override;

  private:
    std::string language_;
    QTranslator catalog_;
    bool loaded_ = false;
};

} // namespace plat::qt
