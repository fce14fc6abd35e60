#pragma once

#include <QString>
#include <QStringList>

// Notes every file of a folder that is opened or read from the moment of construction
// (inotify), whatever the mount's access-time rule.
class OpenWatch {
public:
    explicit OpenWatch(const QString &folder);
    ~OpenWatch();
    OpenWatch(const OpenWatch &) = delete;
    OpenWatch &operator=(const OpenWatch &) = delete;

    bool isWatching() const { return m_watch >= 0; }
    // The names of the files opened or read so far, in order, repeated per event.
    QStringList opened();

private:
    int m_fd = -1;
    int m_watch = -1;
    QStringList m_opened;
};
