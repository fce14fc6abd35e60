#pragma once

#include <QByteArray>
#include <QObject>

class QNetworkReply;

// Collects a reply's body (after decompression) as it arrives, and aborts the reply once
// the body passes `cap` bytes, so an endless or inflated answer cannot fill memory.
class CappedBody : public QObject {
public:
    static constexpr qint64 kReadBuffer = 4 * 1024 * 1024;

    CappedBody(QNetworkReply *reply, qint64 cap);

    bool overCap() const { return m_overCap; }
    // The body received so far with what the reply still holds; empty once over the cap.
    QByteArray take();

private:
    void read();

    QNetworkReply *m_reply;
    qint64 m_cap;
    QByteArray m_body;
    bool m_overCap = false;
};
