#include "PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

bool makePrivateFolder(const QString &path)
{
    return QDir().mkpath(path) && QFile::setPermissions(path, kPrivateFolder);
}

bool makePrivateFile(const QString &path)
{
    return QFile::exists(path) && QFile::setPermissions(path, kPrivateFile);
}

QString privateCacheRoot()
{
    const QString root
        = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/Zelfor");
    makePrivateFolder(root);
    return root;
}
