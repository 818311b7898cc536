// The command-line option that starts the OpenRGB SDK server, and the port it asks for.

#include "app/Startup.h"

#include <gtest/gtest.h>

TEST(SdkServerOption, GivesThePortAskedForOrNothing) {
    struct Case {
        QStringList arguments;
        std::optional<quint16> port;
    };
    const QString program = QStringLiteral("q407");
    const std::vector<Case> cases{
        {{program}, std::nullopt},
        {{program, QStringLiteral("--sdk-server")}, 6742},
        {{program, QStringLiteral("--sdk-server=7001")}, 7001},
        {{program, QStringLiteral("--sdk-server=0")}, 0},
        {{program, QStringLiteral("--sdk-server=65536")}, std::nullopt},
        {{program, QStringLiteral("--sdk-server=port")}, std::nullopt},
        {{program, QStringLiteral("--sdk-serverx")}, std::nullopt},
        {{program, QStringLiteral("--sdk-server=7001"), QStringLiteral("--sdk-server")}, 6742},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(q407::app::SdkServerPort(c.arguments), c.port)
            << c.arguments.join(u' ').toStdString();
    }
}
