#include "app/version/version_check.h"

#include "build_config.h"

#include <QUrl>

namespace qb::app {

namespace {
constexpr qsizetype kLongestVersion = 5;

QString withoutDots(QString text) {
    return text.remove(u'.');
}
} // namespace

QString versionFileAddress(const QString& serviceBaseUrl) {
    return serviceBaseUrl + u"/version.txt";
}

QString usableRemoteVersion(const QString& answer, const QString& appVersion) {
    if (answer.isEmpty() || answer.size() > kLongestVersion) {
        return appVersion;
    }
    return answer;
}

bool isRemoteVersionHigher(const QString& remote, const QString& own) {
    // QString's ordering is by UTF-16 code unit, with a prefix ordered first.
    return withoutDots(own) < withoutDots(remote);
}

QString updateDownloadAddress(const QString& version) {
    // The version comes from the network: characters that mean something in an address are
    // percent-encoded so they stay part of the file name.
    const QString file = QString::fromLatin1(QUrl::toPercentEncoding(version, "."));
    return QString::fromUtf8(qb::build::kDefaultServiceUrl) + u"/ts/Quillbrook_x86_v" + file +
           u".zip";
}

QString noConnectionText() {
    return QStringLiteral("Сервер вовремя не ответил на запрос") + u'\r' +
           QStringLiteral("Попробуйте повторить попытку позже");
}

QString noConnectionTitle() {
    return QStringLiteral("Нет соединения");
}

QString updateQuestionText(const QString& version) {
    return QStringLiteral("На сервере имеется новая версия ") + version + u'\r' +
           QStringLiteral("Хотите скачать обновление?");
}

QString updateQuestionTitle() {
    return QStringLiteral("Обновление");
}

} // namespace qb::app
