#include "CappedBody.h"

#include <QNetworkReply>

CappedBody::CappedBody(QNetworkReply *reply, qint64 cap)
    : m_reply(reply)
    , m_cap(cap)
{
    // Without a bound the reply queues whatever the network delivers faster than it is read.
    reply->setReadBufferSize(kReadBuffer);
    connect(reply, &QIODevice::readyRead, this, &CappedBody::read);
}

void CappedBody::read()
{
    // an aborted reply is closed and has nothing more to give
    if (m_overCap || !m_reply->isOpen())
        return;
    if (m_body.size() + m_reply->bytesAvailable() > m_cap) {
        m_overCap = true;
        m_reply->abort();
        return;
    }
    // A body of announced length is stored once, not grown piece by piece.
    if (m_body.isEmpty()) {
        const qint64 announced = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (announced > 0 && announced <= m_cap)
            m_body.reserve(announced);
    }
    m_body += m_reply->readAll();
}

QByteArray CappedBody::take()
{
    read();
    return m_overCap ? QByteArray() : std::move(m_body);
}
