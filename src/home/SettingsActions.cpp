#include "SettingsScreenModel.h"

#include "DeviceTexts.h"
#include "app/AppState.h"
#include "app/ChoiceDialog.h"
#include "app/ErrorMessages.h"
#include "app/Localization.h"
#include "app/Prefs.h"
#include "app/WebAddress.h"
#include "kit/ImageStore.h"
#include "sources/Catalog.h"
#include "sources/Http.h"

namespace {

// Opens a choice dialog whose option `i` stands for `values[i]`.
template <typename Value>
void openChoice(AppState &app, const QString &titleKey, const QStringList &options,
    const QList<Value> &values, const Value &current, std::function<void(const Value &)> choose)
{
    app.setDialog(std::make_unique<ChoiceDialogModel>(::tr(titleKey), options, int(values.indexOf(current)),
        [values, choose = std::move(choose)](int index) { choose(values.at(index)); }));
}

QString shownPreset(const QString &preset)
{
    constexpr int shown = SettingsScreenModel::kPresetShownLength;
    return preset.size() > shown ? preset.left(shown) + QStringLiteral("…") : preset;
}

} // namespace

QStringList SettingsScreenModel::userAgentPresets()
{
    return { Prefs::kDefaultUserAgent, QStringLiteral("VLC/3.0.20 LibVLC/3.0.20"),
        QStringLiteral("Lavf/58.76.100"),
        QStringLiteral(
            "Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 (KHTML, like Gecko) "
            "Version/17.0 Safari/605.1.15") };
}

void SettingsScreenModel::runTile(const QString &id)
{
    if (const std::optional<SettingId> setting = settingOf(id))
        run(*setting);
}

void SettingsScreenModel::run(SettingId id)
{
    switch (id) {
    case SettingId::device:
        app()->push(Routes::Activation {});
        return;
    case SettingId::refresh:
        refreshPlaylists();
        return;
    case SettingId::playlist:
        app()->push(Routes::PlaylistPicker {});
        return;
    case SettingId::language:
        openLanguageDialog();
        return;
    case SettingId::timeFormat:
        openTimeFormatDialog();
        return;
    case SettingId::pictureMode:
        openPictureModeDialog();
        return;
    case SettingId::userAgent:
        openUserAgentDialog();
        return;
    case SettingId::cache:
        clearCache();
        return;
    case SettingId::version:
        openUpdate(hasUpdate());
        return;
    case SettingId::support:
        if (app()->device() && app()->device()->support)
            mailSupport(app()->device()->support->email.value_or(QString()));
        return;
    case SettingId::keys:
        return;
    }
}

void SettingsScreenModel::openLanguageDialog()
{
    const QPointer<AppState> app = this->app();
    const QStringList options { ::tr(QStringLiteral("system_default")), QStringLiteral("English"),
        QStringLiteral("Français"), QStringLiteral("العربية") };
    const QString stored = app->prefs()->language();
    const QStringList codes { QStringLiteral("system"), QStringLiteral("en"), QStringLiteral("fr"),
        QStringLiteral("ar") };
    openChoice<QString>(*app, QStringLiteral("language"), options, codes,
        codes.contains(stored) ? stored : codes[0], [app, stored](const QString &code) {
            if (app && code != stored)
                app->setLanguage(code);
        });
}

void SettingsScreenModel::openTimeFormatDialog()
{
    const QPointer<Prefs> prefs = app()->prefs();
    const QStringList values { QStringLiteral("system"), QStringLiteral("24"), QStringLiteral("12") };
    const QString stored = prefs->timeFormat();
    openChoice<QString>(*app(), QStringLiteral("time_format"),
        { ::tr(QStringLiteral("time_format_system")), ::tr(QStringLiteral("time_format_24")),
            ::tr(QStringLiteral("time_format_12")) },
        values, values.contains(stored) ? stored : values[0], [prefs](const QString &value) {
            if (prefs)
                prefs->setTimeFormat(value);
        });
}

void SettingsScreenModel::openPictureModeDialog()
{
    const QPointer<Prefs> prefs = app()->prefs();
    const QList<PictureMode> modes { PictureMode::stretch, PictureMode::fit, PictureMode::zoom };
    QStringList options;
    for (const PictureMode mode : modes)
        options.append(pictureModeLabel(mode));
    openChoice<PictureMode>(*app(), QStringLiteral("aspect_ratio"), options, modes, prefs->aspectMode(),
        [prefs](const PictureMode &mode) {
        if (prefs)
            prefs->setAspectMode(mode);
    });
}

void SettingsScreenModel::openUserAgentDialog()
{
    const QPointer<Prefs> prefs = app()->prefs();
    const QStringList presets = userAgentPresets();
    QStringList options;
    for (const QString &preset : presets)
        options.append(shownPreset(preset));
    // A user agent of one's own marks no option.
    openChoice<QString>(*app(), QStringLiteral("user_agent"), options, presets, prefs->userAgent(),
        [prefs](const QString &preset) {
        if (prefs)
            prefs->setUserAgent(preset);
    });
}

QCoro::Task<> SettingsScreenModel::refreshPlaylists()
{
    const QPointer<AppState> app = this->app();
    if (!app)
        co_return;
    // The screen may be gone when the answer comes.
    Http *http = deps().http;
    Catalog *catalog = deps().catalog;
    app->showToast(::tr(QStringLiteral("refreshing")));
    const DeviceResult result = co_await app->refreshDevice();
    if (!app)
        co_return;
    if (const auto *failure = std::get_if<std::exception_ptr>(&result)) {
        app->showToast(userMessage(*failure));
        co_return;
    }
    http->clearCache();
    catalog->reset();
    app->showToast(::tr(QStringLiteral("refreshed")));
    if (std::get<DeviceResponse>(result).playlists.isEmpty())
        app->replace(Routes::Activation {});
}

void SettingsScreenModel::clearCache()
{
    deps().http->clearCache();
    deps().pictures->clear();
    deps().catalog->reset();
    app()->showToast(::tr(QStringLiteral("cache_cleared")));
}

void SettingsScreenModel::openUpdate(bool hasUpdate)
{
    if (hasUpdate) {
        if (const std::optional<QUrl> url = webPageUrl(siteAddressOf(*app(), deps().portalAddress))) {
            deps().openUrl(*url);
            return;
        }
    }
    refreshPlaylists();
}

void SettingsScreenModel::mailSupport(const QString &email)
{
    if (const std::optional<QUrl> url = mailtoUrl(email))
        deps().openUrl(*url);
}
