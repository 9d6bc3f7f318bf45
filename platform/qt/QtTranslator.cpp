#include "platform/qt/QtTranslator.h"

#include <QCoreApplication>

namespace plat::qt {

std::string chooseLanguage(const QString& option, const QStringList& desktopLanguages) {
    if (!option.isEmpty()) return option.toStdString();
    for (const QString& name : desktopLanguages) {
        const QString code = name.left(2).toLower();
        if (code == QLatin1String("ja") || code == QLatin1String("en")) return code.toStdString();
    }
    return "en";
}

QtTranslator::QtTranslator(std::string language) : language_(std::move(language)) {
    if (language_ != "ja")
        loaded_ = catalog_.load(QStringLiteral(":/i18n/%1.qm").arg(language_.c_str()));
}

void QtTranslator::install() {
    if (loaded_) QCoreApplication::installTranslator(&catalog_);
}

std::u16string QtTranslator::translate(std::string_view context, std::u16string_view source) const {
    if (!loaded_ || source.empty()) return std::u16string(source);
    const QByteArray utf8 =
        QString::fromUtf16(source.data(), static_cast<qsizetype>(source.size())).toUtf8();
    const QString shown = catalog_.translate(std::string(context).c_str(), utf8.constData());
    return shown.isEmpty() ? std::u16string(source) : shown.toStdU16String();
}

} // namespace plat::qt
