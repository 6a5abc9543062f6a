// The version fetch at start and the offer of a newer version.
#include "app/app_core.h"
#include "app/tform1.h"
#include "releaseinfo/release_info.h"

#include "app/app_version.h"
#include "app/version/version_check.h"
#include "connection/http/http_client.h"

#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;
using qb::app::AppCore;

bool AppCore::FetchRemoteVersion() {
    const qb::net::HttpResult answer =
        Form.netHttpClient1()->get(ServiceBaseUrl + u"/version.txt"_s);
    if (!answer.ok) {
        Form.message(qb::app::noConnectionText(), qb::app::noConnectionTitle(),
                     qb::platform::MessageIcon::Error);
        return false;
    }
    RemoteVersion =
        qb::app::usableRemoteVersion(QString::fromUtf8(answer.body), qb::app::AppVersion());
    return true;
}

void AppCore::ShowUpdateOffer() {
    if (!qb::app::isRemoteVersionHigher(RemoteVersion, qb::app::AppVersion())) {
        return;
    }
    const auto answer =
        Form.message(qb::app::updateQuestionText(RemoteVersion), qb::app::updateQuestionTitle(),
                     qb::platform::MessageIcon::Question, qb::platform::MessageButtons::YesNo);
    if (answer == qb::platform::MessageAnswer::Yes) {
        Form.releaseInfo().connectInfoViewEvents();
        Form.WebBrowser1->load(QUrl(qb::app::updateDownloadAddress(RemoteVersion)));
    }
}
