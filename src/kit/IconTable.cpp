#include "IconTable.h"

const QHash<QString, char16_t> &IconTable::table()
{
    static const QHash<QString, char16_t> glyphs = {
        { QStringLiteral("arrow.clockwise"), 0xe5d5 }, // refresh
        { QStringLiteral("arrow.down.circle.fill"), 0xf000 }, // download_for_offline
        { QStringLiteral("arrow.down.right.and.arrow.up.left"), 0xf1cf }, // close_fullscreen
        { QStringLiteral("arrow.up.left.and.arrow.down.right"), 0xf1ce }, // open_in_full
        { QStringLiteral("arrow.left"), 0xe5c4 }, // arrow_back
        { QStringLiteral("arrow.right"), 0xe5c8 }, // arrow_forward
        { QStringLiteral("arrow.up.arrow.down"), 0xe8d5 }, // swap_vert
        { QStringLiteral("aspectratio"), 0xe85b }, // aspect_ratio
        { QStringLiteral("backward.end.fill"), 0xe045 }, // skip_previous
        { QStringLiteral("forward.end.fill"), 0xe044 }, // skip_next
        { QStringLiteral("calendar"), 0xe935 }, // calendar_today
        { QStringLiteral("captions.bubble"), 0xe01c }, // closed_caption
        { QStringLiteral("checkmark.circle.fill"), 0xe86c }, // check_circle
        { QStringLiteral("chevron.left"), 0xe5cb }, { QStringLiteral("chevron.right"), 0xe5cc },
        { QStringLiteral("clock"), 0xe192 }, // access_time
        { QStringLiteral("clock.arrow.circlepath"), 0xe889 }, // history
        { QStringLiteral("clock.fill"), 0xe8b5 }, // schedule
        { QStringLiteral("doc.on.doc"), 0xe14d }, // content_copy
        { QStringLiteral("envelope.fill"), 0xe0be }, // email
        { QStringLiteral("exclamationmark.triangle"), 0xe002 }, // warning
        { QStringLiteral("exclamationmark.triangle.fill"), 0xe002 },
        { QStringLiteral("film"), 0xe02c }, // movie
        { QStringLiteral("film.fill"), 0xe02c }, { QStringLiteral("film.stack"), 0xe04a }, // video_library
        { QStringLiteral("gearshape.fill"), 0xe8b8 }, // settings
        { QStringLiteral("globe"), 0xe894 }, // language
        { QStringLiteral("gobackward.10"), 0xe059 }, // replay_10
        { QStringLiteral("goforward.10"), 0xe056 }, // forward_10
        { QStringLiteral("heart"), 0xe87e }, // favorite_border
        { QStringLiteral("heart.fill"), 0xe87d }, // favorite
        { QStringLiteral("info.circle.fill"), 0xe88e }, // info
        { QStringLiteral("keyboard"), 0xe312 }, // keyboard
        { QStringLiteral("line.3.horizontal.decrease"), 0xe152 }, // filter_list
        { QStringLiteral("list.bullet"), 0xe896 }, // list
        { QStringLiteral("list.bullet.rectangle.portrait.fill"), 0xe8ef }, // view_list
        { QStringLiteral("magnifyingglass"), 0xe8b6 }, // search
        { QStringLiteral("megaphone.fill"), 0xef49 }, // campaign
        { QStringLiteral("pause.fill"), 0xe034 }, // pause
        { QStringLiteral("person.badge.shield.checkmark"), 0xe8e8 }, // verified_user
        { QStringLiteral("person.crop.circle.fill"), 0xe853 }, // account_circle
        { QStringLiteral("person.wave.2.fill"), 0xe91f }, // record_voice_over
        { QStringLiteral("phone.fill"), 0xe0cd }, // phone
        { QStringLiteral("play.circle.fill"), 0xe1c4 }, // play_circle
        { QStringLiteral("play.fill"), 0xe037 }, // play_arrow
        { QStringLiteral("play.rectangle.on.rectangle.fill"), 0xe064 }, // subscriptions
        { QStringLiteral("play.tv.fill"), 0xe639 }, // live_tv
        { QStringLiteral("qrcode"), 0xef6b }, // qr_code
        { QStringLiteral("rectangle.portrait.and.arrow.right"), 0xe9ba }, // logout
        { QStringLiteral("safari"), 0xe87a }, // explore
        { QStringLiteral("sparkle.magnifyingglass"), 0xf02f }, // manage_search
        { QStringLiteral("square.grid.2x2.fill"), 0xe5c3 }, // apps
        { QStringLiteral("square.on.square"), 0xe3e0 }, // filter_none
        { QStringLiteral("star.fill"), 0xe838 }, // star
        { QStringLiteral("sun.max.fill"), 0xe430 }, // wb_sunny
        { QStringLiteral("trash.fill"), 0xe872 }, // delete
        { QStringLiteral("tv"), 0xe333 }, // tv
        { QStringLiteral("waveform"), 0xe1b8 }, // graphic_eq
        { QStringLiteral("wifi.slash"), 0xe648 }, // wifi_off
        { QStringLiteral("xmark"), 0xe5cd }, // close
        { QStringLiteral("xmark.circle.fill"), 0xe5c9 }, // cancel
    };
    return glyphs;
}

QString IconTable::glyph(const QString &name)
{
    const auto found = table().constFind(name);
    if (found == table().cend()) {
        if (!name.isEmpty())
            qWarning("Unknown icon name: %s", qPrintable(name));
        return {};
    }
    return QString(QChar(*found));
}

qreal IconTable::scale(const QString &name)
{
    // Glyphs that fill at most about half of their em box.
    static const QHash<QString, qreal> scales = {
        { QStringLiteral("chevron.left"), 1.5 },
        { QStringLiteral("chevron.right"), 1.5 },
        { QStringLiteral("backward.end.fill"), 1.4 },
        { QStringLiteral("forward.end.fill"), 1.4 },
        { QStringLiteral("play.fill"), 1.3 },
        { QStringLiteral("pause.fill"), 1.3 },
        { QStringLiteral("xmark"), 1.25 },
    };
    return scales.value(name, 1.0);
}
