#include "CappedBody.h"

#include <QNetworkReply>

CappedBody::CappedBody(QNetworkReply *reply, qint64 cap)
    : m_reply(reply)
    , m_cap(cap)
{
    connect(reply, &QIODevice::readyRead, this, &CappedBody::read);
}

void CappedBody::read()
{
    if (m_overCap)
        return;
    if (m_body.size() + m_reply->bytesAvailable() > m_cap) {
        m_overCap = true;
        m_reply->abort();
        return;
    }
    m_body += m_reply->readAll();
}

QByteArray CappedBody::take()
{
    read();
    return m_overCap ? QByteArray() : std::move(m_body);
}
