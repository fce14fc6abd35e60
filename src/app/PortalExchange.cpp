#include "AppState.h"

#include "Prefs.h"
#include "model/JsonForms.h"
#include "model/TextBounds.h"
#include "sources/AppError.h"
#include "sources/DeviceIdentity.h"
#include "sources/Http.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString kDevicePath = QStringLiteral("/api/app/device");

// A refused answer: the portal's own message when the body is {"error": {"message": "..."}}.
AppError refusal(const HttpResponse &response)
{
    const QJsonDocument document = QJsonDocument::fromJson(response.body);
    const QJsonValue error = document.object().value(QStringLiteral("error"));
    const QJsonValue message = error.toObject().value(QStringLiteral("message"));
    if (document.isObject() && error.isObject() && message.isString())
        return AppError::server(response.status, TextBounds::cut(message.toString(), TextBounds::kMessage));
    return AppError::http(response.status);
}

QCoro::Task<DeviceResponse> postDevice(Http *http, QString address, QByteArray body)
{
    const HttpResponse response
        = co_await http->postJSON(std::move(address), std::move(body), AppState::kDeviceAnswerCap);
    if (response.status < 200 || response.status > 299)
        throw refusal(response);
    std::optional<DeviceResponse> device = deviceResponseFromPortalJson(response.body);
    if (!device)
        throw DecodingError("the portal's answer is not a device record");
    co_return std::move(*device);
}

} // namespace

DeviceRequest AppState::deviceRequest() const
{
    return { m_prefs->deviceMac(), deviceModelName(), osVersionString(), kAppVersion };
}

QCoro::Task<DeviceResult> AppState::refreshDevice()
{
    const QPointer<AppState> self(this);
    DeviceResult result;
    try {
        const QByteArray body = QJsonDocument(toJson(deviceRequest())).toJson(QJsonDocument::Compact);
        result = co_await postDevice(m_http, m_portalAddress + kDevicePath, body);
    } catch (...) {
        result = std::current_exception();
    }
    if (!self)
        co_return result;
    if (const auto *device = std::get_if<DeviceResponse>(&result))
        acceptDevice(*device);
    else if (m_device)
        setOffline(true);
    co_return result;
}

void AppState::acceptDevice(const DeviceResponse &device)
{
    m_device = device;
    emit deviceChanged();
    m_prefs->saveDeviceCache(device, deviceCacheKey(m_portalAddress));
    setOffline(false);
}

void AppState::setOffline(bool offline)
{
    if (m_offline == offline)
        return;
    m_offline = offline;
    emit offlineChanged();
}
