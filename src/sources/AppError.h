#pragma once

#include <QDateTime>
#include <QNetworkReply>
#include <QString>

#include <exception>
#include <optional>
#include <stdexcept>
#include <string>

// The content layer's own failures, thrown as exceptions from its coroutines.
class AppError : public std::exception {
public:
    enum class Kind { http, server, xtreamExpired, xtreamAuth, emptyPlaylist, badData, badUrl };

    static AppError http(int status);
    static AppError server(int code, const QString &message);
    static AppError xtreamExpired(std::optional<QDateTime> expiry);
    static AppError xtreamAuth();
    static AppError emptyPlaylist();
    static AppError badData();
    static AppError badUrl();

    Kind kind() const { return m_kind; }
    // The HTTP status of `http`, the code of `server`; 0 for the other kinds.
    int status() const { return m_status; }
    QString message() const { return m_message; }
    std::optional<QDateTime> expiry() const { return m_expiry; }

    const char *what() const noexcept override { return m_what.c_str(); }
    bool operator==(const AppError &other) const;

private:
    explicit AppError(Kind kind, int status = 0, const QString &message = {},
        std::optional<QDateTime> expiry = std::nullopt);

    Kind m_kind;
    int m_status;
    QString m_message;
    std::optional<QDateTime> m_expiry;
    std::string m_what;
};

// A transport failure: the request got no HTTP answer (refused, timed out, dropped, cancelled...).
class NetError : public std::exception {
public:
    explicit NetError(QNetworkReply::NetworkError code, const QString &detail = {});

    QNetworkReply::NetworkError code() const { return m_code; }
    QString detail() const { return m_detail; }
    bool isCancelled() const { return m_code == QNetworkReply::OperationCanceledError; }
    // A time-out or a connection dropped by the other side.
    bool isTimeoutOrConnectionLost() const;

    const char *what() const noexcept override { return m_what.c_str(); }

private:
    QNetworkReply::NetworkError m_code;
    QString m_detail;
    std::string m_what;
};

// An answer or stored value that could not be decoded as the expected JSON.
class DecodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True for the failure of a cancelled request; callers drop such errors silently.
bool isCancellation(const std::exception_ptr &error);
