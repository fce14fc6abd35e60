#include "OpenWatch.h"

#include <QFile>

#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>

OpenWatch::OpenWatch(const QString &folder)
    : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    if (m_fd >= 0)
        m_watch = inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_OPEN | IN_ACCESS);
}

OpenWatch::~OpenWatch()
{
    if (m_fd >= 0)
        close(m_fd);
}

QStringList OpenWatch::opened()
{
    alignas(inotify_event) char buffer[4096];
    ssize_t length = 0;
    while (m_fd >= 0 && (length = read(m_fd, buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at < length;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            if (event.len > 0)
                m_opened.append(QFile::decodeName(buffer + at + sizeof event));
            at += ssize_t(sizeof event + event.len);
        }
    }
    return m_opened;
}
