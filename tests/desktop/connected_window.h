#pragma once

#include "window_fixture.h"

#include "app/app_core.h"
#include "service_standin.h"
#include "standin_fixture.h"

#include <QTest>

#include <string>
#include <vector>

namespace qb::test {

// The real window after its start, shown, connected to a stand-in TorrServer that holds
// `magnets`, on a desktop that has a tray or not.
class ConnectedWindow : public WindowTest {
protected:
    void startWindow(bool tray, const std::vector<std::string>& magnets = {}) {
        ASSERT_TRUE(server.start()) << server.error();
        for (const std::string& magnet : magnets) {
            ASSERT_FALSE(server.addMagnet(magnet).empty()) << magnet;
        }
        writeSettings(toQ(server.baseUrl()), QStringLiteral("0"), toQ(service.baseUrl()));
        makeWindow();
        system->tray = tray;
        ASSERT_TRUE(form->core().FormCreate());
        form->core().skipFirstShowCheckForTest(); // the series check has tests of its own
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    qb::testing::TorrServerStandin server;
    qb::testing::ServiceStandin service;
};

} // namespace qb::test
