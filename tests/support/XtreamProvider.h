#pragma once

#include "LoopbackServer.h"
#include "model/Records.h"

#include <QByteArray>
#include <QHash>
#include <QString>

// An Xtream-Codes provider on the loopback server: "player_api.php" answers every action
// from the fixtures in tests/data/xtream, "get.php" answers an M3U text. Wrong credentials
// get the provider's refusal ({"user_info":{"auth":0}}); an action can be made to answer
// anything else (an error status, a different body).
class XtreamProvider {
public:
    static inline const QString kUser = QStringLiteral("demo user");
    static inline const QString kPassword = QStringLiteral("p&ss+1");
    static inline const QString kApiPath = QStringLiteral("/player_api.php");
    static inline const QString kGetPath = QStringLiteral("/get.php");
    // The action of the login request.
    static inline const QString kLogin = QString();

    XtreamProvider();

    LoopbackServer &server() { return m_server; }
    // An Xtream-Codes playlist of this provider with the right credentials.
    Playlist playlist() const;
    // An M3U playlist whose address is this provider's get.php link.
    Playlist getPhpPlaylist() const;

    // The answer to one action (kLogin for the login, kGetPath for get.php) from now on.
    void answer(const QString &action, const LoopbackResponse &response);
    void answerFixture(const QString &action, const QString &fixtureName);
    // Back to the fixture answers.
    void reset();

    int requestCount(const QString &action) const;
    // The query of the last request for the action; empty when there was none.
    QUrlQuery lastQuery(const QString &action) const;

    // The bytes of tests/data/xtream/<name>.
    static QByteArray fixture(const QString &name);

private:
    LoopbackResponse api(const LoopbackRequest &request) const;
    LoopbackResponse getPhp(const LoopbackRequest &request) const;

    LoopbackServer m_server;
    QHash<QString, LoopbackResponse> m_answers;
};
